#include "platform/DeferredWebDataStore.h"

#include "platform/WebEngine.h"
#include "platform/WebEngineLoader.h"
#include "platform/WebStorage.h"

#include <QTimer>

DeferredWebDataStore::DeferredWebDataStore(WebEngineLoader &loader, QObject *parent)
    : WebDataStore(parent)
    , m_loader(loader)
{
}

DeferredWebDataStore::~DeferredWebDataStore() = default;

void DeferredWebDataStore::clearAll()
{
    if (!m_engineStore) {
        WebEngine *engine = m_loader.engine();
        if (!engine) {
            WebStorage::resetAtNextStart();
            QTimer::singleShot(0, this, &WebDataStore::cleared);
            return;
        }
        m_engineStore = engine->createWebDataStore();
        connect(m_engineStore.get(), &WebDataStore::cleared, this, &WebDataStore::cleared);
    }
    m_engineStore->clearAll();
}
