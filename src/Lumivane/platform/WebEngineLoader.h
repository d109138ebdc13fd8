#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class WebEngine;
class WebPage;

// Finds and loads the web engine module the first time something needs it. A missing or
// broken module is not fatal: pages then fail with the reason, everything else works.
class WebEngineLoader final : public QObject
{
    Q_OBJECT

public:
    // The module's file name, looked for in each folder in turn.
    static QString moduleFileName();

    explicit WebEngineLoader(QStringList folders, QObject *parent = nullptr);

    // Loads the module on the first call; null when it cannot be loaded.
    WebEngine *engine();
    bool isLoaded() const;
    // Why the module could not be loaded; empty until a load failed.
    QString problem() const;

    // A page of the engine, or one whose loads all fail with the reason there is none.
    std::unique_ptr<WebPage> createPage();

Q_SIGNALS:
    // The engine has just been loaded; no page of it exists yet.
    void loaded();

private:
    void load();

    QStringList m_folders;
    WebEngine *m_engine = nullptr;
    bool m_tried = false;
    QString m_problem;
};
