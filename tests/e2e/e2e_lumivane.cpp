#include "MediaGenerator.h"
#include "TrayProcess.h"
#include "X11Input.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {
constexpr int appearTimeoutMs = 60000;

// One user account: its own home, settings, data and runtime folder (so its own
// single-instance socket).
class Account final
{
public:
    Account()
    {
        for (const QString &name : {u"config"_qs, u"data"_qs, u"runtime"_qs})
            QDir(m_root.path()).mkpath(name);
        QFile::setPermissions(path(u"runtime"_qs),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    QString path(const QString &name) const { return m_root.filePath(name); }
    QString historyFile() const { return path(u"data/Lumivane/history.json"_qs); }
    QString playlistFile() const { return path(u"data/Lumivane/playlist.json"_qs); }
    QString settingsFile() const { return path(u"config/Lumivane/Lumivane.conf"_qs); }

    std::unique_ptr<QProcess> start(const QStringList &arguments) const
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_qs, m_root.path());
        environment.insert(u"XDG_CONFIG_HOME"_qs, path(u"config"_qs));
        environment.insert(u"XDG_DATA_HOME"_qs, path(u"data"_qs));
        environment.insert(u"XDG_RUNTIME_DIR"_qs, path(u"runtime"_qs));
        environment.remove(u"QT_QPA_PLATFORM"_qs);
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(LUMIVANE_BINARY), arguments);
        return process;
    }

    // A copy of a generated clip under a name of its own, so its window title is known.
    QString clip(const QString &name, double seconds) const
    {
        const QString generated = MediaGenerator::colourClip(Qt::darkCyan, seconds);
        const QString copy = path(name + u".mp4"_qs);
        if (generated.isEmpty() || !QFile::copy(generated, copy))
            return {};
        return copy;
    }

private:
    QTemporaryDir m_root;
};

QStringList visibleWindows(const QStringList &criteria)
{
    QProcess search;
    search.start(u"xdotool"_qs, QStringList{u"search"_qs, u"--onlyvisible"_qs} + criteria);
    if (!search.waitForFinished(5000))
        return {};
    return QString::fromUtf8(search.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// Mapped X windows whose name is exactly the given text.
QStringList windowsNamed(const QString &name)
{
    return visibleWindows({u"--name"_qs, u"^"_qs + QRegularExpression::escape(name) + u"$"_qs});
}

// Mapped X windows of the program, menus included.
QStringList visibleLumivaneWindows()
{
    return visibleWindows({u"--classname"_qs, u"^lumivane$"_qs});
}

QJsonArray readJsonArray(const QString &file)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(input.readAll()).array();
}

std::optional<QJsonObject> historyEntry(const Account &account, const QString &clip)
{
    const QString url = QUrl::fromLocalFile(clip).toString(QUrl::FullyEncoded);
    for (const QJsonValue &value : readJsonArray(account.historyFile())) {
        if (value.toObject().value(u"urlString"_qs).toString() == url)
            return value.toObject();
    }
    return std::nullopt;
}

// Polls the condition every 100 ms for up to appearTimeoutMs of wall time.
bool eventually(const std::function<bool()> &condition)
{
    QDeadlineTimer deadline(appearTimeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(100);
    }
    return true;
}

bool quit(QProcess &process)
{
    process.terminate();
    return process.waitForFinished(15000) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}
} // namespace

class TestLumivane final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void opensPlaysRemembersAndRestores();
    void secondLaunchHandsOverAndExits();
    void folderFillsThePlaylistWithoutANewWindow();
    void actionsReachTheRunningInstance();
    void quitFromTheTrayWithEveryWindowHidden();
};

void TestLumivane::initTestCase()
{
    QVERIFY2(QFile::exists(QStringLiteral(LUMIVANE_BINARY)), LUMIVANE_BINARY);
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "runs under xvfb-run");
}

void TestLumivane::opensPlaysRemembersAndRestores()
{
    Account account;
    const QString clip = account.clip(u"e2e-clip-one"_qs, 12);
    QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));

    std::unique_ptr<QProcess> first = account.start({u"--open"_qs, clip});
    QVERIFY(eventually([&] { return !windowsNamed(u"e2e-clip-one"_qs).isEmpty(); }));
    QVERIFY(eventually([&] { return historyEntry(account, clip).has_value(); }));
    // Progress is written once playback has passed a second.
    QVERIFY(eventually([&] { return historyEntry(account, clip)->contains(u"resumeSeconds"_qs); }));
    QVERIFY(historyEntry(account, clip)->value(u"resumeSeconds"_qs).toDouble() > 1.0);

    QVERIFY(quit(*first));
    QSettings settings(account.settingsFile(), QSettings::IniFormat);
    QCOMPARE(settings.value(u"lastWindowURLs"_qs).toStringList(),
             QStringList{QUrl::fromLocalFile(clip).toString(QUrl::FullyEncoded)});

    // The X server drops a finished client's windows on its own time.
    QVERIFY(eventually([&] { return windowsNamed(u"e2e-clip-one"_qs).isEmpty(); }));

    // A launch with a file of its own still brings the remembered window back.
    std::unique_ptr<QProcess> second = account.start({u"--open"_qs, account.clip(u"e2e-clip-two"_qs, 6)});
    QVERIFY(eventually([&] { return !windowsNamed(u"e2e-clip-one"_qs).isEmpty() && !windowsNamed(u"e2e-clip-two"_qs).isEmpty(); }));
    QVERIFY(eventually([&] {
        return historyEntry(account, clip)->value(u"openCount"_qs).toInt() == 2;
    }));
    QVERIFY(quit(*second));
}

void TestLumivane::secondLaunchHandsOverAndExits()
{
    Account account;
    const QString clip = account.clip(u"e2e-handed-over"_qs, 6);
    QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
    std::unique_ptr<QProcess> running = account.start({});
    QVERIFY(eventually([&] { return !windowsNamed(u"Lumivane"_qs).isEmpty(); }));

    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProcess> second = account.start({u"--open"_qs, clip});
    QVERIFY(second->waitForFinished(10000));
    const qint64 handOverMs = clock.elapsed();
    QCOMPARE(second->exitCode(), 0);
    qInfo("second launch exited after %lld ms", handOverMs);
    QVERIFY(handOverMs < 5000);

    QVERIFY(eventually([&] { return !windowsNamed(u"e2e-handed-over"_qs).isEmpty(); }));
    QCOMPARE(running->state(), QProcess::Running);
    QVERIFY(quit(*running));
}

void TestLumivane::folderFillsThePlaylistWithoutANewWindow()
{
    Account account;
    const QString clip = account.clip(u"e2e-playing"_qs, 6);
    QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
    QDir(account.path(QString())).mkpath(u"folder/inner"_qs);
    QVERIFY(QFile::copy(clip, account.path(u"folder/b-track.mp4"_qs)));
    QVERIFY(QFile::copy(clip, account.path(u"folder/inner/a-track.mp4"_qs)));
    std::unique_ptr<QProcess> running = account.start({u"--open"_qs, clip});
    QVERIFY(eventually([&] { return !windowsNamed(u"e2e-playing"_qs).isEmpty(); }));

    std::unique_ptr<QProcess> second = account.start({u"--open"_qs, account.path(u"folder"_qs)});
    QVERIFY(second->waitForFinished(10000));

    QVERIFY(eventually([&] { return readJsonArray(account.playlistFile()).size() == 2; }));
    QStringList titles;
    for (const QJsonValue &value : readJsonArray(account.playlistFile()))
        titles << value.toObject().value(u"title"_qs).toString();
    QCOMPARE(titles, (QStringList{u"a-track"_qs, u"b-track"_qs}));
    QVERIFY(windowsNamed(u"a-track"_qs).isEmpty());
    QVERIFY(windowsNamed(u"b-track"_qs).isEmpty());
    QVERIFY(quit(*running));
}

void TestLumivane::actionsReachTheRunningInstance()
{
    Account account;
    // Two frames a second, each with its own colour.
    const QString clip = account.path(u"e2e-action.mp4"_qs);
    QVERIFY(QFile::copy(MediaGenerator::numberedFrames(40, 2), clip));
    std::unique_ptr<QProcess> running = account.start({u"--open"_qs, clip});
    QVERIFY(eventually([&] { return !windowsNamed(u"e2e-action"_qs).isEmpty(); }));
    const WId window = windowsNamed(u"e2e-action"_qs).first().toULongLong();
    const auto frame = [window] {
        const QImage image = QGuiApplication::primaryScreen()->grabWindow(window).toImage();
        return MediaGenerator::frameNumberOf(image.pixelColor(image.width() / 4, image.height() / 2));
    };
    const auto action = [&account](const QString &name) {
        const std::unique_ptr<QProcess> launch = account.start({u"--action"_qs, name});
        return launch->waitForFinished(10000) && launch->exitCode() == 0;
    };
    QVERIFY(eventually([&] { return frame() >= 1; }));

    QVERIFY(action(u"playPause"_qs));
    // Paused: the picture holds still for a second.
    int shown = -1;
    QElapsedTimer still;
    QVERIFY(eventually([&] {
        if (const int now = frame(); now != shown || now < 0) {
            shown = now;
            still.start();
        }
        return still.elapsed() >= 1000;
    }));
    QVERIFY(action(u"playPause"_qs));
    QVERIFY(eventually([&] { return frame() > shown; }));
    QVERIFY(action(u"toggleAllWindows"_qs));
    QVERIFY(eventually([&] { return windowsNamed(u"e2e-action"_qs).isEmpty(); }));
    QVERIFY(quit(*running));
}

// Hidden windows are still remembered: quitting from the tray and starting again brings them back.
void TestLumivane::quitFromTheTrayWithEveryWindowHidden()
{
    TrayProcess tray;
    QVERIFY(tray.start());
    Account account;
    const QString clip = account.clip(u"e2e-tray"_qs, 12);
    QVERIFY2(!clip.isEmpty(), qPrintable(MediaGenerator::lastError()));
    std::unique_ptr<QProcess> first = account.start({u"--open"_qs, clip});
    QVERIFY(eventually([&] { return !windowsNamed(u"e2e-tray"_qs).isEmpty(); }));

    // The hide/restore shortcut, pressed in the player window.
    const QString player = windowsNamed(u"e2e-tray"_qs).first();
    QVERIFY(X11Input::xdotool({u"windowfocus"_qs, u"--sync"_qs, player}));
    QVERIFY(X11Input::key(u"ctrl+alt+f"_qs));
    QVERIFY(eventually([&] { return windowsNamed(u"e2e-tray"_qs).isEmpty(); }));

    // The context menu, once open, has the keyboard; its last item is Quit.
    // A click that reaches trayer before the icon sits in its slot is lost: clicked again.
    const qsizetype before = visibleLumivaneWindows().size();
    const auto menuShown = [&] { return visibleLumivaneWindows().size() > before; };
    bool shown = false;
    for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
        QVERIFY(TrayProcess::clickIcon(3));
        shown = QTest::qWaitFor(menuShown, 5000);
    }
    QVERIFY(shown);
    QVERIFY(X11Input::xdotool({u"key"_qs, u"Up"_qs, u"Return"_qs}));
    QVERIFY(first->waitForFinished(15000));
    QCOMPARE(first->exitStatus(), QProcess::NormalExit);
    QCOMPARE(first->exitCode(), 0);
    QSettings settings(account.settingsFile(), QSettings::IniFormat);
    QCOMPARE(settings.value(u"lastWindowURLs"_qs).toStringList(),
             QStringList{QUrl::fromLocalFile(clip).toString(QUrl::FullyEncoded)});

    std::unique_ptr<QProcess> second = account.start({});
    QVERIFY(eventually([&] { return !windowsNamed(u"e2e-tray"_qs).isEmpty(); }));
    QVERIFY(quit(*second));
}

QTEST_MAIN(TestLumivane)
#include "e2e_lumivane.moc"
