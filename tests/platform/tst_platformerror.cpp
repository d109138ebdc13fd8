#include "platform/MpvLoadLog.h"
#include "platform/PlatformError.h"

#include <QTemporaryDir>
#include <QTest>

#include <mpv/client.h>

using Domain = PlatformError::Domain;
using E = PlatformError;

namespace {

struct Row {
    const char *name;
    int mpvError;
    QStringList warnings;
    // "@name" is a file of the test folder.
    QString url;
    Domain domain;
    int code;
};

const int loading = MPV_ERROR_LOADING_FAILED;
const int format = MPV_ERROR_UNKNOWN_FORMAT;
const QString remote = QStringLiteral("http://127.0.0.1:9/x.mp4");

const QList<Row> rows{
    {"refused", loading, {"ffmpeg: tcp: Connection to tcp://127.0.0.1:9 failed: Connection refused"}, remote,
     Domain::urlLoading, E::cannotConnectToHost},
    {"unknown host", loading, {"ffmpeg: tcp: Failed to resolve hostname a.invalid: Name or service not known"},
     "http://a.invalid/x.mp4", Domain::urlLoading, E::cannotFindHost},
    {"offline", loading, {"ffmpeg: tcp: Connection to tcp://1.2.3.4:80 failed: Network is unreachable"},
     "http://1.2.3.4/x.mp4", Domain::urlLoading, E::notConnectedToInternet},
    {"timeout", loading, {"ffmpeg: tcp: Connection to tcp://10.0.0.1:80 failed: Connection timed out"}, remote,
     Domain::urlLoading, E::timedOut},
    {"tls", loading, {"ffmpeg: tls: The TLS connection was non-properly terminated."},
     "https://example.org/x.mp4", Domain::urlLoading, E::secureConnectionFailed},
    {"first cause wins over later noise", loading, {"ffmpeg: Connection refused", "stream: Failed to open, timed out"},
     remote, Domain::urlLoading, E::cannotConnectToHost},
    {"404 is missing media, not a network fault", loading, {"ffmpeg: http: HTTP error 404 Not Found"}, remote,
     Domain::media, E::notOnServer},
    {"remote without a known cause", loading, {"stream: Failed to open http://127.0.0.1:9/x.mp4."}, remote,
     Domain::media, E::openFailed},
    {"missing local file", loading, {"file: Cannot open file '/no/such.mp4': No such file or directory"},
     "file:///no/such/file.mp4", Domain::media, E::fileMissing},
    {"local file never looks like a network fault", loading, {"file: Connection refused"},
     "file:///no/such/file.mp4", Domain::media, E::fileMissing},
    {"unreadable local file", loading, {"file: Cannot open file: Permission denied"}, "@full", Domain::media,
     E::permissionDenied},
    {"empty local file", format, {}, "@empty", Domain::media, E::fileEmpty},
    {"not media", format, {}, "@full", Domain::media, E::unknownFormat},
    {"other mpv failure", MPV_ERROR_AO_INIT_FAILED, {}, "@full", Domain::other, MPV_ERROR_AO_INIT_FAILED},
};

} // namespace

class TestPlatformError : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QFile empty(m_dir.filePath("empty.mp4"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        QFile full(m_dir.filePath("full.mp4"));
        QVERIFY(full.open(QIODevice::WriteOnly));
        QVERIFY(full.write("not really media") > 0);
    }

    void translatesLoadFailure_data()
    {
        QTest::addColumn<qsizetype>("row");
        for (qsizetype i = 0; i < rows.size(); ++i)
            QTest::newRow(rows.at(i).name) << i;
    }

    void translatesLoadFailure()
    {
        QFETCH(qsizetype, row);
        const Row &r = rows.at(row);
        const QUrl target = r.url.startsWith('@')
            ? QUrl::fromLocalFile(m_dir.filePath(r.url.mid(1) + QStringLiteral(".mp4")))
            : QUrl(r.url);
        const PlatformError error = PlatformError::fromMpvLoadFailure(r.mpvError, r.warnings, target);
        QCOMPARE(error.domain, r.domain);
        QCOMPARE(error.code, r.code);
        // mpv's own words, untranslated: the first warning, or its error name.
        const QString words = r.domain == Domain::other ? QString::fromUtf8(mpv_error_string(r.mpvError))
                                                        : r.warnings.value(0);
        QCOMPARE(error.description, words);
    }

    void explainsWithLoadingLinesOnly_data()
    {
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<bool>("kept");
        struct Row {
            const char *prefix;
            bool kept;
        };
        const QList<Row> rows{
            {"cplayer", true},        {"stream", true},        {"ffmpeg", true},
            {"ffmpeg/demuxer", true}, {"libmpv_render", false}, {"vo/gpu", false},
            {"ao/pulse", false},      {"ffmpeg/video", false},
        };
        for (const Row &row : rows)
            QTest::newRow(row.prefix) << QByteArray(row.prefix) << row.kept;
    }

    void explainsWithLoadingLinesOnly()
    {
        QFETCH(QByteArray, prefix);
        QFETCH(bool, kept);
        MpvLoadLog log;
        log.add(prefix, "Suspected software renderer or indirect context.\n");
        log.add("stream", "Failed to open http://127.0.0.1:9/x.mp4.\n");
        const PlatformError error = PlatformError::fromMpvLoadFailure(
            MPV_ERROR_LOADING_FAILED, log.lines(), QUrl("http://127.0.0.1:9/x.mp4"));
        QVERIFY2(error.description.contains(u"renderer") == kept, qPrintable(error.description));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestPlatformError)
#include "tst_platformerror.moc"
