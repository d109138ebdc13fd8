#include "ui/WindowsSection.h"

#include "ui/HomeEmptyState.h"
#include "ui/HomeLook.h"
#include "ui/HomeSessionCard.h"
#include "ui/HomeTexts.h"
#include "app/AppModel.h"

#include "KiteCore/L10n.h"

#include <QLabel>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

WindowsSection::WindowsSection(AppModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_palette(ShellLook::palette(true))
    , m_pages(new QStackedWidget(this))
    , m_empty(new HomeEmptyState(QStringLiteral("floating"), L("没有浮窗", "No floating windows", "No hay ventanas flotantes"),
                                 L("粘贴链接或打开文件——会出现一个可拖动的浮窗。",
                                   "Paste a link or open a file — a draggable floating window appears.",
                                   "Pega un enlace o abre un archivo: aparecerá una ventana flotante que puedes mover."),
                                 L("打开点什么", "Open something", "Abre algo"), m_pages))
{
    connect(m_empty, &HomeEmptyState::buttonClicked, &m_model, [this] { m_model.setSection(HomeSection::open); });
    m_pages->addWidget(m_empty);
    m_pages->addWidget(buildList());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);
    connect(&m_model, &AppModel::sessionsChanged, this, &WindowsSection::rebuild);
    connect(&m_model, &AppModel::sessionDidChange, this, &WindowsSection::refresh);
    connect(&m_model, &AppModel::menuUpdateRequested, this, &WindowsSection::refresh);
    rebuild();
}

QWidget *WindowsSection::buildList()
{
    auto *page = new QWidget(m_pages);
    auto *pills = new QHBoxLayout();
    pills->setSpacing(8);
    m_playing = HomeLook::label(QString(), QStringLiteral("pill"), page);
    m_hidden = HomeLook::label(QString(), QStringLiteral("pill"), page);
    m_playing->setObjectName(QStringLiteral("playingPill"));
    m_hidden->setObjectName(QStringLiteral("hiddenPill"));
    pills->addWidget(m_playing);
    pills->addWidget(m_hidden);
    pills->addStretch(1);

    auto *scroll = new QScrollArea(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *cards = new QWidget(scroll);
    m_cards = new QVBoxLayout(cards);
    m_cards->setContentsMargins(0, 0, 4, 0);
    m_cards->setSpacing(8);
    m_cards->addStretch(1);
    scroll->setWidget(cards);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addLayout(pills);
    layout->addWidget(scroll, 1);
    layout->addWidget(HomeLook::label(L("隐藏会保留窗口；关闭会停止播放并释放它。",
                                        "Hide keeps it around; Close stops playback and releases it.",
                                        "Ocultar la conserva; Cerrar detiene la reproducción y la libera."),
                                      QStringLiteral("note"), page));
    layout->addWidget(HomeLook::label(L("置顶、透明度和鼠标穿透在浮窗自己的控制栏里。",
                                        "Pin, opacity and click-through live in the floating window's controls.",
                                        "Fijar, opacidad y clic a través están en los controles de la ventana flotante."),
                                      QStringLiteral("note"), page));
    return page;
}

void WindowsSection::setLook(const ShellLook::Palette &palette)
{
    m_palette = palette;
    m_empty->setIconColor(palette.text);
    rebuild();
}

void WindowsSection::setTrayAvailable(bool available)
{
    m_hasTray = available;
    rebuild();
}

void WindowsSection::rebuild()
{
    qDeleteAll(m_cardList);
    m_cardList.clear();
    for (PlaybackSession *session : m_model.sessions()) {
        auto *card = new HomeSessionCard(*session, m_palette, m_hasTray);
        connect(card, &HomeSessionCard::showRequested, &m_model, [this](PlaybackSession *target) { m_model.present(*target); });
        connect(card, &HomeSessionCard::hideRequested, &m_model, [this](PlaybackSession *target) { m_model.hide(*target); });
        connect(card, &HomeSessionCard::closeRequested, &m_model, [this](PlaybackSession *target) { m_model.close(*target); });
        m_cards->insertWidget(m_cards->count() - 1, card);
        m_cardList.append(card);
    }
    m_pages->setCurrentIndex(m_cardList.isEmpty() ? 0 : 1);
    refresh();
}

void WindowsSection::refresh()
{
    for (HomeSessionCard *card : std::as_const(m_cardList))
        card->refresh();
    const QList<PlaybackSession *> &sessions = m_model.sessions();
    const auto playing = std::ranges::count_if(sessions, [](const PlaybackSession *s) { return s->isPlaying(); });
    const auto hidden = std::ranges::count_if(sessions, [](const PlaybackSession *s) { return s->isHidden(); });
    m_playing->setText(HomeTexts::playingCount(int(playing)));
    m_hidden->setText(HomeTexts::hiddenCount(int(hidden)));
}
