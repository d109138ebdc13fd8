#pragma once

#include "ui/ShellLook.h"

#include <QAbstractButton>

// A sidebar entry: symbol, title and a count badge; the selected one is highlighted.
class HomeNavButton final : public QAbstractButton
{
    Q_OBJECT

public:
    HomeNavButton(const QString &icon, const QString &title, QWidget *parent = nullptr);

    void setLook(const ShellLook::Palette &palette);
    // No badge at zero.
    void setBadge(int count);
    int badge() const { return m_badge; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    QString m_icon;
    ShellLook::Palette m_palette;
    QIcon m_normal;
    QIcon m_selected;
    int m_badge = 0;
    bool m_hovered = false;
    // The focus ring shows only for keyboard navigation.
    bool m_keyboardFocus = false;
};
