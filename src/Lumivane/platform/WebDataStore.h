#pragma once

#include <QObject>

// The web data of the one profile that every page and sign-in window shares: cache, cookies
// and site storage. Cleared from the settings window; pages open at that moment keep
// working after a reload.
class WebDataStore : public QObject
{
    Q_OBJECT

public:
    explicit WebDataStore(QObject *parent = nullptr);
    ~WebDataStore() override;

    // Removes everything; cleared() follows once the engine has taken the request.
    virtual void clearAll() = 0;

Q_SIGNALS:
    void cleared();
};
