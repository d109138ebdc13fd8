#include "FakeHotKeyService.h"
#include "ModelHarness.h"
#include "TemporaryHome.h"
#include "app/GlobalShortcuts.h"
#include "app/ShortcutDispatcher.h"
#include "platform/ScreenGeometry.h"
#include "windows/PlayerWindowController.h"

#include "KiteCore/L10n.h"
#include "KiteCore/WindowGeometry.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <functional>

namespace {
using Modifier = KeyCombo::Modifier;

QList<quint32> registeredIDs(const FakeHotKeyService &service)
{
    QList<quint32> ids;
    for (const HotKeyService::HotKey &hotKey : service.registered())
        ids.append(hotKey.id);
    return ids;
}

// Which corner or centre of the screen the frame sits in, if any.
QString placement(const GeoRect &frame)
{
    const GeoRect visible = ScreenGeometry::visibleFrame(*QGuiApplication::primaryScreen());
    for (const WindowPosition position : WindowPositions::allCases) {
        if (WindowGeometry::anchored(frame, position, visible, 0) == frame)
            return toRaw(position);
    }
    return u"free"_qs;
}

// What a shortcut can change: the target window and the model around it.
QString describe(ModelHarness &harness, int target)
{
    AppModel &model = harness.model();
    const PlaybackSession &session = *model.sessions().at(target);
    const GeoRect frame = model.controller(session)->frame();
    int hidden = 0, pauses = 0, frames = 0;
    for (const PlaybackSession *each : model.sessions()) {
        hidden += each->isHidden() ? 1 : 0;
        pauses += harness.player(*each)->pauseCount();
        frames += int(harness.player(*each)->frameRequests().size());
    }
    return u"%1x%2 %3, opacity %4, pinned %5, cinema %6 | hidden %7, pauses %8, frames %9, "
           "windows %10, home %11"_qs.arg(frame.width).arg(frame.height).arg(placement(frame))
        .arg(session.opacity()).arg(session.isPinned()).arg(session.isCinema()).arg(hidden)
        .arg(pauses).arg(frames).arg(model.sessions().size()).arg(harness.showHomeCalls);
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
    QCOMPARE(registeredIDs(service), (QList<quint32>{1, 2, 3}));
    const KeyCombo ctrlAltT(17, {Modifier::control, Modifier::option});

    struct Row {
        const char *name;
        std::function<void()> step;
        int reloads;
        QList<quint32> registered;
    };
    const QList<Row> rows{
        {"bindings change", [&] { preferences.setShortcutBindings({{ShortcutAction::togglePin, ctrlAltT}}); },
         1, {18}},
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
        QVERIFY2(registeredIDs(service) == row.registered, row.name);
    }
}

void TestGlobalShortcuts::everyActionReachesItsWindow()
{
    using A = ShortcutAction;
    const QString window = u"640x360 free, opacity 1, pinned 1, cinema 0"_qs;
    const QString model = u"hidden 0, pauses 0, frames 0, windows 2, home 0"_qs;
    struct Row {
        ShortcutAction action;
        QString window;
        QString model;
        int times = 1;
        // The window meant: the newest visible one, or the first when it is active.
        int target = 1;
    };
    const QList<Row> rows{
        {A::toggleAllWindows, window, u"hidden 2, pauses 2, frames 0, windows 2, home 0"_qs},
        {A::playPause, window, u"hidden 0, pauses 1, frames 0, windows 2, home 0"_qs},
        {A::pasteAndOpen, window, u"hidden 0, pauses 0, frames 0, windows 3, home 1"_qs},
        {A::screenshot, window, u"hidden 0, pauses 0, frames 1, windows 2, home 0"_qs},
        {A::windowSmall, u"480x296 free, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::windowSmall, u"480x296 free, opacity 1, pinned 1, cinema 0"_qs, model, 1, 0},
        {A::windowStandard, u"640x386 free, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::windowLarge, u"800x566 bottomLeft, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::windowPortrait, u"420x773 free, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::windowSquare, u"560x586 free, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::fitToVideo, u"640x386 free, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::moveTopLeft, u"640x360 topLeft, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::moveTopRight, u"640x360 topRight, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::moveBottomLeft, u"640x360 bottomLeft, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::moveBottomRight, u"640x360 bottomRight, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::moveCenter, u"640x360 center, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::opacityUp, window, model},
        {A::opacityDown, u"640x360 free, opacity 0.95, pinned 1, cinema 0"_qs, model},
        {A::opacityDown, u"640x360 free, opacity 0.25, pinned 1, cinema 0"_qs, model, 20},
        {A::togglePin, u"640x360 free, opacity 1, pinned 0, cinema 0"_qs, model},
        {A::toggleCinema, u"800x800 topLeft, opacity 1, pinned 1, cinema 1"_qs, model},
        {A::windowScaleUp, u"704x394 free, opacity 1, pinned 1, cinema 0"_qs, model},
        {A::windowScaleDown, u"576x326 free, opacity 1, pinned 1, cinema 0"_qs, model},
    };
    L10n::setLanguage(AppLanguage::en);
    for (const Row &row : rows) {
        TemporaryHome home;
        ModelHarness harness;
        for (int n = 1; n <= 2; ++n) {
            FakeNativePlayer *player = harness.player(*harness.openClip(n));
            player->emitStatus(player->currentItem(), NativePlayer::Status::readyToPlay);
        }
        const QList<PlaybackSession *> sessions = harness.model().sessions();
        QApplication::setActiveWindow(row.target == 0 ? harness.model().controller(*sessions[0])->window() : nullptr);
        QGuiApplication::clipboard()->setText(ModelHarness::clipURL(3));
        ShortcutDispatcher dispatcher(harness.model());
        for (int n = 0; n < row.times; ++n)
            dispatcher.perform(row.action);
        const QString expected = row.window + u" | "_qs + row.model;
        QVERIFY2(describe(harness, row.target) == expected,
                 qPrintable(toRaw(row.action) + u": "_qs + describe(harness, row.target)));
        if (row.target == 0)
            QCOMPARE(describe(harness, 1), window + u" | "_qs + model);
    }
}

QTEST_MAIN(TestGlobalShortcuts)
#include "tst_globalshortcuts.moc"
