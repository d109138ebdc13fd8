#pragma once

#include <QWidget>

#include <optional>

class AppError;
class AppModel;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenuBar;
class QPushButton;

// The start window: a field for a link or path with Open, Open File… and Paste, the error
// card for the model's current error, a storage warning line and the recent list. Files,
// folders, links and text dropped anywhere on it go to the model.
class HomeWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit HomeWindow(AppModel &model, QWidget *parent = nullptr);

    // Shows, raises and focuses the window.
    void bringForward();
    // The main menu along the top edge, outside the content margins.
    void setMenuBar(QMenuBar *menuBar);
    // "Lumivane" ("澜萤 Lumivane" in Chinese) in the current language.
    void applyTitle();

    QLineEdit *inputField() const { return m_input; }
    QPushButton *openButton() const { return m_open; }
    QFrame *errorCard() const { return m_errorCard; }
    QLabel *storageWarningLabel() const { return m_storageWarning; }
    QListWidget *recentList() const { return m_recent; }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QWidget *buildInputRow();
    QFrame *buildErrorCard();
    void connectModel();
    void showError(const std::optional<AppError> &error);
    void showStorageWarning(const std::optional<QString> &warning);
    void refreshRecent();
    void refreshOpenButton();
    void openInput();
    void openRecent(const QListWidgetItem *item);

    AppModel &m_model;
    QLineEdit *m_input = nullptr;
    QPushButton *m_open = nullptr;
    QFrame *m_errorCard = nullptr;
    QLabel *m_errorTitle = nullptr;
    QLabel *m_errorMessage = nullptr;
    QLabel *m_errorRecovery = nullptr;
    QLabel *m_storageWarning = nullptr;
    QListWidget *m_recent = nullptr;
    QLabel *m_recentEmpty = nullptr;
};
