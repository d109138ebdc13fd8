#include "webengine/QtWebEnginePlugin.h"

#include "webengine/ProfileDataStore.h"
#include "webengine/QtWebDataStore.h"
#include "webengine/QtWebPage.h"
#include "webengine/WebProfile.h"

std::unique_ptr<WebPage> QtWebEnginePlugin::createPage()
{
    return std::make_unique<QtWebPage>();
}

std::unique_ptr<SiteDataStore> QtWebEnginePlugin::createSiteDataStore()
{
    return std::make_unique<ProfileDataStore>(WebProfile::shared());
}

std::unique_ptr<WebDataStore> QtWebEnginePlugin::createWebDataStore()
{
    return std::make_unique<QtWebDataStore>(&WebProfile::shared);
}
