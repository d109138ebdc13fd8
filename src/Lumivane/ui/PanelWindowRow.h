#pragma once

#include "ui/ShellLook.h"

#include <QFrame>
#include <QPointer>

class ElidedLabel;
class PlaybackSession;
class QLabel;
class QToolButton;

// One floating window in the tray panel: a marker in the colour of its state, the title, a
// subtitle with the status (and times for media of known length), Play/Pause, Hide/Show and
// close. A click on the row itself shows the window.
class PanelWindowRow final : public QFrame
{
    Q_OBJECT

public:
    PanelWindowRow(PlaybackSession &session, const ShellLook::Palette &palette,
                   QWidget *parent = nullptr);

    // Reads the session again.
    void refresh();

    PlaybackSession *session() const;

Q_SIGNALS:
    void showRequested(PlaybackSession *session);
    void hideRequested(PlaybackSession *session);
    void closeRequested(PlaybackSession *session);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QToolButton *button(const QString &objectName);
    void setSymbol(QToolButton &button, const QString &icon, const QString &label);
    void togglePlayback();

    QPointer<PlaybackSession> m_session;
    ShellLook::Palette m_palette;
    QColor m_tone;
    ElidedLabel *m_title;
    QLabel *m_subtitle;
    QToolButton *m_play;
    QToolButton *m_visibility;
    QToolButton *m_close;
};
