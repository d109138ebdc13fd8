#include "ui/ElidedLabel.h"
#include "ui/OpacityPopover.h"
#include "ui/StatusPanel.h"
#include "ui/VolumePopover.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

class TestOverlayPanels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Showing the session's value writes nothing back; the slider and Mute do.
    void volume()
    {
        VolumePopover popover;
        QSignalSpy chosen(&popover, &VolumePopover::volumeChosen);
        QSignalSpy mute(&popover, &VolumePopover::muteRequested);
        popover.setVolume(0.85);
        QVERIFY(popover.percentText() == u"85%"_qs && chosen.isEmpty());
        popover.slider()->setValue(30);
        popover.muteButton()->click();
        QVERIFY(chosen.size() == 1 && chosen.first().first() == 0.3 && mute.size() == 1);
    }

    // A preset is chosen and shown checked alone; the slider stops at 25 %.
    void opacity()
    {
        OpacityPopover popover;
        QSignalSpy chosen(&popover, &OpacityPopover::opacityChosen);
        QPushButton *half = popover.presetButtons().at(5);
        half->click();
        popover.setOpacity(0.5);
        for (const QPushButton *button : popover.presetButtons())
            QCOMPARE(button->isChecked(), button == half);
        popover.slider()->setValue(5);
        QCOMPARE(popover.slider()->value(), 25);
        QCOMPARE(chosen, (QList<QVariantList>{{0.5}, {0.25}}));
    }

    void titleElides()
    {
        ElidedLabel label;
        label.resize(120, 20);
        label.setText(u"An evening news programme with a very long title indeed"_qs);
        QVERIFY(label.shownText().endsWith(QChar(0x2026)) && label.fontMetrics().horizontalAdvance(label.shownText()) <= 120);
    }

    // The failure page shows the error; each button raises its own request and no other.
    void statusPanel()
    {
        StatusPanel panel;
        panel.showFailure(AppError(AppError::Kind::network, u"Something broke."_qs, u"Check the network."_qs));
        QVERIFY(panel.showingFailure() && panel.iconName() == u"kind-network"_qs);
        QVERIFY(panel.message() == u"Something broke."_qs && panel.recovery() == u"Check the network."_qs);
        QList<int> raised;
        const QList<void (StatusPanel::*)()> requests{&StatusPanel::retryRequested, &StatusPanel::externalPlayerRequested,
                                                      &StatusPanel::openInBrowserRequested, &StatusPanel::copyLinkRequested};
        for (int i = 0; i < requests.size(); ++i)
            connect(&panel, requests.at(i), this, [&raised, i] { raised << i; });
        for (const QString &button : {u"retryButton"_qs, u"externalButton"_qs, u"browserButton"_qs, u"copyLinkButton"_qs,
                                      u"loadingExternalButton"_qs})
            panel.button(button)->click();
        QCOMPARE(raised, (QList<int>{0, 1, 2, 3, 1}));
    }
};

QTEST_MAIN(TestOverlayPanels)
#include "tst_overlaypanels.moc"
