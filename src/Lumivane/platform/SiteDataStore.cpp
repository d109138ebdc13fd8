#include "platform/SiteDataStore.h"

SiteDataStore::SiteDataStore(QObject *parent)
    : QObject(parent)
{
}

SiteDataStore::~SiteDataStore() = default;
