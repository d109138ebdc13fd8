#pragma once

#include "platform/SiteDataStore.h"
#include "platform/WebDataStore.h"
#include "platform/WebPage.h"

#include <QtPlugin>

#include <memory>

// The embedded web engine, a module loaded on first use (WebEngineLoader): starting
// Chromium costs every launch time and memory, and most launches never open a page.
// Everything it makes lives on the GUI thread and shares the one persistent profile.
class WebEngine
{
public:
    virtual ~WebEngine() = default;

    virtual std::unique_ptr<WebPage> createPage() = 0;
    // The profile's cookies and site data, following the engine from now on: make it before
    // the first page loads, or it misses the cookies that page changes.
    virtual std::unique_ptr<SiteDataStore> createSiteDataStore() = 0;
    virtual std::unique_ptr<WebDataStore> createWebDataStore() = 0;
};

#define LumivaneWebEngine_iid "org.lumivane.Lumivane.WebEngine/1"
Q_DECLARE_INTERFACE(WebEngine, LumivaneWebEngine_iid)
