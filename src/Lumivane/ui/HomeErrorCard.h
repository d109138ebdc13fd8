#pragma once

#include "KiteCore/AppError.h"

#include <QFrame>

class QLabel;
class QPushButton;

// The model's current error under the input: a symbol for its kind, the headline, message and
// hint, and Retry, an external button (only when the input parses) and Dismiss.
class HomeErrorCard final : public QFrame
{
    Q_OBJECT

public:
    explicit HomeErrorCard(QWidget *parent = nullptr);

    void setError(const AppError &error, bool canOpenExternal);
    QPushButton *retryButton() const { return m_retry; }
    QPushButton *externalButton() const { return m_external; }
    QPushButton *dismissButton() const { return m_dismiss; }

Q_SIGNALS:
    void retryRequested();
    void externalRequested();
    void dismissRequested();

private:
    QLabel *m_symbol;
    QLabel *m_title;
    QLabel *m_message;
    QLabel *m_recovery;
    QPushButton *m_retry;
    QPushButton *m_external;
    QPushButton *m_dismiss;
};
