#include "platform/DesktopWorkspace.h"

#include "KiteCore/L10n.h"

#include <QtTest>

class TestDesktopWorkspace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        L10n::setLanguage(AppLanguage::en);
        qputenv("PATH", QFile::encodeName(m_bin.path()));
    }

    // The first line xdg-mime answers for the file's type or the link's scheme, trimmed. No
    // xdg-mime, or one that hangs, means no known handler, and soon.
    void defaultHandler()
    {
        QVERIFY(!DesktopWorkspace().defaultHandler(QUrl("https://example.com/")));
        QVERIFY(install("xdg-mime", R"([ "$1 $2" = "query default" ] || exit 2
case "$3" in video/mp4) echo org.lumivane.Lumivane.desktop ;; audio/mpeg) printf 'vlc.desktop\nx.desktop\n' ;;
x-scheme-handler/https) echo ' firefox-esr.desktop ' ;; x-scheme-handler/http) ;; *) exit 1 ;; esac)"));
        const QList<std::pair<QUrl, QString>> rows{
            {file("clip.mp4"), "org.lumivane.Lumivane.desktop"}, {file("a b; $(x) 'q' ü.mp3"), "vlc.desktop"},
            {QUrl("https://example.com/w?v=1"), "firefox-esr.desktop"}, {QUrl("http://example.com/"), ""}, {file("a.txt"), ""}};
        for (const auto &[url, handler] : rows)
            QCOMPARE(std::pair(DesktopWorkspace().defaultHandler(url).value_or(""), DesktopWorkspace().defaultsToThisApp(url)),
                     std::pair(handler, handler == u"org.lumivane.Lumivane.desktop"));
        QVERIFY(install("xdg-mime", "exec /bin/sleep 30"));
        QDeadlineTimer deadline(2000);
        QVERIFY(!DesktopWorkspace(std::chrono::milliseconds(200)).defaultHandler(rows[2].first) && !deadline.hasExpired());
    }

    // vlc and mpv, and only as executables.
    void findPlayer()
    {
        for (const char *name : {"vlc", "mpv", "iina", "sh", "system"})
            QVERIFY(install(name, "exit 0"));
        DesktopWorkspace workspace;
        QVERIFY(workspace.findPlayer("vlc") == m_bin.filePath("vlc") && workspace.findPlayer("mpv") == m_bin.filePath("mpv"));
        QVERIFY(!workspace.findPlayer("iina") && !workspace.findPlayer("sh") && !workspace.findPlayer("system"));
        QVERIFY(install("vlc", "exit 0", false) && QFile::remove(m_bin.filePath("mpv")));
        QVERIFY(!workspace.findPlayer("vlc") && !workspace.findPlayer("mpv"));
    }

    // The player gets exactly one argument, byte for byte, and no shell ever sees it; no
    // relative or option-like argument is handed over.
    void launchPlayer()
    {
        QVERIFY(install("vlc", R"(printf '%s\0' "$@" > "$0.tmp"; /bin/mv "$0.tmp" "$0.args")"));
        const QString pwned = m_bin.filePath("pwned");
        const QString awkward = m_bin.filePath("my clip; touch " + pwned + " $(touch " + pwned + ") \"q\" 'q' |x\n.mp4");
        const QString refused = "This address can't be handed to an external player.";
        // program, address, the argument it gets or the error
        const QList<std::tuple<QString, QUrl, QString, QString>> rows{{"vlc", QUrl::fromLocalFile(awkward), awkward, ""},
            {"vlc", QUrl("https://example.com/w?v=1&l=2;x"), "https://example.com/w?v=1&l=2;x", ""},
            {"vlc", QUrl("https://example.com/a b.mp4"), "https://example.com/a%20b.mp4", ""},
            {"vlc", QUrl("movie.mp4"), "", refused}, {"vlc", QUrl("--play-and-exit"), "", refused}, {"vlc", QUrl(), "", refused},
            {"nope", QUrl("https://example.com/"), "", "Couldn't start nope."}};
        for (const auto &[program, url, argument, error] : rows) {
            QFile::remove(m_bin.filePath("vlc.args"));
            const auto launched = DesktopWorkspace().launchPlayer(m_bin.filePath(program), url);
            QCOMPARE(launched ? QString() : launched.error(), error);
            QFile record(m_bin.filePath("vlc.args"));
            QTRY_VERIFY_WITH_TIMEOUT(argument.isEmpty() || record.exists(), 5000);
            QCOMPARE(record.open(QIODevice::ReadOnly) ? record.readAll() : QByteArray(), argument.isEmpty() ? "" : argument.toUtf8() + '\0');
        }
        QVERIFY(!QFile::exists(pwned));
    }

private:
    bool install(const QString &name, const QByteArray &body, bool executable = true)
    {
        QFile script(m_bin.filePath(name));
        const auto mode = QFile::ReadOwner | QFile::WriteOwner | (executable ? QFile::ExeOwner : QFile::Permissions());
        return script.open(QIODevice::WriteOnly) && script.write("#!/bin/sh\n" + body + '\n') > 0 && script.setPermissions(mode);
    }

    QUrl file(const QString &name)
    {
        return QFile(m_bin.filePath(name)).open(QIODevice::WriteOnly) ? QUrl::fromLocalFile(m_bin.filePath(name)) : QUrl();
    }

    QTemporaryDir m_bin;
};

QTEST_MAIN(TestDesktopWorkspace)
#include "tst_desktopworkspace.moc"
