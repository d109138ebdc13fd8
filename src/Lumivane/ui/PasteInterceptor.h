#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

// Ctrl+V anywhere in a window outside a text field: the key is taken before any shortcut
// and pasted() is emitted. Inside a text field it pastes there as usual.
class PasteInterceptor final : public QObject
{
    Q_OBJECT

public:
    explicit PasteInterceptor(QWidget &window);
    ~PasteInterceptor() override;

Q_SIGNALS:
    void pasted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool concerns(QObject *watched, const QKeyEvent &key) const;

    QPointer<QWidget> m_window;
};
