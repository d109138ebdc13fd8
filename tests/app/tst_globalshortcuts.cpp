#include "FakeHotKeyService.h"
#include "ModelHarness.h"
#include "TemporaryHome.h"
#include "app/GlobalShortcuts.h"
#include "app/AppCommands.h"
#include "app/ShortcutDispatcher.h"
#include "platform/ScreenGeometry.h"
#include "windows/PlayerWindowController.h"

#include "KiteCore/WindowGeometry.h"

#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <QTest>

#include <functional>

namespace {
// What a shortcut can change: the window's size, corner, opacity, pin and cinema, the model's state.
QStringList describe(ModelHarness &harness, int window)
{
    AppModel &model = harness.model();
    const PlaybackSession &session = *model.sessions().at(window);
    const GeoRect frame = model.controller(session)->frame();
    const GeoRect visible = ScreenGeometry::visibleFrame(*QGuiApplication::primaryScreen());
    QString corner = u"free"_qs;
    for (const WindowPosition position : WindowPositions::allCases) {
        if (corner == u"free" && WindowGeometry::anchored(frame, position, visible, 0) == frame)
            corner = toRaw(position);
    }
    int hidden = 0, pauses = 0, frames = 0;
    for (const PlaybackSession *each : model.sessions()) {
        hidden += each->isHidden() ? 1 : 0;
        pauses += harness.player(*each)->pauseCount();
        frames += int(harness.player(*each)->frameRequests().size());
    }
    return u"%1x%2|at %3|opacity %4|pinned %5|cinema %6|hidden %7|pauses %8|frames %9|windows %10|home %11"_qs
        .arg(frame.width).arg(frame.height).arg(corner).arg(session.opacity()).arg(session.isPinned())
        .arg(session.isCinema()).arg(hidden).arg(pauses).arg(frames).arg(model.sessions().size())
        .arg(harness.showHomeCalls).split(u'|');
}
} // namespace

class TestGlobalShortcuts final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsPreferencesAndRecording();
    void everyActionReachesItsWindow();
};

void TestGlobalShortcuts::followsPreferencesAndRecording()
{
    ModelHarness harness;
    Preferences &preferences = harness.preferences();
    FakeHotKeyService service;
    GlobalShortcuts shortcuts(&service, preferences);
    QCOMPARE(service.registered(), (QList<quint32>{1, 2, 3}));
    const ShortcutBindingMap pin{{ShortcutAction::togglePin, KeyCombo(17, {KeyCombo::Modifier::control})}};
    struct Row {
        const char *name;
        std::function<void()> step;
        int reloads;
        QList<quint32> registered;
    };
    const QList<Row> rows{
        {"bindings change", [&] { preferences.setShortcutBindings(pin); }, 1, {18}},
        {"recording starts", [&] { Q_EMIT shortcuts.recordingStarted(); }, 1, {}},
        {"starts again", [&] { Q_EMIT shortcuts.recordingStarted(); }, 0, {}},
        {"recording stops", [&] { Q_EMIT shortcuts.recordingStopped(); }, 1, {18}},
        {"stops again", [&] { Q_EMIT shortcuts.recordingStopped(); }, 0, {18}},
        {"switched off", [&] { preferences.setGlobalShortcuts(false); }, 1, {}},
        {"switched on", [&] { preferences.setGlobalShortcuts(true); }, 1, {18}},
    };
    for (const Row &row : rows) {
        const int before = service.releaseCount();
        row.step();
        QVERIFY2(service.releaseCount() - before == row.reloads, row.name);
        QVERIFY2(service.registered() == row.registered, row.name);
    }
}

void TestGlobalShortcuts::everyActionReachesItsWindow()
{
    using A = ShortcutAction;
    struct Row {
        ShortcutAction action;
        QString changes;
        int times = 1;
        // The newest visible window is meant, or the first when it is the active one.
        int target = 1;
    };
    const QList<Row> rows{
        {A::toggleAllWindows, u"hidden 2, pauses 2"_qs},
        {A::playPause, u"pauses 1"_qs},
        {A::pasteAndOpen, u"windows 3, home 1"_qs},
        {A::screenshot, u"frames 1"_qs},
        {A::windowSmall, u"480x296"_qs},
        // The first window opens in the centre.
        {A::windowSmall, u"480x296, at free"_qs, 1, 0},
        {A::windowStandard, u"640x386"_qs},
        {A::windowLarge, u"800x566, at bottomLeft"_qs},
        {A::windowPortrait, u"420x773"_qs},
        {A::windowSquare, u"560x586"_qs},
        {A::fitToVideo, u"640x386"_qs},
        {A::moveTopLeft, u"at topLeft"_qs},
        {A::moveTopRight, u"at topRight"_qs},
        {A::moveBottomLeft, u"at bottomLeft"_qs},
        {A::moveBottomRight, u"at bottomRight"_qs},
        {A::moveCenter, u"at center"_qs},
        {A::opacityUp, u""_qs},
        {A::opacityDown, u"opacity 0.95"_qs},
        {A::opacityDown, u"opacity 0.25"_qs, 20},
        {A::togglePin, u"pinned 0"_qs},
        {A::toggleCinema, u"800x800, at topLeft, cinema 1"_qs},
        {A::windowScaleUp, u"704x394"_qs},
        {A::windowScaleDown, u"576x326"_qs},
    };
    for (const Row &row : rows) {
        TemporaryHome home;
        ModelHarness harness;
        for (int n = 1; n <= 2; ++n) {
            FakeNativePlayer *player = harness.player(*harness.openClip(n));
            player->emitStatus(player->currentItem(), NativePlayer::Status::readyToPlay);
        }
        AppModel &model = harness.model();
        QApplication::setActiveWindow(row.target == 0 ? model.controller(*model.sessions()[0])->window() : nullptr);
        QGuiApplication::clipboard()->setText(ModelHarness::clipURL(3));
        const QStringList before = describe(harness, row.target);
        const QStringList other = describe(harness, 1 - row.target);
        AppCommands commands(model);
        QObject::connect(&commands, &AppCommands::homeRequested, [&harness] { ++harness.showHomeCalls; });
        ShortcutDispatcher dispatcher(model, commands);
        for (int n = 0; n < row.times; ++n)
            dispatcher.perform(row.action);
        QStringList changes = describe(harness, row.target);
        changes.removeIf([&before](const QString &item) { return before.contains(item); });
        QCOMPARE(changes.join(u", "_qs), row.changes);
        if (row.target == 0)
            QCOMPARE(describe(harness, 1), other);
    }
}

QTEST_MAIN(TestGlobalShortcuts)
#include "tst_globalshortcuts.moc"
