#include "app/CommandLine.h"

#include <QTest>

using Request = CommandLine::Request;
using Action = CommandLine::Request::Action;

namespace {

Request open(const QString &text)
{
    return {Action::open, text};
}

const Request settings{Action::showSettings, {}};
const Request onboarding{Action::showOnboarding, {}};

} // namespace

namespace QTest {
template<>
char *toString(const Request &request)
{
    static const char *const names[] = {"open", "settings", "onboarding", "action"};
    return qstrdup(qPrintable(u"%1(%2 %3)"_qs.arg(QLatin1StringView(names[int(request.action)]), request.text,
                                                 toRaw(request.shortcut))));
}
} // namespace QTest

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QList<Request>>("expected");

        QTest::newRow("nothing") << QStringList{} << QList<Request>{};
        QTest::newRow("--open value") << QStringList{u"--open"_qs, u"https://example.com/a.mp4"_qs}
                                      << QList<Request>{open(u"https://example.com/a.mp4"_qs)};
        QTest::newRow("--open takes the next word whatever it is")
            << QStringList{u"--open"_qs, u"--settings"_qs, u"--onboarding"_qs}
            << QList<Request>{open(u"--settings"_qs), onboarding};
        QTest::newRow("--open last does nothing") << QStringList{u"--settings"_qs, u"--open"_qs}
                                                  << QList<Request>{settings};
        QTest::newRow("--open keeps the text as given")
            << QStringList{u"--open"_qs, u"  ~/Movies/a b.mp4 "_qs} << QList<Request>{open(u"  ~/Movies/a b.mp4 "_qs)};
        QTest::newRow("settings then onboarding, in order")
            << QStringList{u"--settings"_qs, u"--onboarding"_qs} << QList<Request>{settings, onboarding};
        QTest::newRow("unknown words and options ignored")
            << QStringList{u"--verbose"_qs, u"-platform"_qs, u"offscreen"_qs, u"movie.mp4"_qs, u"--open=x"_qs}
            << QList<Request>{};
        QTest::newRow("custom scheme carries the text in url")
            << QStringList{u"lumivane://open?url=https%3A%2F%2Fexample.com%2Fv.mp4%3Fa%3D1%26b%3D2"_qs}
            << QList<Request>{open(u"https://example.com/v.mp4?a=1&b=2"_qs)};
        QTest::newRow("custom scheme in capitals, any host and path")
            << QStringList{u"LUMIVANE:/whatever/path?title=x&url=%2Ftmp%2Fa%20b.mp4"_qs}
            << QList<Request>{open(u"/tmp/a b.mp4"_qs)};
        QTest::newRow("first url item with a value counts")
            << QStringList{u"lumivane://x?url&url=first&url=second"_qs} << QList<Request>{open(u"first"_qs)};
        QTest::newRow("plus stays a plus") << QStringList{u"lumivane://x?url=a+b"_qs}
                                           << QList<Request>{open(u"a+b"_qs)};
        QTest::newRow("empty url value still counts") << QStringList{u"lumivane://x?url="_qs}
                                                      << QList<Request>{open(QString())};
        QTest::newRow("custom scheme without url opens itself")
            << QStringList{u"lumivane://open?link=x"_qs} << QList<Request>{open(u"lumivane://open?link=x"_qs)};
        QTest::newRow("url item without value opens itself")
            << QStringList{u"lumivane://open?url"_qs} << QList<Request>{open(u"lumivane://open?url"_qs)};
        QTest::newRow("web link opens as given")
            << QStringList{u"https://www.youtube.com/watch?v=dQw4w9WgXcQ&t=42"_qs}
            << QList<Request>{open(u"https://www.youtube.com/watch?v=dQw4w9WgXcQ&t=42"_qs)};
        QTest::newRow("file URL from a file manager")
            << QStringList{u"file:///home/me/Videos/a%20b.mkv"_qs}
            << QList<Request>{open(u"file:///home/me/Videos/a%20b.mkv"_qs)};
        QTest::newRow("absolute path becomes a file URL")
            << QStringList{u"/home/me/Videos/a b#1.mkv"_qs}
            << QList<Request>{open(u"file:///home/me/Videos/a%20b%231.mkv"_qs)};
        QTest::newRow("several files in order")
            << QStringList{u"file:///a.mp4"_qs, u"--settings"_qs, u"file:///b.mp4"_qs}
            << QList<Request>{open(u"file:///a.mp4"_qs), settings, open(u"file:///b.mp4"_qs)};
        QTest::newRow("web engine arguments left alone")
            << QStringList{u"--settings"_qs, u"--webEngineArgs"_qs, u"--open"_qs, u"https://x.org"_qs,
                           u"--remote-debugging-port=9222"_qs}
            << QList<Request>{settings};
        QTest::newRow("--action by its stored name")
            << QStringList{u"--action"_qs, u"windowScaleDown"_qs}
            << QList<Request>{{Action::performShortcut, {}, ShortcutAction::windowScaleDown}};
        QTest::newRow("--action takes the next word; unknown, or last, it does nothing")
            << QStringList{u"--action"_qs, u"--settings"_qs, u"--onboarding"_qs, u"--action"_qs}
            << QList<Request>{onboarding};
        QTest::newRow("--open cut short by web engine arguments")
            << QStringList{u"--open"_qs, u"--webEngineArgs"_qs, u"x"_qs} << QList<Request>{};
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QList<Request>, expected);
        arguments.prepend(u"/usr/bin/lumivane"_qs);
        QCOMPARE(CommandLine::parse(arguments), expected);
    }

    void programNameIsNeverRead()
    {
        QCOMPARE(CommandLine::parse({u"--settings"_qs}), QList<Request>{});
        QCOMPARE(CommandLine::parse({u"https://example.com"_qs, u"--onboarding"_qs}), QList<Request>{onboarding});
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
