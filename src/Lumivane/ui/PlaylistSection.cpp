#include "ui/PlaylistSection.h"

#include "ui/HomeEmptyState.h"
#include "ui/HomeLook.h"
#include "ui/HomeTexts.h"
#include "ui/PlaylistListModel.h"
#include "ui/PlaylistRowDelegate.h"
#include "app/AppModel.h"

#include "KiteCore/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

PlaylistSection::PlaylistSection(AppModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_rows(new PlaylistListModel(this))
    , m_delegate(new PlaylistRowDelegate(*m_rows, this))
    , m_pages(new QStackedWidget(this))
    , m_empty(new HomeEmptyState(QStringLiteral("playlist"), L("播放列表是空的", "Your playlist is empty", "Tu lista está vacía"),
                                 L("把文件夹拖到这里，或用“添加文件夹”——其中的音视频文件会按名称排队，一个接一个播放。",
                                   "Drop a folder here, or use Add folder — its audio/video files get queued in name "
                                   "order and play one after another.",
                                   "Suelta una carpeta aquí o usa Añadir carpeta: sus archivos de audio y vídeo se ponen "
                                   "en cola por nombre y se reproducen uno tras otro."),
                                 QString(), m_pages))
{
    m_pages->addWidget(m_empty);
    m_pages->addWidget(buildList());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(buildHeader());
    layout->addWidget(m_pages, 1);
    connect(&m_model, &AppModel::playlistChanged, this, &PlaylistSection::refresh);
    connect(&m_model, &AppModel::currentPlaylistItemIDChanged, m_rows, &PlaylistListModel::setCurrent);
    refresh();
}

QWidget *PlaylistSection::buildHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    m_count = HomeLook::label(QString(), QStringLiteral("pill"), header);
    m_count->setObjectName(QStringLiteral("playlistCount"));
    row->addWidget(m_count);
    row->addStretch(1);
    const auto add = [&](const QString &name, const QString &icon, const QString &text, void (AppModel::*slot)()) {
        auto *button = new QPushButton(text, header);
        button->setObjectName(name);
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QPushButton::clicked, &m_model, slot);
        m_iconButtons.append({button, icon});
        row->addWidget(button);
        return button;
    };
    add(QStringLiteral("addFiles"), QStringLiteral("plus"), L("添加文件", "Add files", "Añadir archivos"),
        &AppModel::addFilesToPlaylist);
    add(QStringLiteral("addFolder"), QStringLiteral("folder"), L("添加文件夹", "Add folder", "Añadir carpeta"),
        &AppModel::addFolderToPlaylist);
    m_clear = add(QStringLiteral("clearPlaylist"), QStringLiteral("trash"), L("清空", "Clear", "Vaciar"),
                  &AppModel::clearPlaylist);
    return header;
}

QWidget *PlaylistSection::buildList()
{
    auto *page = new QWidget(m_pages);
    m_list = new QListView(page);
    m_list->setObjectName(QStringLiteral("playlistList"));
    m_list->setModel(m_rows);
    m_list->setItemDelegate(m_delegate);
    m_list->setMouseTracking(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setUniformItemSizes(true);
    connect(m_delegate, &ListRowDelegate::buttonClicked, this, &PlaylistSection::onButton);
    connect(m_delegate, &ListRowDelegate::rowActivated, this,
            [this](const QModelIndex &index) { onButton(index, PlaylistRowDelegate::playButton); });
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(m_list, 1);
    layout->addWidget(HomeLook::label(L("当前条目播完后会自动播放下一个——除非开启了循环。",
                                        "The next item starts automatically when the current one ends — unless loop is on.",
                                        "El siguiente elemento empieza solo cuando termina el actual, salvo que la "
                                        "repetición esté activada."),
                                      QStringLiteral("note"), page));
    return page;
}

void PlaylistSection::setLook(const ShellLook::Palette &palette)
{
    m_delegate->setLook(palette);
    m_empty->setIconColor(palette.text);
    for (const auto &[button, icon] : std::as_const(m_iconButtons))
        button->setIcon(ShellLook::tintedIcon(icon, palette.text, 15));
    m_list->viewport()->update();
}

void PlaylistSection::refresh()
{
    m_rows->setItems(m_model.playlist());
    m_rows->setCurrent(m_model.currentPlaylistItemID());
    m_count->setText(HomeTexts::itemCount(int(m_model.playlist().size())));
    m_clear->setEnabled(!m_model.playlist().isEmpty());
    m_pages->setCurrentIndex(m_model.playlist().isEmpty() ? 0 : 1);
}

void PlaylistSection::onButton(const QModelIndex &index, int button)
{
    if (!index.isValid())
        return;
    const PlaylistItem item = m_rows->item(index.row());
    if (button == PlaylistRowDelegate::playButton)
        m_model.open(item.urlString);
    else if (button == PlaylistRowDelegate::removeButton)
        m_model.removePlaylistItem(item.id);
}
