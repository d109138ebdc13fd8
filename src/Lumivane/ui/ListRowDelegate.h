#pragma once

#include "ui/ShellLook.h"

#include <QHash>
#include <QIcon>
#include <QStyledItemDelegate>

// A list row drawn as a card with round icon buttons on its right: the base of the home
// window's history and playlist rows. Subclasses draw the content and name the buttons;
// clicks on a button and double clicks on the row come out as signals.
class ListRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    struct Button {
        QString icon;
        QString help;
        // Drawn in the accent colour (a starred item's star).
        bool highlighted = false;
    };

    explicit ListRowDelegate(QObject *parent = nullptr);

    void setLook(const ShellLook::Palette &palette);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const final;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const final;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) final;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) final;
    // Where a button of the row at the given place is drawn and clicked.
    QRect buttonRect(const QRect &row, const QModelIndex &index, int button) const;

Q_SIGNALS:
    void buttonClicked(const QModelIndex &index, int button);
    void rowActivated(const QModelIndex &index);

protected:
    virtual QList<Button> buttons(const QModelIndex &index) const = 0;
    virtual void paintContent(QPainter &painter, const QRect &rect, const QModelIndex &index) const = 0;
    virtual int rowHeight() const = 0;

    const ShellLook::Palette &look() const { return m_palette; }
    QIcon tinted(const QString &icon, const QColor &color) const;
    // The card without its margins, and the part of it left of the buttons.
    static QRect cardRect(const QRect &row);
    QRect contentRect(const QRect &row, const QModelIndex &index) const;

private:
    static QRect buttonRect(const QRect &row, int count, int button);
    int buttonAt(const QRect &row, const QModelIndex &index, const QPoint &point) const;

    ShellLook::Palette m_palette;
    mutable QHash<QString, QIcon> m_icons;
};
