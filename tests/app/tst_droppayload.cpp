#include "TestFiles.h"
#include "app/DropPayload.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using Action = DropPayload::Action;

namespace {
// "{root}" stands for the test folder, which holds "clip #1%.mp4" and the folder "Season 1". A
// null text: the drag carries none.
struct Row {
    const char *name;
    QStringList urls;
    QString text;
    Action action;
    QString folder = {};
    QString input = {};
    QString openText = {};
};
const QList<Row> rows{
    {"a folder fills the playlist", {"file://{root}/Season%201"}, {}, Action::addFolder, "file://{root}/Season%201"},
    {"the first file wins over links, text and later files",
     {"https://example.com/v.mp4", "file://{root}/clip%20%231%25.mp4", "file://{root}/Season%201"}, "text",
     Action::open, {}, "{root}/clip #1%.mp4", "file://{root}/clip%20%231%25.mp4"},
    {"a link opens as its encoded absolute string", {"https://example.com/a b.mp4"}, "text", Action::open, {},
     "https://example.com/a%20b.mp4", "https://example.com/a%20b.mp4"},
    {"text opens as it is", {}, " bilibili.com/video/BV1 ", Action::open, {}, " bilibili.com/video/BV1 ",
     " bilibili.com/video/BV1 "},
    {"blank text, like nothing, is refused", {}, " \n\t", Action::refused},
};
} // namespace

class TestDropPayload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decide()
    {
        QTemporaryDir root;
        TestFiles::writeContent(root.filePath(u"clip #1%.mp4"_qs), {});
        QVERIFY(QDir(root.path()).mkpath(u"Season 1"_qs));
        // A temporary folder's path reads the same in a URL.
        const auto expand = [&root](QString text) { return text.replace(u"{root}"_qs, root.path()); };
        for (const Row &row : rows) {
            QMimeData data;
            QList<QUrl> urls;
            for (const QString &url : row.urls)
                urls << QUrl(expand(url));
            data.setUrls(urls);
            if (!row.text.isNull())
                data.setText(row.text);
            const QUrl folder = row.folder.isEmpty() ? QUrl() : QUrl(expand(row.folder));
            const DropPayload expected{row.action, folder, expand(row.input), expand(row.openText)};
            QVERIFY2(DropPayload::decide(data) == expected, row.name);
        }
    }
};

QTEST_GUILESS_MAIN(TestDropPayload)
#include "tst_droppayload.moc"
