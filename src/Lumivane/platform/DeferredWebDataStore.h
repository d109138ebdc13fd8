#pragma once

#include "platform/WebDataStore.h"

#include <memory>

class WebEngineLoader;

// Clearing the profile's web data, which loads the engine: its cookies and cache can only
// be cleared through it. Without an engine only the stored site data can still go, at the
// next start of one.
class DeferredWebDataStore final : public WebDataStore
{
    Q_OBJECT

public:
    explicit DeferredWebDataStore(WebEngineLoader &loader, QObject *parent = nullptr);
    ~DeferredWebDataStore() override;

    void clearAll() override;

private:
    WebEngineLoader &m_loader;
    std::unique_ptr<WebDataStore> m_engineStore;
};
