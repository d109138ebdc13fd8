#include "platform/MprisControls.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QMetaMethod>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <unistd.h>
#include <vector>

// Runs on a session bus of its own (other tests of the run publish media players too, and
// playerctl would ask whichever it finds first), with the real playerctl and gdbus as the
// desktop's side.
class TestMprisControls : public QObject
{
    Q_OBJECT

    struct Row {
        const char *name;
        QStringList command;
        // The command's output, then the requests that reached the controls.
        QString expected;
    };

    std::unique_ptr<MprisControls> m_controls;
    std::vector<std::unique_ptr<QSignalSpy>> m_spies;
    QStringList m_signals;

    MediaControls::State playing() const
    {
        return {MediaControls::Status::playing, u"/track/1"_qs, u"Sample"_qs, QUrl(u"file:///tmp/sample.mp4"_qs), {}, 60, 10, 1.0, 1.0,
                true, true, true};
    }

    // The output of a command, run while the event loop keeps answering the bus.
    QString run(QStringList command) const
    {
        for (QString &word : command)
            word.replace(u"NAME"_qs, m_controls->serviceName());
        QProcess process;
        process.start(command.takeFirst(), command);
        [&process] { QTRY_VERIFY_WITH_TIMEOUT(process.state() == QProcess::NotRunning, 10000); }();
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    // "seekRequested 2" for each request that arrived.
    QStringList requests() const
    {
        QStringList made;
        for (const auto &spy : m_spies)
            for (const QVariantList &arguments : *spy) {
                QStringList words{QString::fromLatin1(spy->signal()).section(u'(', 0, 0)};
                for (const QVariant &argument : arguments)
                    words << argument.toString();
                made << words.join(u' ');
            }
        return made;
    }

private Q_SLOTS:
    void init()
    {
        m_controls = MprisControls::create();
        QVERIFY(m_controls);
        m_controls->publish(playing());
        m_spies.clear();
        m_signals.clear();
        // Every request signal, recorded with its arguments.
        const QMetaObject &meta = MediaControls::staticMetaObject;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            if (meta.method(i).methodType() == QMetaMethod::Signal)
                m_spies.push_back(std::make_unique<QSignalSpy>(m_controls.get(), meta.method(i)));
        }
    }

    void desktopSide_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < rows().size(); ++i)
            QTest::newRow(rows().at(i).name) << i;
    }

    void desktopSide()
    {
        QFETCH(int, row);
        const QString output = run(rows().at(row).command);
        const QString player = m_controls->serviceName().section(u'.', 3);
        QCOMPARE((QStringList{output} + requests()).join(u" | "), QString(rows().at(row).expected).replace(u"PLAYER"_qs, player));
    }

    // Every change but the position is announced at once, and seeks by the Seeked signal.
    void announcements()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        const QString path = MprisControls::objectPath, service = m_controls->serviceName();
        bus.connect(service, path, u"org.freedesktop.DBus.Properties"_qs, u"PropertiesChanged"_qs, this,
                    SLOT(changed(QString, QVariantMap, QStringList)));
        bus.connect(service, path, u"org.mpris.MediaPlayer2.Player"_qs, u"Seeked"_qs, this, SLOT(seeked(qlonglong)));
        MediaControls::State state = playing();
        state.position = 11;
        m_controls->publish(state);
        state.status = MediaControls::Status::paused;
        state.title = u"Other"_qs;
        m_controls->publish(state);
        m_controls->announceSeeked(30);
        QTRY_COMPARE_WITH_TIMEOUT(m_signals, (QStringList{u"Metadata PlaybackStatus"_qs, u"Seeked 30000000"_qs}), 5000);
    }

    // Closing the window takes its player off the bus.
    void removal()
    {
        const QString name = m_controls->serviceName();
        m_controls.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!QDBusConnection::sessionBus().interface()->isServiceRegistered(name), 5000);
    }

    void changed(const QString &, const QVariantMap &properties, const QStringList &)
    {
        m_signals << properties.keys().join(u' ');
    }

    void seeked(qlonglong position) { m_signals << u"Seeked %1"_qs.arg(position); }

private:
    static const QList<Row> &rows()
    {
        static const QString call = u"gdbus call --session -d NAME -o /org/mpris/MediaPlayer2 -m "_qs;
        static const QList<Row> table{
            {"listed by playerctl", {u"playerctl"_qs, u"-l"_qs}, u"PLAYER"_qs},
            {"the title", {u"playerctl"_qs, u"metadata"_qs, u"xesam:title"_qs}, u"Sample"_qs},
            {"the status", {u"playerctl"_qs, u"status"_qs}, u"Playing"_qs},
            {"the position",
             (call + u"org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2.Player Position"_qs).split(u' '),
             u"(<int64 10000000>,)"_qs},
            {"play-pause", {u"playerctl"_qs, u"play-pause"_qs}, u" | playPauseRequested"_qs},
            {"next", {u"playerctl"_qs, u"next"_qs}, u" | nextRequested"_qs},
            {"a position of the current track", {u"playerctl"_qs, u"position"_qs, u"5"_qs}, u" | positionRequested /track/1 5"_qs},
            {"the volume", {u"playerctl"_qs, u"volume"_qs, u"0.5"_qs}, u" | volumeRequested 0.5"_qs},
            {"a relative seek", (call + u"org.mpris.MediaPlayer2.Player.Seek 2000000"_qs).split(u' '), u"() | seekRequested 2"_qs},
            {"raise", (call + u"org.mpris.MediaPlayer2.Raise"_qs).split(u' '), u"() | raiseRequested"_qs},
            {"the desktop entry",
             (call + u"org.freedesktop.DBus.Properties.Get org.mpris.MediaPlayer2 DesktopEntry"_qs).split(u' '),
             u"(<'org.lumivane.Lumivane'>,)"_qs},
        };
        return table;
    }
};

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("LUMIVANE_PRIVATE_BUS")) {
        qputenv("LUMIVANE_PRIVATE_BUS", "1");
        std::vector<char *> command{const_cast<char *>("dbus-run-session"), const_cast<char *>("--")};
        command.insert(command.end(), argv, argv + argc);
        command.push_back(nullptr);
        ::execvp(command.front(), command.data());
        return 127;
    }
    QCoreApplication app(argc, argv);
    TestMprisControls test;
    return QTest::qExec(&test, argc, argv);
}
#include "itst_mpriscontrols.moc"
