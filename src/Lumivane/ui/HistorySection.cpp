#include "ui/HistorySection.h"

#include "ui/HistoryListModel.h"
#include "ui/HistoryRowDelegate.h"
#include "ui/HomeEmptyState.h"
#include "ui/HomeLook.h"
#include "ui/HomeTexts.h"
#include "app/AppModel.h"

#include "KiteCore/L10n.h"

#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

HistorySection::HistorySection(Kind kind, AppModel &model, ThumbnailLoader &thumbnails, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
    , m_model(model)
    , m_rows(new HistoryListModel(thumbnails, this))
    , m_delegate(new HistoryRowDelegate(*m_rows))
    , m_pages(new QStackedWidget(this))
{
    if (kind == Kind::recent) {
        m_empty = new HomeEmptyState(
            QStringLiteral("clock"), L("这里还什么都没有", "Nothing here yet", "Aún no hay nada"),
            L("打开过的链接和文件会出现在这里——连同上次停下的位置。",
              "Links and files you open show up here — with where you stopped.",
              "Los enlaces y archivos que abras aparecen aquí, con el punto donde lo dejaste."),
            L("打开点什么", "Open something", "Abre algo"), m_pages);
        connect(m_empty, &HomeEmptyState::buttonClicked, &m_model,
                [this] { m_model.setSection(HomeSection::open); });
    } else {
        m_empty = new HomeEmptyState(
            QStringLiteral("star"), L("还没有收藏", "No favorites yet", "Aún no hay favoritos"),
            L("在“最近”里点亮星标，它就会留在这里。", "Star something in Recent and it stays here.",
              "Marca algo con una estrella en Recientes y se quedará aquí."),
            L("前往最近", "Go to Recent", "Ir a Recientes"), m_pages);
        connect(m_empty, &HomeEmptyState::buttonClicked, &m_model,
                [this] { m_model.setSection(HomeSection::recent); });
    }
    m_pages->addWidget(m_empty);
    m_pages->addWidget(buildList());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);
    connect(&m_model, &AppModel::historyChanged, this, &HistorySection::refresh);
    refresh();
}

QWidget *HistorySection::buildList()
{
    auto *page = new QWidget(m_pages);
    m_list = new QListView(page);
    m_list->setObjectName(m_kind == Kind::recent ? QStringLiteral("recentList") : QStringLiteral("favoriteList"));
    m_delegate->setParent(m_list);
    m_list->setModel(m_rows);
    m_list->setItemDelegate(m_delegate);
    m_list->setMouseTracking(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setUniformItemSizes(true);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_delegate, &ListRowDelegate::buttonClicked, this, &HistorySection::onButton);
    connect(m_delegate, &ListRowDelegate::rowActivated, this,
            [this](const QModelIndex &index) { onButton(index, HistoryRowDelegate::openButton); });
    connect(m_list, &QListView::customContextMenuRequested, this, &HistorySection::showContextMenu);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_list, 1);
    layout->addSpacing(6);
    if (m_kind == Kind::favorites) {
        layout->addWidget(HomeLook::label(L("在这里取消星标只会移出收藏，条目仍留在“最近”中。",
                                            "Un-starring here removes it from favorites; the item stays in Recent.",
                                            "Quitar la estrella aquí lo saca de favoritos; el elemento sigue en Recientes."),
                                          QStringLiteral("note"), page));
        return page;
    }
    layout->addWidget(HomeLook::label(L("点亮星标即可保留——收藏不受历史条数上限影响。",
                                        "Star an item to keep it — favorites survive the history limit.",
                                        "Marca un elemento con una estrella para conservarlo: los favoritos "
                                        "sobreviven al límite del historial."),
                                      QStringLiteral("note"), page));
    auto *footer = new QHBoxLayout();
    footer->addWidget(HomeLook::label(L("历史记录只保存在这台电脑上。可在 设置 → 语言与隐私 中关闭。",
                                        "History stays on this computer. Turn it off in Settings → Language & Privacy.",
                                        "El historial se queda en este ordenador. Desactívalo en Ajustes → "
                                        "Idioma y privacidad."),
                                      QStringLiteral("note"), page),
                      1);
    m_clear = new QPushButton(L("清除历史", "Clear history", "Borrar historial"), page);
    m_clear->setObjectName(QStringLiteral("clearHistory"));
    m_clear->setProperty("shellRole", QStringLiteral("danger"));
    m_clear->setToolTip(L("移除所有最近条目，包括收藏", "Remove all recent items, favorites included",
                          "Quitar todos los elementos recientes, favoritos incluidos"));
    m_clear->setCursor(Qt::PointingHandCursor);
    connect(m_clear, &QPushButton::clicked, this, &HistorySection::confirmClear);
    footer->addWidget(m_clear);
    layout->addLayout(footer);
    return page;
}

void HistorySection::setLook(const ShellLook::Palette &palette)
{
    m_delegate->setLook(palette);
    m_empty->setIconColor(palette.text);
    m_list->viewport()->update();
}

void HistorySection::refresh()
{
    m_rows->setItems(m_kind == Kind::recent ? m_model.history() : m_model.favorites());
    m_pages->setCurrentIndex(m_rows->rowCount() == 0 ? 0 : 1);
}

void HistorySection::onButton(const QModelIndex &index, int button)
{
    if (!index.isValid())
        return;
    switch (button) {
    case HistoryRowDelegate::openButton: m_model.open(m_rows->item(index.row()).urlString); break;
    case HistoryRowDelegate::favoriteButton: toggleFavorite(index.row()); break;
    case HistoryRowDelegate::removeButton: remove(index.row()); break;
    default: break;
    }
}

void HistorySection::toggleFavorite(int row)
{
    const HistoryItem &item = m_rows->item(row);
    m_model.setFavorite(item.id, !item.isFavorite);
}

void HistorySection::remove(int row)
{
    m_model.removeFromHistory(m_rows->item(row).id);
}

void HistorySection::showContextMenu(const QPoint &position)
{
    const QModelIndex index = m_list->indexAt(position);
    if (!index.isValid())
        return;
    const HistoryItem item = m_rows->item(index.row());
    QMenu menu(this);
    menu.addAction(L("打开", "Open", "Abrir"), this, [this, item] { m_model.open(item.urlString); });
    menu.addAction(item.isFavorite ? L("取消收藏", "Remove from favorites", "Quitar de favoritos")
                                   : L("加入收藏", "Add to favorites", "Añadir a favoritos"),
                   this, [this, item] { m_model.setFavorite(item.id, !item.isFavorite); });
    menu.addSeparator();
    menu.addAction(L("从历史中移除", "Remove from history", "Quitar del historial"), this,
                   [this, item] { m_model.removeFromHistory(item.id); });
    menu.exec(m_list->viewport()->mapToGlobal(position));
}

void HistorySection::confirmClear()
{
    if (m_confirmation != nullptr)
        return;
    m_confirmation = new QMessageBox(QMessageBox::Warning, QStringLiteral("Lumivane"),
                                     L("清除最近历史？", "Clear recent history?", "¿Borrar el historial reciente?"),
                                     QMessageBox::NoButton, window());
    m_confirmation->setInformativeText(HomeTexts::clearHistoryMessage(int(m_model.history().size())));
    m_confirmation->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *clear = m_confirmation->addButton(L("清除", "Clear", "Borrar"), QMessageBox::DestructiveRole);
    m_confirmation->addButton(L("取消", "Cancel", "Cancelar"), QMessageBox::RejectRole);
    m_confirmation->setDefaultButton(qobject_cast<QPushButton *>(m_confirmation->buttons().last()));
    connect(m_confirmation, &QMessageBox::buttonClicked, this, [this, clear](QAbstractButton *button) {
        if (button == clear)
            m_model.clearHistory();
    });
    connect(m_confirmation, &QObject::destroyed, this, [this] { m_confirmation = nullptr; });
    m_confirmation->open();
}
