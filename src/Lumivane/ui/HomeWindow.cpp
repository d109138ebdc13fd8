#include "ui/HomeWindow.h"

#include "ui/DesignSystem.h"
#include "ui/DropOverlay.h"
#include "ui/HistorySection.h"
#include "ui/HomeLook.h"
#include "ui/HomeSidebar.h"
#include "ui/HomeTexts.h"
#include "ui/OpenSection.h"
#include "ui/PasteInterceptor.h"
#include "ui/PlaylistSection.h"
#include "ui/WindowsSection.h"
#include "app/AppModel.h"
#include "app/DropPayload.h"
#include "settings/Preferences.h"

#include "KiteCore/L10n.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QWidget *scrolling(QWidget *content, QWidget *parent)
{
    auto *scroll = new QScrollArea(parent);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(content);
    return scroll;
}
} // namespace

HomeWindow::HomeWindow(AppModel &model, Preferences &preferences, ThumbnailLoader &thumbnails,
                       QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_preferences(preferences)
    , m_thumbnails(thumbnails)
    , m_palette(ShellLook::palette(ShellLook::isDark(preferences.theme())))
{
    setObjectName(QStringLiteral("home"));
    setAttribute(Qt::WA_StyledBackground);
    setWindowIcon(ShellLook::appIcon());
    setAcceptDrops(true);
    resize(980, 664);
    setMinimumSize(900, 600);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_dropOverlay = new DropOverlay(this);
    build();

    auto *paste = new PasteInterceptor(*this);
    connect(paste, &PasteInterceptor::pasted, &m_model, &AppModel::paste);
    connect(&m_model, &AppModel::sectionChanged, this, &HomeWindow::showSection);
    connect(&m_model, &AppModel::storageWarningChanged, this, &HomeWindow::showStorageWarning);
    connect(&m_preferences, &Preferences::themeChanged, this, &HomeWindow::applyLook);
}

void HomeWindow::build()
{
    delete m_content;
    setWindowTitle(L("澜萤 Lumivane", "Lumivane", "Lumivane"));
    m_content = new QWidget(this);
    m_sidebar = new HomeSidebar(m_model, m_content);
    connect(m_sidebar, &HomeSidebar::settingsRequested, this, &HomeWindow::settingsRequested);

    m_sections = new QStackedWidget(m_content);
    m_open = new OpenSection(m_model, m_content);
    m_recent = new HistorySection(HistorySection::Kind::recent, m_model, m_thumbnails, m_content);
    m_favorites = new HistorySection(HistorySection::Kind::favorites, m_model, m_thumbnails, m_content);
    m_windows = new WindowsSection(m_model, m_content);
    m_playlist = new PlaylistSection(m_model, m_content);
    // In the order of HomeSection.
    m_sections->addWidget(scrolling(m_open, m_sections));
    for (QWidget *section : {static_cast<QWidget *>(m_recent), static_cast<QWidget *>(m_favorites),
                             static_cast<QWidget *>(m_windows), static_cast<QWidget *>(m_playlist)})
        m_sections->addWidget(section);
    m_open->setTrayAvailable(m_hasTray);
    m_windows->setTrayAvailable(m_hasTray);

    auto *column = new QVBoxLayout();
    column->setContentsMargins(HomeLook::contentMargin, 24, HomeLook::contentMargin, 20);
    column->setSpacing(16);
    column->addWidget(buildHeader(m_content));
    m_storageWarning = HomeLook::label(QString(), QString(), m_content);
    m_storageWarning->setObjectName(QStringLiteral("storageWarning"));
    m_storageWarning->setStyleSheet(QStringLiteral("color: %1;").arg(DesignSystem::danger().name()));
    column->addWidget(m_storageWarning);
    column->addWidget(m_sections, 1);
    auto *row = new QHBoxLayout(m_content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(m_sidebar);
    row->addLayout(column, 1);
    layout()->addWidget(m_content);

    showSection(m_model.section());
    showStorageWarning();
    applyLook();
    m_dropOverlay->raise();
}

QWidget *HomeWindow::buildHeader(QWidget *parent)
{
    auto *header = new QWidget(parent);
    auto *texts = new QVBoxLayout();
    texts->setSpacing(4);
    m_title = HomeLook::label(QString(), QStringLiteral("heading"), header);
    m_title->setObjectName(QStringLiteral("sectionTitle"));
    m_subtitle = HomeLook::label(QString(), QStringLiteral("lead"), header);
    m_subtitle->setObjectName(QStringLiteral("sectionSubtitle"));
    texts->addWidget(m_title);
    texts->addWidget(m_subtitle);
    m_restoreAll = new QPushButton(L("恢复所有窗口", "Restore all windows", "Restaurar todas las ventanas"), header);
    m_restoreAll->setObjectName(QStringLiteral("restoreAll"));
    m_restoreAll->setToolTip(L("把每个浮窗带回来，并取消鼠标穿透", "Bring every floating window back and undo click-through",
                               "Traer de vuelta todas las ventanas flotantes y desactivar el clic a través"));
    m_restoreAll->setCursor(Qt::PointingHandCursor);
    connect(m_restoreAll, &QPushButton::clicked, &m_model, &AppModel::recoverAll);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->addLayout(texts, 1);
    row->addWidget(m_restoreAll, 0, Qt::AlignTop);
    return header;
}

void HomeWindow::applyLook()
{
    m_palette = ShellLook::palette(ShellLook::isDark(m_preferences.theme()));
    setStyleSheet(HomeLook::styleSheet(m_palette, objectName()));
    m_sidebar->setLook(m_palette);
    m_open->setIconColor(m_palette.secondary);
    m_recent->setLook(m_palette);
    m_favorites->setLook(m_palette);
    m_windows->setLook(m_palette);
    m_playlist->setLook(m_palette);
    m_dropOverlay->setLook(m_palette);
    m_restoreAll->setIcon(ShellLook::tintedIcon(QStringLiteral("restore"), m_palette.text, 15));
}

void HomeWindow::showSection(HomeSection section)
{
    m_sections->setCurrentIndex(int(section));
    m_title->setText(HomeTexts::sectionTitle(section));
    m_subtitle->setText(HomeTexts::sectionSubtitle(section));
    focusInputSoon();
}

void HomeWindow::showStorageWarning()
{
    const std::optional<QString> &warning = m_model.storageWarning();
    m_storageWarning->setText(warning.value_or(QString()));
    m_storageWarning->setVisible(warning.has_value());
}

void HomeWindow::focusInputSoon()
{
    // On the next turn, once the section is on screen.
    QTimer::singleShot(0, this, [this] {
        if (m_model.section() == HomeSection::open)
            m_open->focusInput();
    });
}

void HomeWindow::bringForward()
{
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void HomeWindow::setMenuBar(QMenuBar *menuBar)
{
    layout()->setMenuBar(menuBar);
}

void HomeWindow::retranslate()
{
    build();
}

void HomeWindow::setTrayAvailable(bool available)
{
    m_hasTray = available;
    m_open->setTrayAvailable(available);
    m_windows->setTrayAvailable(available);
}

void HomeWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    focusInputSoon();
}

void HomeWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The desktop's colours changed: a "system" theme follows them.
    if (event->type() == QEvent::ApplicationPaletteChange
        && ShellLook::isDark(m_preferences.theme()) != m_palette.dark)
        applyLook();
}

void HomeWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData() == nullptr
        || DropPayload::decide(*event->mimeData()).action == DropPayload::Action::refused)
        return;
    event->acceptProposedAction();
    m_dropOverlay->setGeometry(rect());
    m_dropOverlay->show();
    m_dropOverlay->raise();
}

void HomeWindow::dragLeaveEvent(QDragLeaveEvent *event)
{
    m_dropOverlay->hide();
    QWidget::dragLeaveEvent(event);
}

void HomeWindow::dropEvent(QDropEvent *event)
{
    m_dropOverlay->hide();
    if (event->mimeData() != nullptr && m_model.acceptDrop(*event->mimeData()))
        event->acceptProposedAction();
}
