#pragma once

#include "platform/WebEngine.h"

#include <QObject>

// The web engine module's entry point: QtWebEngine behind the WebEngine interface. The
// program loads it on first use; its platform classes come from the program itself.
class QtWebEnginePlugin final : public QObject, public WebEngine
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID LumivaneWebEngine_iid)
    Q_INTERFACES(WebEngine)

public:
    std::unique_ptr<WebPage> createPage() override;
    std::unique_ptr<SiteDataStore> createSiteDataStore() override;
    std::unique_ptr<WebDataStore> createWebDataStore() override;
};
