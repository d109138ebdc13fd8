#include "platform/WebPage.h"

WebPage::WebPage(QObject *parent)
    : QObject(parent)
{
}

WebPage::~WebPage() = default;
