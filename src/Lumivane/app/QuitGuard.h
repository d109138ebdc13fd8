#pragma once

#include <QObject>

class AppModel;

// Watches the application object for its quit request. Qt closes every window before the
// application quits, so the model has to save its window list before that happens.
class QuitGuard final : public QObject
{
    Q_OBJECT

public:
    explicit QuitGuard(AppModel &model, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AppModel &m_model;
};
