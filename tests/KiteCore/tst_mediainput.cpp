#include "KiteCore/MediaInput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Case = MediaInputError::Case;

namespace {
const QString youTubeThumbnail = QStringLiteral("https://i.ytimg.com/vi/dQw4w9WgXcQ/hqdefault.jpg");
}

class TestMediaInput : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QByteArray m_savedHome;

    QString homePath(const QString &relative) const { return m_home.path() + relative; }

    void createFile(const QString &relative)
    {
        const QString path = homePath(relative);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        m_savedHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(m_home.path()));
        QCOMPARE(QDir::homePath(), m_home.path());
        createFile(QStringLiteral("/Filme/Ünïcödé 片段.mkv"));
        createFile(QStringLiteral("/Filme/a b#c%?.mp4"));
        createFile(QStringLiteral("/Filme/archive.tar.gz"));
        createFile(QStringLiteral("/Filme/.hidden"));
    }

    void cleanupTestCase() { qputenv("HOME", m_savedHome); }

    void normalize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trim") << " \n\thttps://a.com/x \r\n" << "https://a.com/x";
        QTest::newRow("straight double quotes") << "\"https://a.com\"" << "https://a.com";
        QTest::newRow("straight single quotes") << "'/tmp/x y.mp4'" << "/tmp/x y.mp4";
        QTest::newRow("curly double quotes") << "  \u201C https://a.com \u201D  " << "https://a.com";
        QTest::newRow("curly single quotes") << "\u2018a.com\u2019" << "https://a.com";
        QTest::newRow("only one layer") << "\"\"a.com\"\"" << "\"a.com\"";
        QTest::newRow("mismatched curly pair") << "\u201Da.com\u201C" << "\u201Da.com\u201C";
        QTest::newRow("single quote character") << "\"" << "\"";
        QTest::newRow("quote pair only") << "\u201C\u201D" << "";
        QTest::newRow("blank") << " \t\n " << "";
        QTest::newRow("absolute path unchanged") << "/a.com/b" << "/a.com/b";
        QTest::newRow("tilde alone") << "~" << "~";
        QTest::newRow("tilde path") << "~/a.com" << "~/a.com";
        QTest::newRow("tilde user is not a path") << "~bob" << "~bob";
        QTest::newRow("scheme keeps case") << "HTTPS://A.com" << "HTTPS://A.com";
        QTest::newRow("bare host") << "example.com" << "https://example.com";
        QTest::newRow("bare host with path") << "youtube.com/watch?v=x" << "https://youtube.com/watch?v=x";
        QTest::newRow("bare host with port") << "example.com:8080/a" << "https://example.com:8080/a";
        QTest::newRow("localhost") << "localhost" << "https://localhost";
        QTest::newRow("localhost any case") << "LocalHost/x" << "https://LocalHost/x";
        QTest::newRow("localhost with port has scheme") << "localhost:3000" << "localhost:3000";
        QTest::newRow("underscore label") << "my_host.example.org" << "https://my_host.example.org";
        QTest::newRow("unicode labels") << "例子.测试" << "https://例子.测试";
        QTest::newRow("double dot") << "example..com" << "example..com";
        QTest::newRow("leading dot") << ".example.com" << ".example.com";
        QTest::newRow("trailing dot") << "example.com." << "example.com.";
        QTest::newRow("single label") << "intranet" << "intranet";
        QTest::newRow("space inside") << "example.com x" << "example.com x";
        QTest::newRow("symbol in label") << "exa!mple.com" << "exa!mple.com";
        QTest::newRow("media file name") << "clip.mkv" << "clip.mkv";
        QTest::newRow("media file name in capitals") << "clip.MP4" << "clip.MP4";
        QTest::newRow("media extension with path is host") << "cdn.mp4/x" << "https://cdn.mp4/x";
        QTest::newRow("non-media extension is host") << "notes.txt" << "https://notes.txt";
        QTest::newRow("query starts before slash") << "a.com?x=/y" << "https://a.com?x=/y";
        QTest::newRow("empty authority") << "?a.com" << "?a.com";
    }

    void normalize()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(MediaInput::normalize(text), expected);
    }

    void parseWeb_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("url");
        QTest::addColumn<MediaKind>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("subtitle");
        QTest::addColumn<QString>("thumbnail");

        QTest::newRow("watch link in curly quotes")
            << "  \u201Chttps://www.youtube.com/watch?v=dQw4w9WgXcQ&t=5\u201D "
            << "https://www.youtube.com/watch?v=dQw4w9WgXcQ&t=5" << MediaKind::web << "YouTube"
            << "www.youtube.com" << youTubeThumbnail;
        QTest::newRow("shorts as bare host") << "youtube.com/shorts/dQw4w9WgXcQ"
            << "https://youtube.com/shorts/dQw4w9WgXcQ" << MediaKind::web << "YouTube"
            << "youtube.com" << youTubeThumbnail;
        QTest::newRow("short link") << "https://youtu.be/dQw4w9WgXcQ?si=abc"
            << "https://youtu.be/dQw4w9WgXcQ?si=abc" << MediaKind::web << "YouTube" << "youtu.be"
            << youTubeThumbnail;
        QTest::newRow("playlist page falls back to catalogue")
            << "https://www.youtube.com/playlist?list=PL1" << "https://www.youtube.com/playlist?list=PL1"
            << MediaKind::web << "YouTube" << "www.youtube.com" << "";
        QTest::newRow("live subdomain") << "https://live.bilibili.com/123"
            << "https://live.bilibili.com/123" << MediaKind::web << "Bilibili 直播"
            << "live.bilibili.com" << "";
        QTest::newRow("upper-case scheme and host") << "HTTPS://WWW.Bilibili.COM/video/BV1"
            << "https://www.bilibili.com/video/BV1" << MediaKind::web << "Bilibili"
            << "www.bilibili.com" << "";
        QTest::newRow("unknown host is its own title") << "http://example.org/page"
            << "http://example.org/page" << MediaKind::web << "example.org" << "example.org" << "";
        QTest::newRow("capital m3u8") << "https://cdn.example.com/live/index.M3U8"
            << "https://cdn.example.com/live/index.M3U8" << MediaKind::mediaURL
            << "cdn.example.com" << "cdn.example.com" << "";
        QTest::newRow("port query fragment") << "https://media.example.com:8443/v/clip.mp4?token=a%20b#t=10"
            << "https://media.example.com:8443/v/clip.mp4?token=a%20b#t=10" << MediaKind::mediaURL
            << "media.example.com" << "media.example.com" << "";
        QTest::newRow("media word in query only") << "https://example.com/play?file=a.mp4"
            << "https://example.com/play?file=a.mp4" << MediaKind::web << "example.com"
            << "example.com" << "";
        QTest::newRow("escaped space before extension") << "https://example.com/a%20b.mp3"
            << "https://example.com/a%20b.mp3" << MediaKind::mediaURL << "example.com" << "example.com" << "";
        QTest::newRow("localhost") << "localhost" << "https://localhost" << MediaKind::web
            << "localhost" << "localhost" << "";
        QTest::newRow("underscore host") << "my_host.example.org/p" << "https://my_host.example.org/p"
            << MediaKind::web << "my_host.example.org" << "my_host.example.org" << "";
        QTest::newRow("unsupported site still opens") << "https://www.netflix.com/title/1"
            << "https://www.netflix.com/title/1" << MediaKind::web << "www.netflix.com"
            << "www.netflix.com" << "";
        QTest::newRow("look-alike host has no ID") << "https://notyoutube.com/watch?v=dQw4w9WgXcQ"
            << "https://notyoutube.com/watch?v=dQw4w9WgXcQ" << MediaKind::web << "notyoutube.com"
            << "notyoutube.com" << "";
    }

    void parseWeb()
    {
        QFETCH(QString, text);
        QFETCH(QString, url);
        QFETCH(MediaKind, kind);
        QFETCH(QString, title);
        QFETCH(QString, subtitle);
        QFETCH(QString, thumbnail);
        const auto result = MediaInput::parse(text);
        QVERIFY2(result.has_value(), qPrintable(result ? QString() : result.error().errorDescription()));
        QCOMPARE(result->urlString(), url);
        QCOMPARE(result->kind(), kind);
        QCOMPARE(result->title(), title);
        QCOMPARE(result->subtitle(), subtitle);
        const std::optional<QUrl> expectedThumbnail =
            thumbnail.isEmpty() ? std::nullopt : std::optional<QUrl>(QUrl(thumbnail));
        QCOMPARE(result->thumbnailURL(), expectedThumbnail);
    }

    void parseLocal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("subtitle");

        const QString film = homePath(QStringLiteral("/Filme/Ünïcödé 片段.mkv"));
        const QString odd = homePath(QStringLiteral("/Filme/a b#c%?.mp4"));
        const QString encodedOdd =
            QString::fromUtf8(QUrl::toPercentEncoding(odd, "/"));
        QTest::newRow("unicode name") << film << film << "Ünïcödé 片段" << "Filme";
        QTest::newRow("quoted path with spaces") << "'" + odd + "'" << odd << "a b#c%?" << "Filme";
        QTest::newRow("tilde path") << "~/Filme/archive.tar.gz"
            << homePath(QStringLiteral("/Filme/archive.tar.gz")) << "archive.tar" << "Filme";
        QTest::newRow("hidden file keeps its name") << "~/Filme/.hidden"
            << homePath(QStringLiteral("/Filme/.hidden")) << ".hidden" << "Filme";
        QTest::newRow("folder with trailing slash") << "~/Filme/" << homePath(QStringLiteral("/Filme/"))
            << "Filme" << QFileInfo(m_home.path()).fileName();
        QTest::newRow("tilde alone is the home folder") << "~" << m_home.path() + "/"
            << QFileInfo(m_home.path()).fileName()
            << QFileInfo(QFileInfo(m_home.path()).path()).fileName();
        QTest::newRow("folder below root") << "/tmp" << "/tmp/" << "tmp" << "本机文件";
        QTest::newRow("root") << "/" << "/" << "/" << "本机文件";
        QTest::newRow("file URL with escapes") << "file://" + encodedOdd << odd << "a b#c%?" << "Filme";
        QTest::newRow("file URL via localhost") << "FILE://LocalHost" + encodedOdd << odd << "a b#c%?"
            << "Filme";
        QTest::newRow("file URL other authority") << "file://server" + encodedOdd << odd << "a b#c%?"
            << "Filme";
        QTest::newRow("file URL single slash") << "file:" + encodedOdd << odd << "a b#c%?" << "Filme";
        QTest::newRow("file URL localhost alone") << "file://localhost" << "/" << "/" << "本机文件";
        QTest::newRow("file URL with raw unicode") << "file://" + film << film << "Ünïcödé 片段" << "Filme";
        QTest::newRow("file URL bad escape kept literally") << "file:///tmp/%zz" << "/tmp/%zz" << "" << "";
    }

    void parseLocal()
    {
        QFETCH(QString, text);
        QFETCH(QString, path);
        QFETCH(QString, title);
        QFETCH(QString, subtitle);
        const auto result = MediaInput::parse(text);
        if (title.isEmpty()) {
            // Nothing exists there: the undecoded path is what was looked for.
            QVERIFY(!result.has_value());
            QCOMPARE(result.error(), MediaInputError::unreadableFile(path));
            return;
        }
        QVERIFY2(result.has_value(), qPrintable(result ? QString() : result.error().errorDescription()));
        QCOMPARE(result->kind(), MediaKind::localFile);
        QVERIFY(result->url().isLocalFile());
        QCOMPARE(result->url().toLocalFile(), path);
        QCOMPARE(result->title(), title);
        QCOMPARE(result->subtitle(), subtitle);
        QCOMPARE(result->thumbnailURL(), std::nullopt);
        // The identity string must read back to the same file.
        QCOMPARE(QUrl(result->urlString(), QUrl::StrictMode).toLocalFile(), path);
    }

    void fileURLFormsAgree()
    {
        const QString odd = homePath(QStringLiteral("/Filme/a b#c%?.mp4"));
        const QString encoded = QString::fromUtf8(QUrl::toPercentEncoding(odd, "/"));
        const auto plain = MediaInput::parse("file://" + encoded);
        const auto local = MediaInput::parse("file://localhost" + encoded);
        QVERIFY(plain && local);
        QCOMPARE(*plain, *local);
        QCOMPARE(plain->urlString(), QUrl::fromLocalFile(odd).toString(QUrl::FullyEncoded));
    }

    void parseErrors_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Case>("error");
        QTest::addColumn<QString>("payload");

        QTest::newRow("empty") << "" << Case::empty << "";
        QTest::newRow("blank") << " \n\t\r " << Case::empty << "";
        QTest::newRow("straight quotes only") << " \"\" " << Case::empty << "";
        QTest::newRow("curly quotes only") << "\u2018\u2019" << Case::empty << "";
        QTest::newRow("quoted blank") << "' \n '" << Case::empty << "";
        QTest::newRow("relative path") << "movies/clip.mp4" << Case::malformed << "";
        QTest::newRow("bare media file") << "clip.mkv" << Case::malformed << "";
        QTest::newRow("plain word") << "hello" << Case::malformed << "";
        QTest::newRow("double dot host") << "example..com/x" << Case::malformed << "";
        QTest::newRow("file URL relative") << "file:clip.mp4" << Case::malformed << "";
        QTest::newRow("file URL host only") << "file://server" << Case::malformed << "";
        QTest::newRow("http without host") << "https://" << Case::malformed << "";
        QTest::newRow("http empty host") << "https:///path" << Case::malformed << "";
        QTest::newRow("http with space") << "http://exa mple.com" << Case::malformed << "";
        QTest::newRow("http bad escape") << "https://example.com/a%zz" << Case::malformed << "";
        QTest::newRow("http port out of range") << "https://example.com:99999/" << Case::malformed << "";
        QTest::newRow("control character inside") << "https://example.com/\x7f" << Case::malformed << "";
        QTest::newRow("control character in front") << "\x01https://example.com" << Case::malformed << "";
        QTest::newRow("scheme starting with digit") << "9p://host/x" << Case::malformed << "";
        QTest::newRow("scheme starting with plus") << "+x:y" << Case::malformed << "";
        QTest::newRow("scheme with dot is a host and port") << "a.b:80x" << Case::malformed << "";
        QTest::newRow("scheme with digits and signs") << "svn+ssh-2://h" << Case::unsupportedScheme
            << "svn+ssh-2";
        QTest::newRow("ftp") << "ftp://example.com/a.mp4" << Case::unsupportedScheme << "ftp";
        QTest::newRow("rtsp in capitals") << "RTSP://cam/stream" << Case::unsupportedScheme << "rtsp";
        QTest::newRow("localhost with port") << "localhost:8080" << Case::unsupportedScheme << "localhost";
        QTest::newRow("javascript") << "javascript:alert(1)" << Case::unsupportedScheme << "javascript";
        QTest::newRow("data") << "data:text/html,hi" << Case::unsupportedScheme << "data";
        QTest::newRow("missing absolute path") << "/no/such/dir/clip.mp4" << Case::unreadableFile
            << "/no/such/dir/clip.mp4";
        QTest::newRow("missing file URL is decoded") << "file:///no/such%20dir/a.mp4"
            << Case::unreadableFile << "/no/such dir/a.mp4";
        QTest::newRow("file URL with NUL") << "file:///tmp%00/x" << Case::unreadableFile
            << QStringLiteral("/tmp") + QChar(0) + QStringLiteral("/x");
    }

    void parseErrors()
    {
        QFETCH(QString, text);
        QFETCH(Case, error);
        QFETCH(QString, payload);
        if (payload.contains(QChar(0)))
            QTest::ignoreMessage(QtWarningMsg, "Broken filename passed to function");
        const auto result = MediaInput::parse(text);
        QVERIFY2(!result.has_value(), qPrintable(result ? result->urlString() : QString()));
        QCOMPARE(result.error().kind(), error);
        QCOMPARE(result.error().payload(), payload);
    }

    void missingHomeFileCarriesExpandedPath()
    {
        const auto result = MediaInput::parse(QStringLiteral("~/missing.mp4"));
        QVERIFY(!result.has_value());
        QCOMPARE(result.error(), MediaInputError::unreadableFile(homePath(QStringLiteral("/missing.mp4"))));
    }

    void hostileInput_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<Case>("error");

        QTest::newRow("1 MB word") << QString(1 << 20, QLatin1Char('a')) << false << Case::malformed;
        QTest::newRow("1 MB of quotes") << QString(1 << 20, QLatin1Char('"')) << false << Case::malformed;
        QTest::newRow("1 MB of blanks") << QString(1 << 20, QLatin1Char(' ')) << false << Case::empty;
        QTest::newRow("1 MB path") << "https://example.com/" + QString(1 << 20, QLatin1Char('b'))
            << true << Case::malformed;
        QTest::newRow("1 MB host labels") << QString(1 << 19, QLatin1Char('a')).replace(
            QLatin1String("aa"), QLatin1String("a.")) + "a" << true << Case::malformed;
        QTest::newRow("invalid UTF-8") << QString::fromUtf8("\xff\xfe\xc3(") << false << Case::malformed;
        QTest::newRow("invalid UTF-8 in URL") << QString::fromUtf8("https://example.com/\xff\xc0")
            << true << Case::malformed;
        QTest::newRow("invalid UTF-8 in path") << QString::fromUtf8("/tmp/\xff\xfe.mp4") << false
            << Case::unreadableFile;
        QTest::newRow("lone surrogate host") << QString(QChar(0xD800)) + ".com" << false << Case::malformed;
        QTest::newRow("control characters") << QStringLiteral("\x01\x02\x1b[0m") << false << Case::malformed;
        QTest::newRow("NUL inside") << QStringLiteral("https://exa") + QChar(0) + "mple.com" << false
            << Case::malformed;
        QTest::newRow("colon only") << ":" << false << Case::malformed;
        QTest::newRow("percent only file URL") << "file:%" << false << Case::malformed;
    }

    void hostileInput()
    {
        QFETCH(QString, text);
        QFETCH(bool, succeeds);
        QFETCH(Case, error);
        const auto result = MediaInput::parse(text);
        QCOMPARE(result.has_value(), succeeds);
        if (!succeeds)
            QCOMPARE(result.error().kind(), error);
    }

    void youTubeID_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("expected");

        QTest::newRow("short link") << "https://youtu.be/dQw4w9WgXcQ" << "dQw4w9WgXcQ";
        QTest::newRow("short link subdomain") << "https://www.youtu.be/dQw4w9WgXcQ/x" << "dQw4w9WgXcQ";
        QTest::newRow("short link 10 chars") << "https://youtu.be/dQw4w9WgXc" << "";
        QTest::newRow("short link 12 chars") << "https://youtu.be/dQw4w9WgXcQQ" << "";
        QTest::newRow("short link bad char") << "https://youtu.be/dQw4w9WgX.Q" << "";
        QTest::newRow("short link no path") << "https://youtu.be/" << "";
        QTest::newRow("short link dashes") << "https://youtu.be/-_-_-_-_-_-" << "-_-_-_-_-_-";
        QTest::newRow("watch") << "https://www.youtube.com/watch?v=dQw4w9WgXcQ" << "dQw4w9WgXcQ";
        QTest::newRow("watch v later") << "https://m.youtube.com/watch?feature=x&v=dQw4w9WgXcQ" << "dQw4w9WgXcQ";
        QTest::newRow("watch first v wins") << "https://youtube.com/watch?v=bad&v=dQw4w9WgXcQ" << "";
        QTest::newRow("watch v without value") << "https://youtube.com/watch?v&v=dQw4w9WgXcQ" << "";
        QTest::newRow("watch escaped v") << "https://youtube.com/watch?%76=dQw4w9WgXc%51" << "dQw4w9WgXcQ";
        QTest::newRow("watch no query") << "https://youtube.com/watch" << "";
        QTest::newRow("watch subpath") << "https://youtube.com/watch/x?v=dQw4w9WgXcQ" << "dQw4w9WgXcQ";
        QTest::newRow("watchlater is not watch") << "https://youtube.com/watchlater?v=dQw4w9WgXcQ" << "";
        QTest::newRow("shorts") << "https://www.youtube.com/shorts/dQw4w9WgXcQ" << "dQw4w9WgXcQ";
        QTest::newRow("embed") << "https://www.youtube.com/embed/dQw4w9WgXcQ?autoplay=1" << "dQw4w9WgXcQ";
        QTest::newRow("live") << "https://youtube.com/live/dQw4w9WgXcQ" << "dQw4w9WgXcQ";
        QTest::newRow("v") << "https://youtube.com/v/dQw4w9WgXcQ" << "dQw4w9WgXcQ";
        QTest::newRow("prefix is case-sensitive") << "https://youtube.com/Shorts/dQw4w9WgXcQ" << "";
        QTest::newRow("single segment") << "https://youtube.com/dQw4w9WgXcQ" << "";
        QTest::newRow("upper-case host") << "https://WWW.YOUTUBE.COM/shorts/dQw4w9WgXcQ" << "dQw4w9WgXcQ";
        QTest::newRow("privacy embed") << "https://www.youtube-nocookie.com/embed/dQw4w9WgXcQ" << "dQw4w9WgXcQ";
        QTest::newRow("privacy domain plain suffix") << "https://xyoutube-nocookie.com/embed/dQw4w9WgXcQ"
            << "dQw4w9WgXcQ";
        QTest::newRow("look-alike main host") << "https://fakeyoutube.com/watch?v=dQw4w9WgXcQ" << "";
        QTest::newRow("other site") << "https://vimeo.com/v/dQw4w9WgXcQ" << "";
        QTest::newRow("no host") << "file:///watch?v=dQw4w9WgXcQ" << "";
    }

    void youTubeID()
    {
        QFETCH(QString, url);
        QFETCH(QString, expected);
        const std::optional<QString> id = MediaInput::youTubeID(QUrl(url, QUrl::StrictMode));
        QCOMPARE(id.value_or(QString()), expected);
        QCOMPARE(id.has_value(), !expected.isEmpty());
    }

    void isMediaFileExtension_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("expected");
        QTest::newRow("mp4") << "mp4" << true;
        QTest::newRow("dot mp4") << ".mp4" << true;
        QTest::newRow("capitals") << "MP4" << true;
        QTest::newRow("dot capitals") << ".M3u8" << true;
        QTest::newRow("aiff") << "aiff" << true;
        QTest::newRow("two dots") << "..mp4" << false;
        QTest::newRow("txt") << "txt" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot only") << "." << false;
        QTest::newRow("trailing space") << "mp4 " << false;
    }

    void isMediaFileExtension()
    {
        QFETCH(QString, extension);
        QFETCH(bool, expected);
        QCOMPARE(MediaInput::isMediaFileExtension(extension), expected);
    }

    void mediaExtensionsAreTheFourteen()
    {
        const QSet<QString> expected{"mp4", "m4v", "mov", "webm", "mkv", "avi", "mp3",
                                     "m4a", "wav", "flac", "ogg", "aac", "aiff", "m3u8"};
        QCOMPARE(MediaInput::mediaExtensions(), expected);
    }
};

QTEST_GUILESS_MAIN(TestMediaInput)
#include "tst_mediainput.moc"
