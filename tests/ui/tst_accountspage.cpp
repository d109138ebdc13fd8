#include "FakeWorkspace.h"
#include "TemporaryHome.h"
#include "accounts/AccountService.h"
#include "platform/SiteDataStore.h"
#include "platform/WebPage.h"
#include "settings/Preferences.h"
#include "ui/AccountsPage.h"

#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTest>

// Cookies the test hands over as the profile's.
class CookieList final : public SiteDataStore
{
public:
    QList<AccountCookie> cookies() const override { return m_cookies; }
    void deleteCookie(const AccountCookie &) override {}
    void removeSiteData(const QStringList &, const QString &) override {}

    QList<AccountCookie> m_cookies;
};

class TestAccountsPage final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The YouTube card offers what its state allows, with the hint for a Google session
    // whose YouTube session is missing; the page reads the cookies again when shown.
    void youTubeCard()
    {
        struct Row {
            QList<AccountCookie> cookies;
            const char *secondary;
            bool hint;
        };
        const AccountCookie google{"SID", ".google.com", "v"};
        const AccountCookie youTube{"SAPISID", ".youtube.com", "v"};
        const QList<Row> rows{
            {{}, "openSite", false},
            {{google}, "openSite", true},
            {{google, youTube}, "signOut", false},
        };
        TemporaryHome home;
        QSettings settings(home.filePath("Lumivane.conf"), QSettings::IniFormat);
        Preferences preferences(settings);
        FakeWorkspace workspace;
        CookieList store;
        AccountService service(store, workspace, [] { return std::unique_ptr<WebPage>(); });
        AccountsPage page(service, preferences);
        for (const Row &row : rows) {
            page.hide();
            store.m_cookies = row.cookies;
            page.show();
            const QWidget *card = page.findChild<QWidget *>("account-youtube");
            QVERIFY(card->findChild<QPushButton *>(row.secondary));
            QCOMPARE(card->findChild<QLabel *>("googleHint") != nullptr, row.hint);
        }
    }
};

QTEST_MAIN(TestAccountsPage)
#include "tst_accountspage.moc"
