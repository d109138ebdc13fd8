#include "platform/WebDataStore.h"

WebDataStore::WebDataStore(QObject *parent)
    : QObject(parent)
{
}

WebDataStore::~WebDataStore() = default;
