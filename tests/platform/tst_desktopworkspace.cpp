#include "platform/DesktopWorkspace.h"

#include "KiteCore/L10n.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

// Receives what QDesktopServices would have handed to the desktop.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void handle(const QUrl &url) { urls.append(url); }
};

// Stands in for the file manager's D-Bus service.
class FakeFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shown;

public Q_SLOTS:
    void ShowItems(const QStringList &uris, const QString &startupId)
    {
        Q_UNUSED(startupId)
        shown += uris;
    }
};

namespace {

bool writeScript(const QString &path, const QByteArray &body)
{
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return false;
    script.write("#!/bin/sh\n" + body);
    script.close();
    return script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

bool touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

// Arguments a fake script wrote, NUL-terminated each.
QStringList recordedArguments(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList arguments;
    for (const QByteArray &argument : file.readAll().split('\0'))
        arguments.append(QString::fromUtf8(argument));
    arguments.removeLast(); // after the final terminator
    return arguments;
}

const QByteArray recordArguments = "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$0.args.tmp\"\n"
                                   "/bin/mv \"$0.args.tmp\" \"$0.args\"\n";

const QByteArray fakeXdgMime = recordArguments + R"(
[ "$1" = query ] && [ "$2" = default ] || exit 2
case "$3" in
    video/mp4) echo lumivane.desktop ;;
    audio/mpeg) printf 'vlc.desktop\nother.desktop\n' ;;
    x-scheme-handler/https) echo firefox-esr.desktop ;;
    x-scheme-handler/lumivane) echo '  lumivane.desktop  ' ;;
    x-scheme-handler/http) ;;
    *) exit 1 ;;
esac
)";

} // namespace

class TestDesktopWorkspace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_savedPath = qgetenv("PATH");
        L10n::setLanguage(AppLanguage::en);
    }

    void init()
    {
        m_bin = std::make_unique<QTemporaryDir>();
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_bin->isValid() && m_root->isValid());
        m_desktop.urls.clear();
        qputenv("PATH", QFile::encodeName(m_bin->path()));
    }

    void cleanup()
    {
        qputenv("PATH", m_savedPath);
        QDesktopServices::unsetUrlHandler(u"https"_qs);
        QDesktopServices::unsetUrlHandler(u"file"_qs);
    }

    void defaultHandler_data()
    {
        QTest::addColumn<QString>("url"); // "{root}/name": a file in the temporary folder
        QTest::addColumn<QString>("queried");
        QTest::addColumn<QString>("handler"); // null: none known
        QTest::addColumn<bool>("own");

        QTest::newRow("video file owned by Lumivane") << u"{root}/clip.mp4"_qs << u"video/mp4"_qs
                                                      << u"lumivane.desktop"_qs << true;
        QTest::newRow("awkward file name") << u"{root}/a b; $(x) 'q' ü.mp4"_qs << u"video/mp4"_qs
                                           << u"lumivane.desktop"_qs << true;
        QTest::newRow("first line of the answer") << u"{root}/song.mp3"_qs << u"audio/mpeg"_qs
                                                  << u"vlc.desktop"_qs << false;
        QTest::newRow("web link asks the scheme handler") << u"https://example.com/watch?v=1"_qs
                                                          << u"x-scheme-handler/https"_qs
                                                          << u"firefox-esr.desktop"_qs << false;
        QTest::newRow("answer trimmed") << u"lumivane://open?url=x"_qs << u"x-scheme-handler/lumivane"_qs
                                        << u"lumivane.desktop"_qs << true;
        QTest::newRow("empty answer") << u"http://example.com/"_qs << u"x-scheme-handler/http"_qs << QString()
                                      << false;
        QTest::newRow("failing query") << u"{root}/notes.txt"_qs << u"text/plain"_qs << QString() << false;
    }

    void defaultHandler()
    {
        QFETCH(QString, url);
        QFETCH(QString, queried);
        QFETCH(QString, handler);
        QFETCH(bool, own);
        QVERIFY(writeScript(m_bin->filePath(u"xdg-mime"_qs), fakeXdgMime));
        QUrl target(url);
        if (url.startsWith(u"{root}/")) {
            const QString path = m_root->filePath(url.mid(7));
            QVERIFY(touch(path));
            target = QUrl::fromLocalFile(path);
        }

        DesktopWorkspace workspace;
        const std::optional<QString> expected = handler.isNull() ? std::nullopt : std::optional(handler);
        QCOMPARE(workspace.defaultHandler(target), expected);
        QCOMPARE(recordedArguments(m_bin->filePath(u"xdg-mime.args"_qs)),
                 (QStringList{u"query"_qs, u"default"_qs, queried}));
        QCOMPARE(workspace.defaultsToThisApp(target), own);
    }

    void noXdgMime()
    {
        DesktopWorkspace workspace;
        QCOMPARE(workspace.defaultHandler(QUrl(u"https://example.com"_qs)), std::optional<QString>());
        QVERIFY(!workspace.defaultsToThisApp(QUrl(u"https://example.com"_qs)));
    }

    void hungXdgMimeIsCutOff()
    {
        QVERIFY(writeScript(m_bin->filePath(u"xdg-mime"_qs), "exec /bin/sleep 30\n"));
        DesktopWorkspace workspace(200ms);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(workspace.defaultHandler(QUrl(u"https://example.com"_qs)), std::optional<QString>());
        QVERIFY2(timer.elapsed() < 2000, qPrintable(u"%1 ms"_qs.arg(timer.elapsed())));
    }

    void findPlayer_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<bool>("found");
        QTest::newRow("vlc installed") << u"vlc"_qs << QStringList{u"vlc"_qs} << true;
        QTest::newRow("mpv installed") << u"mpv"_qs << QStringList{u"mpv"_qs, u"vlc"_qs} << true;
        QTest::newRow("mpv missing") << u"mpv"_qs << QStringList{u"vlc"_qs} << false;
        QTest::newRow("iina never") << u"iina"_qs << QStringList{u"iina"_qs} << false;
        QTest::newRow("unknown names never run") << u"sh"_qs << QStringList{u"sh"_qs} << false;
        QTest::newRow("system is not a player") << u"system"_qs << QStringList{u"system"_qs} << false;
    }

    void findPlayer()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, installed);
        QFETCH(bool, found);
        for (const QString &program : installed)
            QVERIFY(writeScript(m_bin->filePath(program), "exit 0\n"));
        const std::optional<QString> expected = found ? std::optional(m_bin->filePath(name)) : std::nullopt;
        QCOMPARE(DesktopWorkspace().findPlayer(name), expected);
    }

    void playerNotExecutable()
    {
        QVERIFY(touch(m_bin->filePath(u"vlc"_qs)));
        QCOMPARE(DesktopWorkspace().findPlayer(u"vlc"_qs), std::optional<QString>());
    }

    // The player gets exactly one argument, byte for byte, and no shell ever sees it.
    void launchPlayer_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("argument");
        const QString awkward = u"{root}/my clip; touch {root}/pwned && echo $(touch {root}/pwned) \"q\" 'q' |x.mp4"_qs;
        QTest::newRow("file with shell syntax") << awkward << awkward;
        QTest::newRow("file with a line break") << u"{root}/two\nlines.mkv"_qs << u"{root}/two\nlines.mkv"_qs;
        QTest::newRow("web link with query") << u"https://example.com/watch?v=1&list=2;x"_qs
                                             << u"https://example.com/watch?v=1&list=2;x"_qs;
        QTest::newRow("web link with a space") << u"https://example.com/a b.mp4"_qs
                                               << u"https://example.com/a%20b.mp4"_qs;
    }

    void launchPlayer()
    {
        QFETCH(QString, url);
        QFETCH(QString, argument);
        QVERIFY(writeScript(m_bin->filePath(u"vlc"_qs), recordArguments));
        const QUrl target = url.startsWith(u"{root}/")
                                ? QUrl::fromLocalFile(QString(url).replace(u"{root}"_qs, m_root->path()))
                                : QUrl(url);
        argument.replace(u"{root}"_qs, m_root->path());

        DesktopWorkspace workspace;
        const std::optional<QString> vlc = workspace.findPlayer(u"vlc"_qs);
        QVERIFY(vlc);
        QVERIFY(workspace.launchPlayer(*vlc, target).has_value());
        const QString record = m_bin->filePath(u"vlc.args"_qs);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 5000);
        QCOMPARE(recordedArguments(record), QStringList{argument});
        QVERIFY(!QFile::exists(m_root->filePath(u"pwned"_qs)));
    }

    void launchRefused_data()
    {
        QTest::addColumn<QString>("program"); // in the fake bin folder
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("error");
        const QString badAddress = u"This address can't be handed to an external player."_qs;
        QTest::newRow("missing program") << u"nope"_qs << QUrl(u"https://example.com/a.mp4"_qs)
                                         << u"Couldn't start nope."_qs;
        QTest::newRow("relative address") << u"vlc"_qs << QUrl(u"movie.mp4"_qs) << badAddress;
        QTest::newRow("option look-alike") << u"vlc"_qs << QUrl(u"--play-and-exit"_qs) << badAddress;
        QTest::newRow("empty address") << u"vlc"_qs << QUrl() << badAddress;
    }

    void launchRefused()
    {
        QFETCH(QString, program);
        QFETCH(QUrl, url);
        QFETCH(QString, error);
        QVERIFY(writeScript(m_bin->filePath(u"vlc"_qs), recordArguments));
        const auto launched = DesktopWorkspace().launchPlayer(m_bin->filePath(program), url);
        QVERIFY(!launched.has_value());
        QCOMPARE(launched.error(), error);
    }

    void openUrl_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("web link") << QUrl(u"https://example.com/x?y=1"_qs) << true;
        QTest::newRow("invalid") << QUrl(u"https://exa mple.com"_qs, QUrl::StrictMode) << false;
        QTest::newRow("empty") << QUrl() << false;
    }

    void openUrl()
    {
        QFETCH(QUrl, url);
        QFETCH(bool, accepted);
        QDesktopServices::setUrlHandler(u"https"_qs, &m_desktop, "handle");
        QCOMPARE(DesktopWorkspace().openUrl(url), accepted);
        QCOMPARE(m_desktop.urls, accepted ? QList<QUrl>{url} : QList<QUrl>{});
    }

    void revealWithoutFileManagerOpensFolder()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected() && bus.interface()->isServiceRegistered(u"org.freedesktop.FileManager1"_qs))
            QSKIP("a file manager runs on this session bus");
        QDesktopServices::setUrlHandler(u"file"_qs, &m_desktop, "handle");
        const QString file = m_root->filePath(u"sub dir/clip.mp4"_qs);
        DesktopWorkspace().revealFile(file);
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop.urls, QList<QUrl>{QUrl::fromLocalFile(m_root->filePath(u"sub dir"_qs))},
                                  5000);
    }

    void revealAsksFileManager()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus");
        QDBusConnection service
            = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"fake-file-manager"_qs);
        FakeFileManager fileManager;
        QVERIFY(service.registerObject(u"/org/freedesktop/FileManager1"_qs, &fileManager,
                                       QDBusConnection::ExportAllSlots));
        if (!service.registerService(u"org.freedesktop.FileManager1"_qs)) {
            QDBusConnection::disconnectFromBus(u"fake-file-manager"_qs);
            QSKIP("the file manager's name is taken on this session bus");
        }
        QDesktopServices::setUrlHandler(u"file"_qs, &m_desktop, "handle");
        const QString file = m_root->filePath(u"a b#1.mp4"_qs);

        DesktopWorkspace().revealFile(file);
        QTRY_COMPARE_WITH_TIMEOUT(fileManager.shown,
                                  QStringList{QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)}, 5000);
        service.unregisterService(u"org.freedesktop.FileManager1"_qs);
        service.unregisterObject(u"/org/freedesktop/FileManager1"_qs);
        QDBusConnection::disconnectFromBus(u"fake-file-manager"_qs);
        QCOMPARE(m_desktop.urls, QList<QUrl>{});
    }

private:
    UrlRecorder m_desktop;
    QByteArray m_savedPath;
    std::unique_ptr<QTemporaryDir> m_bin;
    std::unique_ptr<QTemporaryDir> m_root;
};

QTEST_MAIN(TestDesktopWorkspace)
#include "tst_desktopworkspace.moc"
