#include "webengine/ChromiumLoadError.h"

#include <QTest>

using E = PlatformError;

class TestChromiumLoadError : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Neighbours of the ranges keep the engine's code; the engine's words travel as they are.
    void translatesEngineCodes()
    {
        const QList<std::pair<int, int>> rows{{-3, E::cancelled}, {-7, E::timedOut}, {-118, E::timedOut},
            {-106, E::notConnectedToInternet}, {-100, E::cannotConnectToHost}, {-101, E::cannotConnectToHost},
            {-102, E::cannotConnectToHost}, {-103, E::cannotConnectToHost}, {-104, E::cannotConnectToHost},
            {-109, E::cannotConnectToHost}, {-105, E::cannotFindHost}, {-137, E::cannotFindHost}, {-107, E::secureConnectionFailed},
            {-113, E::secureConnectionFailed}, {-141, E::secureConnectionFailed}, {-180, E::secureConnectionFailed},
            {-200, E::serverCertificateUntrusted}, {-299, E::serverCertificateUntrusted}, {-108, -108}, {-130, -130}, {-300, -300}, {-2, -2}};
        for (const auto &[engineCode, code] : rows) {
            const PlatformError error = ChromiumLoadError::toPlatformError(engineCode, "net::X");
            QCOMPARE(std::pair(engineCode, error.code), std::pair(engineCode, code));
            QVERIFY(error.domain == E::Domain::urlLoading && error.description == u"net::X");
        }
    }
};

QTEST_GUILESS_MAIN(TestChromiumLoadError)
#include "tst_chromiumloaderror.moc"
