#pragma once

#include "KiteCore/AppError.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QStackedLayout;

// The centre of the overlay while a session is not ready: "Opening" while loading,
// "Buffering" while native playback waits for data, the error with its recovery and the way
// out when it failed.
class StatusPanel final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int preferredWidth = 300;

    explicit StatusPanel(QWidget *parent = nullptr);

    void showLoading();
    void showBuffering();
    void showFailure(const AppError &error);
    // Low windows: no icon and tighter spacing, so the failure still fits.
    void setCompact(bool compact);

    bool showingFailure() const;
    QString headline() const;
    QString message() const;
    QString recovery() const;
    QString iconName() const { return m_iconName; }
    QPushButton *button(const QString &objectName) const;

Q_SIGNALS:
    void retryRequested();
    void externalPlayerRequested();
    void openInBrowserRequested();
    void copyLinkRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void showPage(QWidget *page);
    QWidget *buildLoadingPage();
    QWidget *buildFailurePage();
    QPushButton *addButton(QWidget *page, const QString &name, const QString &text, bool primary,
                           void (StatusPanel::*signal)());

    QStackedLayout *m_pages;
    QWidget *m_loadingPage = nullptr;
    QLabel *m_loadingTitle = nullptr;
    QLabel *m_loadingHint = nullptr;
    QWidget *m_failurePage = nullptr;
    QLabel *m_icon = nullptr;
    QLabel *m_headline = nullptr;
    QLabel *m_message = nullptr;
    QLabel *m_recovery = nullptr;
    QString m_iconName;
};
