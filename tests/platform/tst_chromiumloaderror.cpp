#include "KiteCore/L10n.h"
#include "platform/ChromiumLoadError.h"

#include <QTest>

using Domain = PlatformError::Domain;

class TestChromiumLoadError : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { L10n::setLanguage(AppLanguage::en); }
    void cleanupTestCase() { L10n::setLanguage(AppLanguage::system); }

    void translatesEngineCodes_data()
    {
        QTest::addColumn<int>("chromiumError");
        QTest::addColumn<int>("code");

        QTest::newRow("aborted") << -3 << PlatformError::cancelled;
        QTest::newRow("timed out") << -7 << PlatformError::timedOut;
        QTest::newRow("connection timed out") << -118 << PlatformError::timedOut;
        QTest::newRow("internet disconnected") << -106 << PlatformError::notConnectedToInternet;
        QTest::newRow("connection closed") << -100 << PlatformError::cannotConnectToHost;
        QTest::newRow("connection reset") << -101 << PlatformError::cannotConnectToHost;
        QTest::newRow("connection refused") << -102 << PlatformError::cannotConnectToHost;
        QTest::newRow("connection aborted") << -103 << PlatformError::cannotConnectToHost;
        QTest::newRow("connection failed") << -104 << PlatformError::cannotConnectToHost;
        QTest::newRow("address unreachable") << -109 << PlatformError::cannotConnectToHost;
        QTest::newRow("name not resolved") << -105 << PlatformError::cannotFindHost;
        QTest::newRow("name resolution failed") << -137 << PlatformError::cannotFindHost;
        QTest::newRow("ssl protocol") << -107 << PlatformError::secureConnectionFailed;
        QTest::newRow("ssl version or cipher") << -113 << PlatformError::secureConnectionFailed;
        QTest::newRow("ssl client auth signature") << -141 << PlatformError::secureConnectionFailed;
        QTest::newRow("tls downgrade") << -180 << PlatformError::secureConnectionFailed;
        QTest::newRow("first certificate error") << -200 << PlatformError::serverCertificateUntrusted;
        QTest::newRow("certificate authority invalid") << -202 << PlatformError::serverCertificateUntrusted;
        QTest::newRow("last certificate error") << -299 << PlatformError::serverCertificateUntrusted;
        // Neighbours of the ranges above keep the engine's code.
        QTest::newRow("address invalid is no TLS fault") << -108 << -108;
        QTest::newRow("proxy failure") << -130 << -130;
        QTest::newRow("after the certificate range") << -300 << -300;
        QTest::newRow("empty response") << -324 << -324;
        QTest::newRow("unknown url scheme") << -302 << -302;
        QTest::newRow("generic failure") << -2 << -2;
    }

    void translatesEngineCodes()
    {
        QFETCH(int, chromiumError);
        QFETCH(int, code);
        const PlatformError error = ChromiumLoadError::toPlatformError(chromiumError, "net::SOMETHING");
        QCOMPARE(error.domain, Domain::urlLoading);
        QCOMPARE(error.code, code);
        QVERIFY(!error.description.isEmpty());
    }

    void unmappedCodesKeepTheEngineText_data()
    {
        QTest::addColumn<QString>("engineText");
        QTest::addColumn<QString>("expected");
        QTest::newRow("with text") << "net::ERR_EMPTY_RESPONSE"
                                   << "The page couldn't be opened. (net::ERR_EMPTY_RESPONSE)";
        QTest::newRow("blank text") << "  " << "The page couldn't be opened.";
    }

    void unmappedCodesKeepTheEngineText()
    {
        QFETCH(QString, engineText);
        QFETCH(QString, expected);
        QCOMPARE(ChromiumLoadError::toPlatformError(-324, engineText).description, expected);
    }

    void mappedCodesUseOwnWords()
    {
        // The engine's internal names never reach the user for a known cause.
        const PlatformError refused = ChromiumLoadError::toPlatformError(-102, "net::ERR_CONNECTION_REFUSED");
        QVERIFY(!refused.description.contains("net::"));
        QCOMPARE(refused.description, QStringLiteral("Couldn't connect to this site."));
    }
};

QTEST_GUILESS_MAIN(TestChromiumLoadError)
#include "tst_chromiumloaderror.moc"
