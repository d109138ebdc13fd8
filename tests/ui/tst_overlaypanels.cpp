#include "ui/ElidedLabel.h"
#include "ui/OpacityPopover.h"
#include "ui/StatusPanel.h"
#include "ui/VolumePopover.h"

#include "KiteCore/L10n.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

class TestOverlayPanels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { L10n::setLanguage(AppLanguage::en); }
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    // Showing the session's value must not write it back; the slider and Mute do.
    void volume()
    {
        VolumePopover popover;
        QSignalSpy chosen(&popover, &VolumePopover::volumeChosen);
        QSignalSpy mute(&popover, &VolumePopover::muteRequested);
        popover.setVolume(0.85);
        QCOMPARE(popover.percentText(), u"85%"_qs);
        QCOMPARE(chosen.size(), 0);
        popover.slider()->setValue(30);
        QCOMPARE(chosen.takeFirst().first().toDouble(), 0.3);
        popover.muteButton()->click();
        QCOMPARE(mute.size(), 1);
    }

    // A preset is chosen and shown checked alone; the slider stops at 25 %.
    void opacity()
    {
        OpacityPopover popover;
        QSignalSpy chosen(&popover, &OpacityPopover::opacityChosen);
        QPushButton *half = popover.presetButtons().at(5);
        QCOMPARE(half->text(), u"50%"_qs);
        half->click();
        QCOMPARE(chosen.takeFirst().first().toDouble(), 0.5);
        popover.setOpacity(0.5);
        for (const QPushButton *button : popover.presetButtons())
            QCOMPARE(button->isChecked(), button == half);
        popover.slider()->setValue(5);
        QCOMPARE(popover.slider()->value(), 25);
        QCOMPARE(chosen.last().first().toDouble(), 0.25);
    }

    void titleElides()
    {
        ElidedLabel label;
        label.resize(120, 20);
        label.setText(u"An evening news programme with a very long title indeed"_qs);
        QVERIFY(label.shownText().endsWith(QChar(0x2026)));
        QVERIFY(label.fontMetrics().horizontalAdvance(label.shownText()) <= 120);
        label.setText(u"Clip"_qs);
        QCOMPARE(label.shownText(), u"Clip"_qs);
    }

    // The failure page shows the error; each button raises its own request and no other.
    void statusPanel()
    {
        StatusPanel panel;
        panel.showFailure(AppError(AppError::Kind::network, u"Something broke."_qs, u"Check the network."_qs));
        QVERIFY(panel.showingFailure());
        QCOMPARE(panel.iconName(), u"kind-network"_qs);
        QCOMPARE(panel.message(), u"Something broke."_qs);
        QCOMPARE(panel.recovery(), u"Check the network."_qs);
        QList<QSignalSpy *> spies{new QSignalSpy(&panel, &StatusPanel::retryRequested),
                                  new QSignalSpy(&panel, &StatusPanel::externalPlayerRequested),
                                  new QSignalSpy(&panel, &StatusPanel::openInBrowserRequested),
                                  new QSignalSpy(&panel, &StatusPanel::copyLinkRequested)};
        const QList<std::pair<QString, int>> buttons{{u"retryButton"_qs, 0}, {u"externalButton"_qs, 1},
                                                     {u"browserButton"_qs, 2}, {u"copyLinkButton"_qs, 3},
                                                     {u"loadingExternalButton"_qs, 1}};
        for (const auto &[name, signal] : buttons) {
            panel.button(name)->click();
            for (int i = 0; i < spies.size(); ++i)
                QCOMPARE(spies.at(i)->size(), i == signal ? 1 : 0);
            for (QSignalSpy *spy : spies)
                spy->clear();
        }
        qDeleteAll(spies);
    }
};

QTEST_MAIN(TestOverlayPanels)
#include "tst_overlaypanels.moc"
