#pragma once

#include <QString>

// The parts of a web session cookie that the account rules read.
struct AccountCookie final
{
    QString name;
    QString domain;
    QString value;
};
