#include "KiteCore/L10n.h"
#include "platform/MpvLoadLog.h"
#include "platform/PlatformError.h"

#include <QTemporaryDir>
#include <QTest>

#include <mpv/client.h>

using Domain = PlatformError::Domain;

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
        L10n::setLanguage(AppLanguage::en);
    }
    void cleanupTestCase() { L10n::setLanguage(AppLanguage::system); }

    void translatesLoadFailure_data()
    {
        QTest::addColumn<int>("mpvError");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QString>("url");
        QTest::addColumn<Domain>("domain");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("describes");

        const int loading = MPV_ERROR_LOADING_FAILED;
        const int format = MPV_ERROR_UNKNOWN_FORMAT;
        const QString remote = QStringLiteral("http://127.0.0.1:9/x.mp4");
        QTest::newRow("refused")
            << loading << QStringList{"ffmpeg: tcp: Connection to tcp://127.0.0.1:9 failed: Connection refused"}
            << remote << Domain::urlLoading << PlatformError::cannotConnectToHost << "connect";
        QTest::newRow("unknown host")
            << loading << QStringList{"ffmpeg: tcp: Failed to resolve hostname a.invalid: Name or service not known"}
            << "http://a.invalid/x.mp4" << Domain::urlLoading << PlatformError::cannotFindHost << "server";
        QTest::newRow("offline")
            << loading << QStringList{"ffmpeg: tcp: Connection to tcp://1.2.3.4:80 failed: Network is unreachable"}
            << "http://1.2.3.4/x.mp4" << Domain::urlLoading << PlatformError::notConnectedToInternet << "offline";
        QTest::newRow("timeout")
            << loading << QStringList{"ffmpeg: tcp: Connection to tcp://10.0.0.1:80 failed: Connection timed out"}
            << remote << Domain::urlLoading << PlatformError::timedOut << "timed out";
        QTest::newRow("tls")
            << loading << QStringList{"ffmpeg: tls: The TLS connection was non-properly terminated."}
            << "https://example.org/x.mp4" << Domain::urlLoading << PlatformError::secureConnectionFailed << "secure";
        QTest::newRow("first cause wins over later noise")
            << loading << QStringList{"ffmpeg: Connection refused", "stream: Failed to open, timed out"}
            << remote << Domain::urlLoading << PlatformError::cannotConnectToHost << "connect";
        QTest::newRow("404 is missing media, not a network fault")
            << loading << QStringList{"ffmpeg: http: HTTP error 404 Not Found"} << remote
            << Domain::media << loading << "no media";
        QTest::newRow("remote without a known cause")
            << loading << QStringList{"stream: Failed to open http://127.0.0.1:9/x.mp4."} << remote
            << Domain::media << loading << "couldn't be opened";
        QTest::newRow("missing local file")
            << loading << QStringList{"file: Cannot open file '/no/such.mp4': No such file or directory"}
            << "file:///no/such/file.mp4" << Domain::media << loading << "doesn't exist";
        QTest::newRow("local file never looks like a network fault")
            << loading << QStringList{"file: Connection refused"} << "file:///no/such/file.mp4"
            << Domain::media << loading << "doesn't exist";
        QTest::newRow("unreadable local file")
            << loading << QStringList{"file: Cannot open file: Permission denied"} << "@full"
            << Domain::media << loading << "permission";
        QTest::newRow("empty local file") << format << QStringList{} << "@empty"
                                          << Domain::media << format << "empty";
        QTest::newRow("not media") << format << QStringList{} << "@full" << Domain::media
                                   << format << "unrecognised";
        QTest::newRow("other mpv failure") << int(MPV_ERROR_AO_INIT_FAILED) << QStringList{}
                                           << "@full" << Domain::other
                                           << int(MPV_ERROR_AO_INIT_FAILED) << "audio";
    }

    void translatesLoadFailure()
    {
        QFETCH(int, mpvError);
        QFETCH(QStringList, warnings);
        QFETCH(QString, url);
        QFETCH(Domain, domain);
        QFETCH(int, code);
        QFETCH(QString, describes);

        const QUrl target = url.startsWith('@')
            ? QUrl::fromLocalFile(m_dir.filePath(url.mid(1) + QStringLiteral(".mp4")))
            : QUrl(url);
        const PlatformError error = PlatformError::fromMpvLoadFailure(mpvError, warnings, target);
        QCOMPARE(error.domain, domain);
        QCOMPARE(error.code, code);
        QVERIFY2(error.description.contains(describes, Qt::CaseInsensitive),
                 qPrintable(error.description));
    }

    void descriptionFollowsLanguage_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zh") << AppLanguage::zh << QStringLiteral("文件不存在。");
        QTest::newRow("en") << AppLanguage::en << QStringLiteral("The file doesn't exist.");
        QTest::newRow("es") << AppLanguage::es << QStringLiteral("El archivo no existe.");
    }

    void descriptionFollowsLanguage()
    {
        QFETCH(AppLanguage, language);
        QFETCH(QString, expected);
        L10n::setLanguage(language);
        const PlatformError error = PlatformError::fromMpvLoadFailure(
            MPV_ERROR_LOADING_FAILED, {}, QUrl::fromLocalFile(m_dir.filePath("gone.mp4")));
        L10n::setLanguage(AppLanguage::en);
        QCOMPARE(error.description, expected);
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
