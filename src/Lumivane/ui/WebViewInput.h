#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Watches the input of a web page's view. The engine's view hands its input to child
// widgets it creates and replaces on its own (the rendering surface), so the view and every
// widget below it, present and later, are watched. Presses are reported and logged; they
// still reach the page. Escape is the window's: the engine keeps it to itself even when the
// page leaves it unhandled, so it is taken before the page sees it.
class WebViewInput final : public QObject
{
    Q_OBJECT

public:
    explicit WebViewInput(QObject *parent = nullptr);

    // Watches view (and its descendants) instead of the previous one; null stops watching.
    void watch(QWidget *view);
    QWidget *watched() const { return m_view; }

Q_SIGNALS:
    void pressed();
    void escapePressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchTree(QWidget &widget);
    void unwatchTree(QWidget &widget);

    QPointer<QWidget> m_view;
};
