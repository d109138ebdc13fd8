#include "platform/HotKeyService.h"

HotKeyService::HotKeyService(QObject *parent)
    : QObject(parent)
{
}

HotKeyService::~HotKeyService() = default;
