#include "platform/ChromiumLoadError.h"

#include <QTest>

using E = PlatformError;

namespace {

struct Row {
    const char *name;
    int chromiumError;
    int code;
};

const QList<Row> rows{
    {"aborted", -3, E::cancelled},
    {"timed out", -7, E::timedOut},
    {"connection timed out", -118, E::timedOut},
    {"internet disconnected", -106, E::notConnectedToInternet},
    {"connection closed", -100, E::cannotConnectToHost},
    {"connection reset", -101, E::cannotConnectToHost},
    {"connection refused", -102, E::cannotConnectToHost},
    {"connection aborted", -103, E::cannotConnectToHost},
    {"connection failed", -104, E::cannotConnectToHost},
    {"address unreachable", -109, E::cannotConnectToHost},
    {"name not resolved", -105, E::cannotFindHost},
    {"name resolution failed", -137, E::cannotFindHost},
    {"ssl protocol", -107, E::secureConnectionFailed},
    {"ssl version or cipher", -113, E::secureConnectionFailed},
    {"ssl client auth signature", -141, E::secureConnectionFailed},
    {"tls downgrade", -180, E::secureConnectionFailed},
    {"first certificate error", -200, E::serverCertificateUntrusted},
    {"certificate authority invalid", -202, E::serverCertificateUntrusted},
    {"last certificate error", -299, E::serverCertificateUntrusted},
    // Neighbours of the ranges above keep the engine's code.
    {"address invalid is no TLS fault", -108, -108},
    {"proxy failure", -130, -130},
    {"after the certificate range", -300, -300},
    {"empty response", -324, -324},
    {"unknown url scheme", -302, -302},
    {"generic failure", -2, -2},
};

} // namespace

class TestChromiumLoadError : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void translatesEngineCodes_data()
    {
        QTest::addColumn<qsizetype>("row");
        for (qsizetype i = 0; i < rows.size(); ++i)
            QTest::newRow(rows.at(i).name) << i;
    }

    void translatesEngineCodes()
    {
        QFETCH(qsizetype, row);
        const PlatformError error =
            ChromiumLoadError::toPlatformError(rows.at(row).chromiumError, u"net::SOMETHING"_qs);
        QCOMPARE(error.domain, E::Domain::urlLoading);
        QCOMPARE(error.code, rows.at(row).code);
        // The engine's words travel as they are; the classifier decides what the user reads.
        QCOMPARE(error.description, u"net::SOMETHING"_qs);
    }
};

QTEST_GUILESS_MAIN(TestChromiumLoadError)
#include "tst_chromiumloaderror.moc"
