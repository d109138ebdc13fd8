#include "TestFiles.h"
#include "app/CommandLine.h"
#include "app/LaunchArguments.h"

#include <QTemporaryDir>
#include <QTest>

using Request = CommandLine::Request;
using Action = Request::Action;

namespace {

Request open(const QString &text)
{
    return {Action::open, text};
}
const Request settings{Action::showSettings, {}};
const Request onboarding{Action::showOnboarding, {}};

// The arguments after the program name.
struct Row {
    const char *name;
    QStringList arguments;
    QList<Request> expected;
};
const QList<Row> rows{
    {"--open takes the next word as it is, whatever it is",
     {"--open", " ~/a b.mp4 ", "--open", "--settings", "--onboarding"},
     {open(" ~/a b.mp4 "), open("--settings"), onboarding}},
    {"unknown words and options are ignored", {"--verbose", "-platform", "xcb", "movie.mp4", "--open=x"}, {}},
    {"the scheme in any case carries the text in url, a plus stays",
     {"LUMIVANE://x/y?title=z&url=https%3A%2F%2Fexample.com%2Fv.mp4%3Fa%3D1%26b%3D2+3"},
     {open("https://example.com/v.mp4?a=1&b=2+3")}},
    {"the first url item with a value counts, even an empty one", {"lumivane://x?url&url=&url=c"}, {open({})}},
    {"without a url value the link opens itself", {"lumivane://x?link=y&url"}, {open("lumivane://x?link=y&url")}},
    {"other links open as given, absolute paths as file URLs, in order",
     {"https://www.youtube.com/watch?v=dQw4w9WgXcQ&t=42", "/home/me/a b#1.mkv", "--settings"},
     {open("https://www.youtube.com/watch?v=dQw4w9WgXcQ&t=42"), open("file:///home/me/a%20b%231.mkv"), settings}},
    {"web engine arguments are not read, --open last does nothing",
     {"--settings", "--open", "--webEngineArgs", "--open", "https://x.org"},
     {settings}},
    {"--action takes a shortcut action by its stored name", {"--action", "windowScaleDown"},
     {{Action::performShortcut, {}, ShortcutAction::windowScaleDown}}},
    {"--action takes the next word; unknown, or last, it does nothing",
     {"--action", "--settings", "--onboarding", "--action"}, {onboarding}},
};

// "%d" stands for the working folder, which holds clip.mp4 and films/. Nothing expected:
// the arguments stay as they are.
const QList<QPair<QStringList, QStringList>> absolutized{
    {{"--open", "clip.mp4", "--open", "./films/"}, {"--open", "%d/clip.mp4", "--open", "%d/films"}},
    {{"--open", "gone.mp4", "--open", "https://a.example/x", "--open", "/tmp", "--open", "~/clip.mp4", "--open"},
     {}},
    {{"clip.mp4", "--settings", "--open", "films"}, {"clip.mp4", "--settings", "--open", "%d/films"}},
    {{"--webEngineArgs", "--open", "clip.mp4"}, {}},
};

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The program name, an absolute path, is never read.
    void parse()
    {
        for (const Row &row : rows)
            QVERIFY2(CommandLine::parse(QStringList{u"/usr/bin/lumivane"_qs} + row.arguments) == row.expected,
                     row.name);
    }

    // Before a launch hands its arguments to the running instance, which has another working folder.
    void relativePathsAfterOpenBecomeAbsolute()
    {
        QTemporaryDir folder;
        TestFiles::writeContent(folder.filePath(u"clip.mp4"_qs), {});
        TestFiles::writeContent(folder.filePath(u"films/a.mp4"_qs), {});
        for (const auto &[arguments, after] : absolutized) {
            QStringList expected = QStringList{u"lumivane"_qs} + (after.isEmpty() ? arguments : after);
            expected.replaceInStrings(u"%d"_qs, folder.path());
            QCOMPARE(LaunchArguments::absolutize(QStringList{u"lumivane"_qs} + arguments, QDir(folder.path())),
                     expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
