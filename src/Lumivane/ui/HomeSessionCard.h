#pragma once

#include "ui/ShellLook.h"
#include "playback/PlaybackSession.h"

#include <QFrame>
#include <QPointer>

class ElidedLabel;
class QLabel;
class QPushButton;

// One floating window in the Windows section: a dot in the colour of its state, the title and
// status, Play/Pause, Show/Hide and Close window.
class HomeSessionCard final : public QFrame
{
    Q_OBJECT

public:
    HomeSessionCard(PlaybackSession &session, const ShellLook::Palette &palette, bool hasTray,
                    QWidget *parent = nullptr);

    void refresh();
    PlaybackSession *session() const { return m_session; }

Q_SIGNALS:
    void showRequested(PlaybackSession *session);
    void hideRequested(PlaybackSession *session);
    void closeRequested(PlaybackSession *session);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPushButton *button(const QString &objectName);
    void togglePlayback();

    QPointer<PlaybackSession> m_session;
    ShellLook::Palette m_palette;
    bool m_hasTray;
    QColor m_tone;
    ElidedLabel *m_title;
    QLabel *m_status;
    QPushButton *m_play;
    QPushButton *m_visibility;
    QPushButton *m_close;
};
