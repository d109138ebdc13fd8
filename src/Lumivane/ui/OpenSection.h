#pragma once

#include <QWidget>

class AppModel;
class HomeErrorCard;
class QLabel;
class QLineEdit;
class QPushButton;
class QAction;

// The Open section: the input card with Paste and Open, the error card, the Open File card,
// what can be opened with the site counts, and tips.
class OpenSection final : public QWidget
{
    Q_OBJECT

public:
    explicit OpenSection(AppModel &model, QWidget *parent = nullptr);

    // The tip about lost windows names the tray only where there is one.
    void setTrayAvailable(bool available);
    void focusInput();
    // Symbols follow the theme.
    void setIconColor(const QColor &color);

    QLineEdit *inputField() const { return m_input; }
    QPushButton *openButton() const { return m_open; }
    QPushButton *pasteButton() const { return m_paste; }
    HomeErrorCard *errorCard() const { return m_errorCard; }

private:
    QWidget *buildInputCard();
    QWidget *buildFileCard();
    QWidget *buildKindsCard();
    QWidget *buildTips();
    void connectModel();
    void showError();
    void openInput();
    void openExternally();

    AppModel &m_model;
    QLineEdit *m_input = nullptr;
    QAction *m_clear = nullptr;
    QPushButton *m_paste = nullptr;
    QPushButton *m_open = nullptr;
    HomeErrorCard *m_errorCard = nullptr;
    QLabel *m_lostWindowTip = nullptr;
    QList<QPair<QLabel *, QString>> m_symbols;
};
