#include "ui/ElidedLabel.h"
#include "ui/OpacityPopover.h"
#include "ui/StatusPanel.h"
#include "ui/VolumePopover.h"

#include "KiteCore/L10n.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

using Kind = AppError::Kind;

class TestOverlayPanels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { L10n::setLanguage(AppLanguage::en); }
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    // Showing the session's value must not write it back (that would store it again).
    void volumeShownWithoutEcho()
    {
        VolumePopover popover;
        QSignalSpy chosen(&popover, &VolumePopover::volumeChosen);
        popover.setVolume(0.85);
        QCOMPARE(popover.slider()->value(), 85);
        QCOMPARE(popover.percentText(), u"85%"_qs);
        QCOMPARE(chosen.size(), 0);
    }

    void volumeSliderReportsFraction()
    {
        VolumePopover popover;
        popover.setVolume(0.5);
        QSignalSpy chosen(&popover, &VolumePopover::volumeChosen);
        popover.slider()->setValue(30);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toDouble(), 0.3);
        QCOMPARE(popover.percentText(), u"30%"_qs);
    }

    void muteButton()
    {
        VolumePopover popover;
        QSignalSpy mute(&popover, &VolumePopover::muteRequested);
        QCOMPARE(popover.muteButton()->text(), u"Mute"_qs);
        popover.muteButton()->click();
        QCOMPARE(mute.size(), 1);
    }

    void opacityPresets_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("label");
        QTest::addColumn<double>("value");
        QTest::newRow("100") << 0 << u"100%"_qs << 1.0;
        QTest::newRow("90") << 1 << u"90%"_qs << 0.9;
        QTest::newRow("80") << 2 << u"80%"_qs << 0.8;
        QTest::newRow("70") << 3 << u"70%"_qs << 0.7;
        QTest::newRow("60") << 4 << u"60%"_qs << 0.6;
        QTest::newRow("50") << 5 << u"50%"_qs << 0.5;
        QTest::newRow("25") << 6 << u"25%"_qs << 0.25;
    }

    void opacityPresets()
    {
        QFETCH(int, index);
        QFETCH(QString, label);
        QFETCH(double, value);
        OpacityPopover popover;
        QCOMPARE(popover.presetButtons().size(), 7);
        QPushButton *button = popover.presetButtons().at(index);
        QCOMPARE(button->text(), label);
        QSignalSpy chosen(&popover, &OpacityPopover::opacityChosen);
        button->click();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toDouble(), value);
        popover.setOpacity(value);
        for (int other = 0; other < popover.presetButtons().size(); ++other)
            QCOMPARE(popover.presetButtons().at(other)->isChecked(), other == index);
    }

    void opacitySliderKeepsTheFloor()
    {
        OpacityPopover popover;
        popover.setOpacity(0.42);
        QCOMPARE(popover.slider()->value(), 42);
        QSignalSpy chosen(&popover, &OpacityPopover::opacityChosen);
        popover.slider()->setValue(5);
        QCOMPARE(popover.slider()->value(), 25);
        QCOMPARE(chosen.last().first().toDouble(), 0.25);
        for (QPushButton *button : popover.presetButtons())
            QVERIFY(!button->isChecked() || button->text() == u"25%"_qs);
    }

    void titleElides_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("elided");
        QTest::newRow("short") << u"Clip"_qs << false;
        QTest::newRow("long") << u"An evening news programme with a very long title indeed"_qs << true;
    }

    void titleElides()
    {
        QFETCH(QString, title);
        QFETCH(bool, elided);
        ElidedLabel label;
        label.resize(120, 20);
        label.setText(title);
        QCOMPARE(label.text(), title);
        QCOMPARE(label.shownText() != title, elided);
        if (elided) {
            QVERIFY(label.shownText().endsWith(QChar(0x2026)));
            QVERIFY(label.fontMetrics().horizontalAdvance(label.shownText()) <= 120);
        }
    }

    void failureShowsTheError_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("recovery");
        QTest::newRow("input") << Kind::input << u"kind-input"_qs << QString();
        QTest::newRow("network") << Kind::network << u"kind-network"_qs << u"Check the network."_qs;
        QTest::newRow("decode") << Kind::decode << u"kind-decode"_qs << u"Try another file."_qs;
        QTest::newRow("web") << Kind::web << u"kind-web"_qs << QString();
        QTest::newRow("external") << Kind::external << u"kind-external"_qs << u"Install it."_qs;
        QTest::newRow("storage") << Kind::storage << u"kind-storage"_qs << QString();
    }

    void failureShowsTheError()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, icon);
        QFETCH(QString, recovery);
        StatusPanel panel;
        panel.showLoading();
        QVERIFY(!panel.showingFailure());
        const AppError error(kind, u"Something broke."_qs,
                             recovery.isEmpty() ? std::nullopt : std::optional(recovery));
        panel.showFailure(error);
        QVERIFY(panel.showingFailure());
        QCOMPARE(panel.iconName(), icon);
        QCOMPARE(panel.headline(), error.title());
        QCOMPARE(panel.message(), u"Something broke."_qs);
        QCOMPARE(panel.recovery(), recovery);
    }

    void panelButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("signalIndex");
        QTest::newRow("retry") << u"retryButton"_qs << u"Retry"_qs << 0;
        QTest::newRow("external") << u"externalButton"_qs << u"External player"_qs << 1;
        QTest::newRow("browser") << u"browserButton"_qs << u"Open in browser"_qs << 2;
        QTest::newRow("copy") << u"copyLinkButton"_qs << u"Copy link"_qs << 3;
        QTest::newRow("loading external") << u"loadingExternalButton"_qs
                                          << u"Open in external player"_qs << 1;
    }

    // Each button raises its own request and no other.
    void panelButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, text);
        QFETCH(int, signalIndex);
        StatusPanel panel;
        QSignalSpy retry(&panel, &StatusPanel::retryRequested);
        QSignalSpy external(&panel, &StatusPanel::externalPlayerRequested);
        QSignalSpy browser(&panel, &StatusPanel::openInBrowserRequested);
        QSignalSpy copy(&panel, &StatusPanel::copyLinkRequested);
        QPushButton *found = panel.button(button);
        QVERIFY(found != nullptr);
        QCOMPARE(found->text(), text);
        found->click();
        const QList<int> counts{static_cast<int>(retry.size()), static_cast<int>(external.size()),
                                static_cast<int>(browser.size()), static_cast<int>(copy.size())};
        for (int i = 0; i < counts.size(); ++i)
            QCOMPARE(counts.at(i), i == signalIndex ? 1 : 0);
    }
};

QTEST_MAIN(TestOverlayPanels)
#include "tst_overlaypanels.moc"
