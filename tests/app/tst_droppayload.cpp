#include "app/DropPayload.h"

#include "KiteCore/MediaInput.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using Action = DropPayload::Action;

namespace QTest {
template<>
char *toString(const DropPayload &payload)
{
    static const char *const names[] = {"refused", "addFolder", "open"};
    return qstrdup(qPrintable(u"%1 folder=%2 input=%3 open=%4"_qs.arg(QLatin1StringView(names[int(payload.action)]),
                                                                       payload.folder.toString(), payload.input,
                                                                       payload.openText)));
}
} // namespace QTest

namespace {

// "{root}" in test data stands for the temporary folder's file URL or path.
QString expand(QString text, const QString &replacement)
{
    return text.replace(u"{root}"_qs, replacement);
}

} // namespace

class TestDropPayload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QVERIFY(QDir(m_root.path()).mkpath(u"Season 1"_qs));
        for (const QString &name : {u"clip.mp4"_qs, u"notes.txt"_qs}) {
            QFile file(m_root.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    void decide_data()
    {
        QTest::addColumn<QStringList>("urls");
        QTest::addColumn<QString>("text"); // a null string: no text in the drag
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("openText");

        const QString none;
        QTest::newRow("folder fills the playlist")
            << QStringList{u"file://{root}/Season%201"_qs} << none << int(Action::addFolder)
            << u"file://{root}/Season%201"_qs << none << none;
        QTest::newRow("file opens, path in the field")
            << QStringList{u"file://{root}/clip.mp4"_qs} << none << int(Action::open) << none
            << u"{root}/clip.mp4"_qs << u"file://{root}/clip.mp4"_qs;
        QTest::newRow("any file opens, the open flow judges it")
            << QStringList{u"file://{root}/notes.txt"_qs} << none << int(Action::open) << none
            << u"{root}/notes.txt"_qs << u"file://{root}/notes.txt"_qs;
        QTest::newRow("missing file still handed to the open flow")
            << QStringList{u"file://{root}/gone.mkv"_qs} << none << int(Action::open) << none
            << u"{root}/gone.mkv"_qs << u"file://{root}/gone.mkv"_qs;
        QTest::newRow("file URL wins over an earlier web link")
            << QStringList{u"https://example.com/v.mp4"_qs, u"file://{root}/clip.mp4"_qs} << u"text"_qs
            << int(Action::open) << none << u"{root}/clip.mp4"_qs << u"file://{root}/clip.mp4"_qs;
        QTest::newRow("only the first file counts")
            << QStringList{u"file://{root}/clip.mp4"_qs, u"file://{root}/Season%201"_qs} << none
            << int(Action::open) << none << u"{root}/clip.mp4"_qs << u"file://{root}/clip.mp4"_qs;
        QTest::newRow("web link shown and opened as its absolute string")
            << QStringList{u"https://www.youtube.com/watch?v=dQw4w9WgXcQ"_qs} << u"ignored"_qs << int(Action::open)
            << none << u"https://www.youtube.com/watch?v=dQw4w9WgXcQ"_qs
            << u"https://www.youtube.com/watch?v=dQw4w9WgXcQ"_qs;
        QTest::newRow("link with spaces encoded")
            << QStringList{u"https://example.com/a b.mp4"_qs} << none << int(Action::open) << none
            << u"https://example.com/a%20b.mp4"_qs << u"https://example.com/a%20b.mp4"_qs;
        QTest::newRow("text is opened as it is")
            << QStringList{} << u"  bilibili.com/video/BV1xx "_qs << int(Action::open) << none
            << u"  bilibili.com/video/BV1xx "_qs << u"  bilibili.com/video/BV1xx "_qs;
        QTest::newRow("blank text refused") << QStringList{} << u" \n\t"_qs << int(Action::refused) << none
                                            << none << none;
        QTest::newRow("nothing refused") << QStringList{} << none << int(Action::refused) << none << none << none;
    }

    void decide()
    {
        QFETCH(QStringList, urls);
        QFETCH(QString, text);
        QFETCH(int, action);
        QFETCH(QString, folder);
        QFETCH(QString, input);
        QFETCH(QString, openText);

        const QString rootUrlPath = QUrl::fromLocalFile(m_root.path()).path(QUrl::FullyEncoded);
        QMimeData data;
        QList<QUrl> dragged;
        for (const QString &url : urls)
            dragged.append(QUrl(expand(url, rootUrlPath)));
        if (!dragged.isEmpty())
            data.setUrls(dragged);
        if (!text.isNull())
            data.setText(text);

        const DropPayload expected{Action(action), folder.isNull() ? QUrl() : QUrl(expand(folder, rootUrlPath)),
                                   expand(input, m_root.path()), expand(openText, rootUrlPath)};
        QCOMPARE(DropPayload::decide(data), expected);
    }

    // The text opened for a dropped file must lead the parser back to that very file.
    void awkwardFileNamesRoundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("spaces") << u"my clip (final).mp4"_qs;
        QTest::newRow("url syntax") << u"a #1? 100% & more;.mkv"_qs;
        QTest::newRow("quotes") << u"\"quoted\" 'too'.mp3"_qs;
        QTest::newRow("unicode") << u"中文 ñandú Émile.flac"_qs;
        QTest::newRow("escape look-alike") << u"%41%2F.mp4"_qs;
    }

    void awkwardFileNamesRoundTrip()
    {
        QFETCH(QString, name);
        const QString path = m_root.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});

        const DropPayload payload = DropPayload::decide(data);
        QCOMPARE(payload.action, Action::open);
        QCOMPARE(payload.input, path);
        const auto source = MediaInput::parse(payload.openText);
        QVERIFY(source.has_value());
        QCOMPARE(source->url().toLocalFile(), path);
    }

private:
    QTemporaryDir m_root;
};

QTEST_GUILESS_MAIN(TestDropPayload)
#include "tst_droppayload.moc"
