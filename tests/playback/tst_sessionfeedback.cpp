#include "SessionHarness.h"
#include "settings/Preferences.h"
#include "platform/AppPaths.h"
#include "platform/DebugLog.h"

#include "KiteCore/L10n.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <functional>

#include <fcntl.h>
#include <unistd.h>

using Status = NativePlayer::Status;
using Domain = PlatformError::Domain;
using namespace std::chrono_literals;


namespace {
PlaybackSession::Timing withTiming(std::chrono::milliseconds watchdog,
                                   std::chrono::milliseconds toast = std::chrono::milliseconds(2600))
{
    PlaybackSession::Timing timing;
    timing.watchdog = watchdog;
    timing.toast = toast;
    return timing;
}


const MediaSource clip = SessionHarness::localSource(QStringLiteral("/media/clip.mp4"),
                                                     QStringLiteral("Evening news: part 2/3"));

// Runs the action with standard error sent to a file and returns what was written.
QByteArray capturedStandardError(const std::function<void()> &action)
{
    QTemporaryFile file;
    if (!file.open())
        return "<no file>";
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(file.handle(), STDERR_FILENO);
    action();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    file.seek(0);
    return file.readAll();
}

} // namespace

// What the session tells the user: error records, status lines, toasts and screenshot notices.
class TestSessionFeedback : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<SessionHarness> m_harness;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        // The Desktop folder becomes $HOME/Desktop inside the temporary home.
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(u"config"_qs)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(u"data"_qs)));
        qunsetenv("XDG_DESKTOP_DIR");
    }

    void init()
    {
        m_harness = std::make_unique<SessionHarness>();
        QVERIFY(m_harness->isValid());
        L10n::setLanguage(AppLanguage::en);
    }

    void cleanup()
    {
        m_harness.reset();
        L10n::setLanguage(AppLanguage::system);
    }

    void statusText_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("text");
        QTest::newRow("loading") << AppLanguage::en << u"loading"_qs << u"Opening…"_qs;
        QTest::newRow("loading, Spanish") << AppLanguage::es << u"loading"_qs << u"Abriendo…"_qs;
        QTest::newRow("loading, Chinese") << AppLanguage::zh << u"loading"_qs << u"正在打开…"_qs;
        QTest::newRow("failed") << AppLanguage::en << u"failed"_qs << u"Failed"_qs;
        QTest::newRow("failed, Spanish") << AppLanguage::es << u"failed"_qs << u"Error"_qs;
        QTest::newRow("failed while hidden, Chinese") << AppLanguage::zh << u"failed hidden"_qs << u"打开失败"_qs;
        QTest::newRow("playing") << AppLanguage::en << u"playing"_qs << u"Playing"_qs;
        QTest::newRow("playing, Chinese") << AppLanguage::zh << u"playing"_qs << u"正在播放"_qs;
        QTest::newRow("paused") << AppLanguage::en << u"paused"_qs << u"Paused"_qs;
        QTest::newRow("paused, Spanish") << AppLanguage::es << u"paused"_qs << u"En pausa"_qs;
        QTest::newRow("hidden") << AppLanguage::en << u"hidden"_qs << u"Hidden"_qs;
        QTest::newRow("hidden, Spanish") << AppLanguage::es << u"hidden"_qs << u"Oculto"_qs;
        QTest::newRow("hidden, Chinese") << AppLanguage::zh << u"hidden"_qs << u"已收起"_qs;
    }

    void statusText()
    {
        QFETCH(AppLanguage, language);
        QFETCH(QString, situation);
        QFETCH(QString, text);
        m_harness->preferences().setPauseWhenHidden(false);
        auto session = m_harness->open(clip);
        FakeNativePlayer *player = m_harness->player();
        if (situation != u"loading")
            player->emitStatus(player->currentItem(), Status::readyToPlay);
        if (situation.startsWith(u"failed"))
            player->emitStatus(player->currentItem(), Status::failed);
        if (situation == u"paused")
            session->togglePlayback();
        if (situation.endsWith(u"hidden"))
            session->setHidden(true);
        L10n::setLanguage(language);
        QCOMPARE(session->statusText(), text);
    }

    void progressIsAClampedShare_data()
    {
        QTest::addColumn<std::optional<double>>("duration");
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<double>("progress");
        QTest::newRow("unknown length") << std::optional<double>() << 30.0 << 0.0;
        QTest::newRow("half") << std::optional(100.0) << 50.0 << 0.5;
        QTest::newRow("start") << std::optional(100.0) << 0.0 << 0.0;
        QTest::newRow("past the end") << std::optional(100.0) << 150.0 << 1.0;
    }

    void progressIsAClampedShare()
    {
        QFETCH(std::optional<double>, duration);
        QFETCH(double, elapsed);
        QFETCH(double, progress);
        auto session = m_harness->open(clip);
        FakeNativePlayer *player = m_harness->player();
        player->emitDuration(player->currentItem(), duration);
        player->emitTick(player->currentItem(), elapsed);
        QCOMPARE(session->progress(), progress);
    }

    void newerToastStaysItsFullTime()
    {
        const auto toastTime = 800ms;
        auto session = m_harness->open(clip, std::nullopt, withTiming(30000ms, toastTime));
        QSignalSpy toasts(session.get(), &PlaybackSession::toastChanged);
        QElapsedTimer clock;
        clock.start();
        session->showToast(u"first"_qs);
        QCOMPARE(session->toast(), std::optional(u"first"_qs));
        QTRY_VERIFY(clock.elapsed() >= 200);
        QCOMPARE(session->toast(), std::optional(u"first"_qs));
        session->showToast(u"second"_qs);
        QElapsedTimer second;
        second.start();
        QTRY_VERIFY_WITH_TIMEOUT(!session->toast(), 3000);
        // The first toast's time ran out 600 ms in without clearing the second one.
        QVERIFY2(second.elapsed() >= 700, qPrintable(QString::number(second.elapsed())));
        QCOMPARE(toasts.size(), 3);
        QCOMPARE(toasts.at(1).at(0).value<std::optional<QString>>(), std::optional(u"second"_qs));
    }

    void screenshotNamesTheFileAndToasts_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("toast");
        QTest::newRow("saved") << AppLanguage::en << true << u""_qs << u"Screenshot saved to Desktop"_qs;
        QTest::newRow("saved, Spanish") << AppLanguage::es << true << u""_qs << u"Captura guardada en el escritorio"_qs;
        QTest::newRow("saved, Chinese") << AppLanguage::zh << true << u""_qs << u"已保存截图到桌面"_qs;
        QTest::newRow("failed") << AppLanguage::en << false << u"no frame"_qs << u"Screenshot failed"_qs;
        QTest::newRow("failed, Spanish") << AppLanguage::es << false << u"no frame"_qs << u"Error al capturar"_qs;
        QTest::newRow("failed with reason, Chinese") << AppLanguage::zh << false << u"no frame"_qs
                                                     << u"截图失败：no frame"_qs;
        QTest::newRow("failed without reason, Chinese") << AppLanguage::zh << false << u""_qs
                                                        << u"截图失败：请重试"_qs;
    }

    void screenshotNamesTheFileAndToasts()
    {
        QFETCH(AppLanguage, language);
        QFETCH(bool, ok);
        QFETCH(QString, error);
        QFETCH(QString, toast);
        auto session = m_harness->open(clip);
        FakeNativePlayer *player = m_harness->player();
        player->emitStatus(player->currentItem(), Status::readyToPlay);
        L10n::setLanguage(language);
        const QString folder = AppPaths::screenshotFolder();
        QCOMPARE(folder, QDir(m_home.path()).filePath(u"Desktop/澜萤截图"_qs));
        QDir(folder).removeRecursively();

        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        session->captureScreenshot();
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(player->frameRequests().size(), 1);
        const QString path = player->frameRequests().first().path;
        const QRegularExpression name(u"^Evening news- part 2-3-(\\d{8}-\\d{6})\\.png$"_qs);
        const QRegularExpressionMatch match = name.match(QFileInfo(path).fileName());
        QVERIFY2(match.hasMatch(), qPrintable(path));
        QCOMPARE(QFileInfo(path).absolutePath(), folder);
        const QDateTime stamp = QDateTime::fromString(match.captured(1), u"yyyyMMdd-HHmmss"_qs);
        QVERIFY2(stamp >= before && stamp <= after, qPrintable(match.captured(1)));
        QVERIFY(!session->toast());

        QVERIFY(player->completeFrameRequest(ok, error));
        QCOMPARE(session->toast(), std::optional(toast));
        QCOMPARE(QFileInfo::exists(path), ok);
        // The session's state is not touched either way.
        QVERIFY(session->state().isReady());
    }

    void debugLinesOnlyWhenAskedFor_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("written");
        QTest::newRow("1") << QByteArray("1") << true;
        QTest::newRow("unset") << QByteArray() << false;
        QTest::newRow("0") << QByteArray("0") << false;
        QTest::newRow("true") << QByteArray("true") << false;
        QTest::newRow("1 with a space") << QByteArray("1 ") << false;
    }

    void debugLinesOnlyWhenAskedFor()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, written);
        if (value.isNull())
            qunsetenv("LUMIVANE_DEBUG");
        else
            qputenv("LUMIVANE_DEBUG", value);
        const QByteArray output = capturedStandardError([] {
            DebugLog::debug(u"[kt] fail: decode 无法解码"_qs);
        });
        qunsetenv("LUMIVANE_DEBUG");
        QCOMPARE(output, written ? QByteArray("[kt] fail: decode 无法解码\n") : QByteArray());
    }

    void failureIsLoggedWithItsKind()
    {
        qputenv("LUMIVANE_DEBUG", "1");
        auto session = m_harness->open(clip);
        FakeNativePlayer *player = m_harness->player();
        const QByteArray output = capturedStandardError([player] {
            player->emitStatus(player->currentItem(), Status::failed,
                               PlatformError{Domain::media, -17, u"Bad data."_qs});
        });
        qunsetenv("LUMIVANE_DEBUG");
        QVERIFY2(output.contains("[kt] item status=2 error=Bad data.\n"), output.constData());
        QVERIFY2(output.contains("[kt] fail: decode Bad data.\n"), output.constData());
    }
};

QTEST_MAIN(TestSessionFeedback)
#include "tst_sessionfeedback.moc"
