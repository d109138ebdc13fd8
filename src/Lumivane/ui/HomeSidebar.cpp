#include "ui/HomeSidebar.h"

#include "ui/HomeLook.h"
#include "ui/HomeNavButton.h"
#include "ui/HomeTexts.h"
#include "app/AppModel.h"

#include "KiteCore/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int markSize = 34;

QString sectionIcon(HomeSection section)
{
    switch (section) {
    case HomeSection::open: return QStringLiteral("link");
    case HomeSection::recent: return QStringLiteral("clock");
    case HomeSection::favorites: return QStringLiteral("star");
    case HomeSection::windows: return QStringLiteral("floating");
    case HomeSection::playlist: return QStringLiteral("playlist");
    }
    return {};
}
} // namespace

HomeSidebar::HomeSidebar(AppModel &model, QWidget *parent)
    : QFrame(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("homeSidebar"));
    setFixedWidth(HomeLook::sidebarWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 20, 14, 14);
    layout->setSpacing(2);
    layout->addWidget(buildBrand());
    layout->addSpacing(22);
    for (const HomeSection section : {HomeSection::open, HomeSection::recent, HomeSection::favorites,
                                      HomeSection::windows, HomeSection::playlist}) {
        auto *button = new HomeNavButton(sectionIcon(section), HomeTexts::sectionName(section), this);
        button->setObjectName(QStringLiteral("nav-") + toRaw(section));
        connect(button, &HomeNavButton::clicked, &m_model, [this, section] { m_model.setSection(section); });
        m_buttons.insert(section, button);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    layout->addWidget(buildFooter());

    connect(&m_model, &AppModel::sectionChanged, this, &HomeSidebar::select);
    connect(&m_model, &AppModel::historyChanged, this, &HomeSidebar::refreshBadges);
    connect(&m_model, &AppModel::sessionsChanged, this, &HomeSidebar::refreshBadges);
    connect(&m_model, &AppModel::playlistChanged, this, &HomeSidebar::refreshBadges);
    select(m_model.section());
    refreshBadges();
}

QWidget *HomeSidebar::buildBrand()
{
    auto *brand = new QWidget(this);
    auto *row = new QHBoxLayout(brand);
    row->setContentsMargins(6, 0, 0, 0);
    row->setSpacing(10);
    auto *mark = new QLabel(brand);
    mark->setPixmap(ShellLook::appIcon().pixmap(markSize, markSize));
    mark->setFixedSize(markSize, markSize);
    auto *texts = new QVBoxLayout();
    texts->setSpacing(0);
    texts->addWidget(HomeLook::label(QStringLiteral("Lumivane"), QStringLiteral("brand"), brand));
    texts->addWidget(HomeLook::label(L("浮动播放器", "Floating player", "Reproductor flotante"),
                                     QStringLiteral("secondary"), brand));
    row->addWidget(mark);
    row->addLayout(texts, 1);
    return brand;
}

QWidget *HomeSidebar::buildFooter()
{
    auto *footer = new QWidget(this);
    auto *row = new QHBoxLayout(footer);
    row->setContentsMargins(6, 8, 0, 0);
    row->setSpacing(6);
    QLabel *note = HomeLook::label(L("无需账号 · 全部功能免费", "No account · all features free",
                                     "Sin cuenta · todo gratis"),
                                   QStringLiteral("secondary"), footer);
    note->setWordWrap(false);
    row->addWidget(note, 1);
    m_settings = new QToolButton(footer);
    m_settings->setObjectName(QStringLiteral("openSettings"));
    m_settings->setToolTip(L("打开设置", "Open Settings", "Abrir Ajustes"));
    m_settings->setAccessibleName(m_settings->toolTip());
    m_settings->setFixedSize(30, 30);
    m_settings->setIconSize(QSize(17, 17));
    m_settings->setCursor(Qt::PointingHandCursor);
    connect(m_settings, &QToolButton::clicked, this, &HomeSidebar::settingsRequested);
    row->addWidget(m_settings);
    return footer;
}

void HomeSidebar::setLook(const ShellLook::Palette &palette)
{
    for (HomeNavButton *button : std::as_const(m_buttons))
        button->setLook(palette);
    m_settings->setIcon(ShellLook::tintedIcon(QStringLiteral("gear"), palette.secondary, 17));
}

void HomeSidebar::refreshBadges()
{
    m_buttons.value(HomeSection::recent)->setBadge(int(m_model.history().size()));
    m_buttons.value(HomeSection::favorites)->setBadge(int(m_model.favorites().size()));
    m_buttons.value(HomeSection::windows)->setBadge(int(m_model.sessions().size()));
    m_buttons.value(HomeSection::playlist)->setBadge(int(m_model.playlist().size()));
}

void HomeSidebar::select(HomeSection section)
{
    m_buttons.value(section)->setChecked(true);
}
