#include "KiteCore/MediaInput.h"
#include "TemporaryHome.h"
#include "TestFiles.h"

#include <QTest>

using Case = MediaInputError::Case;

class TestMediaInput : public QObject
{
    Q_OBJECT

    TemporaryHome m_home;

    QString home(const char *relative) const { return m_home.filePath(QString::fromUtf8(relative)); }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *name : {"Filme/Ünïcödé 片段.mkv", "Filme/a b#c%?.mp4", "Filme/archive.tar.gz", "Filme/.hidden"})
            TestFiles::writeContent(home(name), {});
    }

    void normalize()
    {
        struct Row { QString text, expected; };
        const Row rows[] = {
            {" \n\thttps://a.com/x \r\n", "https://a.com/x"}, {"\"https://a.com\"", "https://a.com"}, {"'/tmp/x y'", "/tmp/x y"},
            {"  \u201C https://a.com \u201D ", "https://a.com"}, {"\u2018a.com\u2019", "https://a.com"}, {"\"\"a.com\"\"", "\"a.com\""},
            {"\u201Da.com\u201C", "\u201Da.com\u201C"}, {"\"", "\""}, {"~bob", "~bob"}, {"example.com", "https://example.com"},
            {"intranet", "intranet"}, {"a.com:8080/a", "https://a.com:8080/a"}, {"LocalHost/x", "https://LocalHost/x"},
            {"localhost:3000", "localhost:3000"}, {"例子.测试", "https://例子.测试"}, {"my_host.a.org", "https://my_host.a.org"},
            {"example..com", "example..com"}, {"exa!mple.com", "exa!mple.com"}, {"clip.mkv", "clip.mkv"}, {"cdn.mp4/x", "https://cdn.mp4/x"},
            {"notes.txt", "https://notes.txt"}, {"a.com?x=/y", "https://a.com?x=/y"}, {"?a.com", "?a.com"}};
        for (const Row &row : rows)
            QCOMPARE(MediaInput::normalize(row.text), row.expected);
    }

    // Web pages and media links: the subtitle is the host, a known site names the title, a
    // video link gets its thumbnail.
    void parseWeb()
    {
        struct Row { QString text, url; MediaKind kind; QString title; bool thumbnail = false; };
        const Row rows[] = {
            {" \u201Cyoutube.com/watch?v=dQw4w9WgXcQ\u201D", "https://youtube.com/watch?v=dQw4w9WgXcQ", MediaKind::web, "YouTube", true},
            {"HTTPS://Live.Bilibili.COM/1", "https://live.bilibili.com/1", MediaKind::web, "Bilibili 直播"},
            {"https://a.com/live/index.M3U8", "https://a.com/live/index.M3U8", MediaKind::mediaURL, "a.com"},
            {"http://a.com/a%20b.mp3?t=1#x", "http://a.com/a%20b.mp3?t=1#x", MediaKind::mediaURL, "a.com"},
            {"https://a.com/play?file=a.mp4", "https://a.com/play?file=a.mp4", MediaKind::web, "a.com"}};
        const QUrl thumbnail("https://i.ytimg.com/vi/dQw4w9WgXcQ/hqdefault.jpg");
        for (const Row &row : rows) {
            const auto result = MediaInput::parse(row.text);
            QVERIFY2(result && result->urlString() == row.url && result->kind() == row.kind && result->title() == row.title, qPrintable(row.text));
            QVERIFY2(result->subtitle() == result->url().host() && result->thumbnailURL() == (row.thumbnail ? std::optional(thumbnail) : std::nullopt),
                     qPrintable(row.text));
        }
    }

    // Paths and file URLs; the identity string reads back to the same file.
    void parseLocal()
    {
        struct Row { QString text, path, title, subtitle; };
        const QString odd = home("Filme/a b#c%?.mp4");
        const QString encoded = QString::fromUtf8(QUrl::toPercentEncoding(odd, "/"));
        const Row rows[] = {
            {home("Filme/Ünïcödé 片段.mkv"), home("Filme/Ünïcödé 片段.mkv"), "Ünïcödé 片段", "Filme"},
            {"'" + odd + "'", odd, "a b#c%?", "Filme"},
            {"~/Filme/archive.tar.gz", home("Filme/archive.tar.gz"), "archive.tar", "Filme"}, {"/", "/", "/", "本机文件"},
            {"~/Filme/.hidden", home("Filme/.hidden"), ".hidden", "Filme"}, {"file://localhost", "/", "/", "本机文件"},
            {"~/Filme/", home("Filme/"), "Filme", QFileInfo(m_home.path()).fileName()}, {"file://" + encoded, odd, "a b#c%?", "Filme"},
            {"FILE://LocalHost" + encoded, odd, "a b#c%?", "Filme"}, {"file://server" + encoded, odd, "a b#c%?", "Filme"},
            {"file:" + encoded, odd, "a b#c%?", "Filme"}};
        for (const Row &row : rows) {
            const auto result = MediaInput::parse(row.text);
            QVERIFY2(result && result->kind() == MediaKind::localFile && result->url().toLocalFile() == row.path, qPrintable(row.text));
            QVERIFY2(QUrl(result->urlString(), QUrl::StrictMode).toLocalFile() == row.path && result->title() == row.title
                         && result->subtitle() == row.subtitle, qPrintable(row.text));
        }
    }

    void parseErrors()
    {
        struct Row { QString text; Case error; QString payload = {}; };
        const Row rows[] = {
            {"", Case::empty}, {"\u2018 \n \u2019", Case::empty}, {"movies/clip.mp4", Case::malformed}, {"file:clip.mp4", Case::malformed},
            {"file://server", Case::malformed}, {"https:///path", Case::malformed}, {"http://exa mple.com", Case::malformed},
            {"9p://host/x", Case::malformed}, {"a.b:80x", Case::malformed}, {QString(1 << 20, u'a'), Case::malformed},
            {"https://example.com/" + QString(8173, u'a'), Case::malformed},
            {QString::fromUtf8("\xff\xfe\xc3("), Case::malformed}, {"svn+ssh-2://h", Case::unsupportedScheme, "svn+ssh-2"},
            {"RTSP://cam/s", Case::unsupportedScheme, "rtsp"}, {"localhost:8080", Case::unsupportedScheme, "localhost"},
            {"/no/such/clip.mp4", Case::unreadableFile, "/no/such/clip.mp4"}, {"file:///no/such%20dir/a.mp4", Case::unreadableFile, "/no/such dir/a.mp4"},
            {"file:///tmp/%zz", Case::unreadableFile, "/tmp/%zz"}, {"~/missing.mp4", Case::unreadableFile, home("missing.mp4")}};
        for (const Row &row : rows) {
            const auto result = MediaInput::parse(row.text);
            QVERIFY2(!result && result.error().kind() == row.error && result.error().payload() == row.payload, qPrintable(row.text.left(40)));
        }
    }

    // The 11-character ID of a video link on the site's hosts, or nothing.
    void youTubeID()
    {
        struct Row { const char *url, *id; };
        const Row rows[] = {
            {"https://youtu.be/dQw4w9WgXcQ", "dQw4w9WgXcQ"}, {"https://www.youtu.be/-_-_-_-_-_-/x", "-_-_-_-_-_-"}, {"https://youtu.be/dQw4w9WgXc", ""},
            {"https://youtu.be/dQw4w9WgX.Q", ""}, {"https://m.youtube.com/watch?x=1&v=dQw4w9WgXcQ", "dQw4w9WgXcQ"},
            {"https://youtube.com/watch?v=bad&v=dQw4w9WgXcQ", ""}, {"https://youtube.com/watch?%76=dQw4w9WgXc%51", "dQw4w9WgXcQ"},
            {"https://youtube.com/watchlater?v=dQw4w9WgXcQ", ""}, {"https://WWW.YOUTUBE.COM/shorts/dQw4w9WgXcQ", "dQw4w9WgXcQ"},
            {"https://youtube.com/live/dQw4w9WgXcQ", "dQw4w9WgXcQ"}, {"https://www.youtube-nocookie.com/embed/dQw4w9WgXcQ", "dQw4w9WgXcQ"},
            {"https://youtube.com/v/dQw4w9WgXcQ", "dQw4w9WgXcQ"}, {"https://youtube.com/Shorts/dQw4w9WgXcQ", ""},
            {"https://fakeyoutube.com/watch?v=dQw4w9WgXcQ", ""}};
        for (const Row &row : rows)
            QVERIFY2(MediaInput::youTubeID(QUrl(row.url, QUrl::StrictMode)) == (*row.id ? std::optional<QString>(row.id) : std::nullopt), row.url);
    }

    void mediaExtensions()
    {
        for (const char *extension : {"mp4", ".M3u8", "aiff"})
            QVERIFY2(MediaInput::isMediaFileExtension(extension), extension);
        for (const char *extension : {"..mp4", "txt", "", ".", "mp4 "})
            QVERIFY2(!MediaInput::isMediaFileExtension(extension), extension);
        // A stream playlist lying in a folder is not a track of its own.
        QCOMPARE(MediaInput::mediaExtensions() - MediaInput::localMediaExtensions(), QSet<QString>{"m3u8"});
    }
};

QTEST_GUILESS_MAIN(TestMediaInput)
#include "tst_mediainput.moc"
