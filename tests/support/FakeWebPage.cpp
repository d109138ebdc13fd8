#include "FakeWebPage.h"

#include <QTimer>

void FakeWebPage::runJavaScript(const QString &script, ScriptCallback callback)
{
    m_scripts.append(script);
    if (!callback)
        return;
    const QVariant result = scriptAnswer ? scriptAnswer(script) : QVariant();
    QTimer::singleShot(0, this, [callback = std::move(callback), result] { callback(result); });
}

void FakeWebPage::takeSnapshot(SnapshotCallback callback)
{
    QTimer::singleShot(0, this, [this, callback = std::move(callback)] { callback(snapshot); });
}
