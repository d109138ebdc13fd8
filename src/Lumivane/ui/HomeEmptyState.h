#pragma once

#include <QWidget>

class QPushButton;

// What an empty section shows instead of its list: a symbol, a title, a line and a button.
class HomeEmptyState final : public QWidget
{
    Q_OBJECT

public:
    HomeEmptyState(const QString &icon, const QString &title, const QString &text,
                   const QString &buttonText, QWidget *parent = nullptr);

    // Draws the symbol in the colour of the current look.
    void setIconColor(const QColor &color);
    QPushButton *button() const { return m_button; }

Q_SIGNALS:
    void buttonClicked();

private:
    QString m_icon;
    class QLabel *m_symbol;
    QPushButton *m_button = nullptr;
};
