#include "ui/TrayPanel.h"

#include "ui/PanelRules.h"
#include "ui/PanelWindowRow.h"
#include "app/AppCommands.h"
#include "app/AppModel.h"
#include "settings/Preferences.h"

#include "KiteCore/L10n.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int margin = 14;
constexpr int brandSize = 30;
constexpr int dotSize = 8;

QLabel *label(const QString &text, const QString &role, QWidget *parent)
{
    auto *result = new QLabel(text, parent);
    result->setProperty("shellRole", role);
    return result;
}
} // namespace

TrayPanel::TrayPanel(AppModel &model, AppCommands &commands, Preferences &preferences,
                     QWidget *parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_model(model)
    , m_commands(commands)
    , m_preferences(preferences)
{
    setObjectName(QStringLiteral("trayPanel"));
    // The click that closes the panel must not reach the tray icon and open it again.
    setAttribute(Qt::WA_NoMouseReplay);
    setFixedSize(panelSize);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    connect(&m_model, &AppModel::sessionsChanged, this, [this] {
        if (isVisible())
            rebuildRows();
    });
    for (auto signal : {&AppModel::sessionDidChange, &AppModel::menuUpdateRequested}) {
        connect(&m_model, signal, this, [this] {
            if (isVisible())
                refresh();
        });
    }
}

void TrayPanel::toggle(const QPoint &cursor)
{
    if (isVisible())
        close();
    else
        popUp(cursor);
}

void TrayPanel::popUp(const QPoint &cursor)
{
    build();
    const QScreen *screen = QGuiApplication::screenAt(cursor);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    setGeometry(PanelRules::placement(cursor, panelSize, screen->availableGeometry()));
    show();
    raise();
    activateWindow();
}

void TrayPanel::build()
{
    delete m_content;
    m_rows.clear();
    m_palette = ShellLook::palette(ShellLook::isDark(m_preferences.theme()));
    setStyleSheet(ShellLook::styleSheet(m_palette, objectName())
                  + QStringLiteral("#trayPanel { border: 1px solid %1; }")
                        .arg(m_palette.dark ? QStringLiteral("rgba(255,255,255,40)")
                                            : QStringLiteral("rgba(0,0,0,50)")));

    m_content = new QWidget(this);
    auto *column = new QVBoxLayout(m_content);
    column->setContentsMargins(margin, margin, margin, 10);
    column->setSpacing(10);
    column->addWidget(buildHeader(m_content));
    column->addWidget(buildQuickActions(m_content));
    column->addWidget(divider(m_content));
    column->addWidget(buildListHeader(m_content));

    auto *scroll = new QScrollArea(m_content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *list = new QWidget(scroll);
    m_rowLayout = new QVBoxLayout(list);
    m_rowLayout->setContentsMargins(0, 0, 0, 0);
    m_rowLayout->setSpacing(6);
    m_rowLayout->addStretch(1);
    scroll->setWidget(list);
    column->addWidget(scroll, 1);

    column->addWidget(divider(m_content));
    column->addWidget(buildFooter(m_content));
    layout()->addWidget(m_content);
    rebuildRows();
}

QWidget *TrayPanel::buildHeader(QWidget *parent)
{
    auto *header = new QWidget(parent);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    auto *brand = new QLabel(header);
    brand->setPixmap(ShellLook::appIcon().pixmap(QSize(brandSize, brandSize)));
    brand->setFixedSize(brandSize, brandSize);

    auto *texts = new QVBoxLayout();
    texts->setSpacing(2);
    auto *name = label(QStringLiteral("Lumivane"), QStringLiteral("title"), header);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.15);
    name->setFont(nameFont);
    auto *status = new QHBoxLayout();
    status->setSpacing(6);
    m_dot = new QLabel(header);
    m_dot->setFixedSize(dotSize, dotSize);
    m_summary = label(QString(), QStringLiteral("secondary"), header);
    m_summary->setObjectName(QStringLiteral("panelSummary"));
    status->addWidget(m_dot);
    status->addWidget(m_summary, 1);
    texts->addWidget(name);
    texts->addLayout(status);

    auto *home = new QToolButton(header);
    home->setObjectName(QStringLiteral("panelHome"));
    home->setIcon(ShellLook::tintedIcon(QStringLiteral("window"), m_palette.text));
    home->setFixedSize(30, 30);
    home->setToolTip(L("打开开始面板", "Open the start panel", "Abrir el panel de inicio"));
    home->setCursor(Qt::PointingHandCursor);
    connect(home, &QToolButton::clicked, this, [this] { closeThen(&AppCommands::showHome); });

    row->addWidget(brand);
    row->addLayout(texts, 1);
    row->addWidget(home, 0, Qt::AlignTop);
    return header;
}

QPushButton *TrayPanel::actionCard(const QString &icon, const QString &title,
                                   const QString &caption, QWidget *parent)
{
    auto *card = new QPushButton(parent);
    card->setProperty("shellRole", QStringLiteral("action"));
    card->setCursor(Qt::PointingHandCursor);
    card->setFocusPolicy(Qt::NoFocus);
    card->setAccessibleName(title);
    card->setToolTip(caption);
    auto *layout = new QVBoxLayout(card);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(3);
    auto *symbol = new QLabel(card);
    symbol->setPixmap(ShellLook::tintedIcon(icon, DesignSystem::accent()).pixmap(QSize(18, 18)));
    auto *heading = label(title, QStringLiteral("title"), card);
    auto *text = label(caption, QStringLiteral("secondary"), card);
    text->setWordWrap(true);
    for (QLabel *part : {symbol, heading, text}) {
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(part);
    }
    return card;
}

QWidget *TrayPanel::buildQuickActions(QWidget *parent)
{
    auto *actions = new QWidget(parent);
    auto *row = new QHBoxLayout(actions);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    QPushButton *paste = actionCard(QStringLiteral("clipboard"),
                                    L("粘贴并打开", "Paste and open", "Pegar y abrir"),
                                    L("打开剪贴板里的链接", "Open the link in your clipboard",
                                      "Abre el enlace del portapapeles"),
                                    actions);
    paste->setObjectName(QStringLiteral("panelPaste"));
    QPushButton *file = actionCard(QStringLiteral("folder"),
                                   L("打开文件", "Open file", "Abrir archivo"),
                                   QStringLiteral("mp4 / mov / mp3 …"), actions);
    file->setObjectName(QStringLiteral("panelOpenFile"));
    connect(paste, &QPushButton::clicked, this, [this] { closeThen(&AppCommands::openClipboard); });
    connect(file, &QPushButton::clicked, this, [this] { closeThen(&AppCommands::openFile); });
    row->addWidget(paste, 1);
    row->addWidget(file, 1);
    return actions;
}

QWidget *TrayPanel::buildListHeader(QWidget *parent)
{
    auto *header = new QWidget(parent);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label(L("浮窗", "Floating windows", "Ventanas flotantes").toUpper(),
                         QStringLiteral("section"), header),
                   1);
    auto *restore = new QPushButton(L("全部恢复", "Restore all", "Restaurar todo"), header);
    restore->setObjectName(QStringLiteral("panelRestoreAll"));
    restore->setIcon(ShellLook::tintedIcon(QStringLiteral("restore"), m_palette.text, 14));
    restore->setCursor(Qt::PointingHandCursor);
    restore->setFocusPolicy(Qt::NoFocus);
    restore->setToolTip(L("找回所有浮窗并取消点击穿透",
                          "Bring every floating window back and undo click-through",
                          "Recupera todas las ventanas flotantes y desactiva el clic a través"));
    connect(restore, &QPushButton::clicked, &m_commands, &AppCommands::recoverAll);
    row->addWidget(restore);
    return header;
}

QWidget *TrayPanel::buildFooter(QWidget *parent)
{
    auto *footer = new QWidget(parent);
    auto *row = new QHBoxLayout(footer);
    row->setContentsMargins(0, 0, 0, 0);
    const auto footerButton = [this, footer](const QString &name, const QString &icon,
                                             const QString &text, const QString &help) {
        auto *button = new QToolButton(footer);
        button->setObjectName(name);
        button->setProperty("shellRole", QStringLiteral("text"));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIcon(ShellLook::tintedIcon(icon, m_palette.secondary, 15));
        button->setText(text);
        button->setToolTip(help);
        button->setCursor(Qt::PointingHandCursor);
        return button;
    };
    QToolButton *settings = footerButton(QStringLiteral("panelSettings"), QStringLiteral("gear"),
                                         L("设置", "Settings", "Ajustes"),
                                         L("打开设置", "Open Settings", "Abrir Ajustes"));
    QToolButton *quit = footerButton(QStringLiteral("panelQuit"), QStringLiteral("power"),
                                     L("退出", "Quit", "Salir"),
                                     L("退出 Lumivane", "Quit Lumivane", "Salir de Lumivane"));
    connect(settings, &QToolButton::clicked, this, [this] { closeThen(&AppCommands::showSettings); });
    connect(quit, &QToolButton::clicked, this, [this] { closeThen(&AppCommands::quit); });
    row->addWidget(settings);
    row->addStretch(1);
    row->addWidget(quit);
    return footer;
}

QWidget *TrayPanel::emptyRow(QWidget *parent)
{
    auto *empty = new QFrame(parent);
    empty->setObjectName(QStringLiteral("panelEmpty"));
    empty->setProperty("shellRole", QStringLiteral("card"));
    auto *layout = new QVBoxLayout(empty);
    layout->setContentsMargins(16, 18, 16, 18);
    layout->setSpacing(6);
    auto *symbol = new QLabel(empty);
    symbol->setPixmap(ShellLook::tintedIcon(QStringLiteral("dashed"), m_palette.secondary, 26)
                          .pixmap(QSize(26, 26)));
    auto *title = label(L("没有浮窗", "No floating windows", "No hay ventanas flotantes"),
                        QStringLiteral("title"), empty);
    auto *text = label(L("粘贴链接或打开文件，它就会出现在这里。",
                         "Paste a link or open a file and it shows up here.",
                         "Pega un enlace o abre un archivo y aparecerá aquí."),
                       QStringLiteral("secondary"), empty);
    text->setWordWrap(true);
    for (QLabel *part : {symbol, title, text}) {
        part->setAlignment(Qt::AlignHCenter);
        layout->addWidget(part);
    }
    return empty;
}

QFrame *TrayPanel::divider(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setProperty("shellRole", QStringLiteral("divider"));
    return line;
}

void TrayPanel::rebuildRows()
{
    // Deferred: a row's own button may be what closed its window.
    for (PanelWindowRow *row : std::as_const(m_rows)) {
        row->hide();
        row->deleteLater();
    }
    m_rows.clear();
    if (m_empty) {
        m_empty->hide();
        m_empty->deleteLater();
    }
    QWidget *list = m_rowLayout->parentWidget();
    const int insertAt = m_rowLayout->count() - 1; // before the stretch
    if (m_model.sessions().isEmpty()) {
        m_empty = emptyRow(list);
        m_rowLayout->insertWidget(insertAt, m_empty);
    }
    for (PlaybackSession *session : m_model.sessions()) {
        auto *row = new PanelWindowRow(*session, m_palette, list);
        connect(row, &PanelWindowRow::showRequested, this, &TrayPanel::showSession);
        connect(row, &PanelWindowRow::hideRequested, &m_model,
                [this](PlaybackSession *target) { m_model.hide(*target); });
        connect(row, &PanelWindowRow::closeRequested, &m_model,
                [this](PlaybackSession *target) { m_model.close(*target); });
        m_rowLayout->insertWidget(m_rowLayout->count() - 1, row);
        m_rows.append(row);
    }
    refresh();
}

void TrayPanel::refresh()
{
    const QList<PlaybackSession *> &sessions = m_model.sessions();
    const auto count = [&sessions](auto predicate) {
        return int(std::ranges::count_if(sessions, predicate));
    };
    const int playing = count([](const PlaybackSession *s) { return s->isPlaying(); });
    const int hidden = count([](const PlaybackSession *s) { return s->isHidden(); });
    const int windows = int(sessions.size());
    m_summary->setText(PanelRules::statusSummary(windows, playing, hidden));
    m_dot->setStyleSheet(QStringLiteral("background: %1; border-radius: %2px;")
                             .arg(ShellLook::toneColor(PanelRules::summaryTone(windows, playing, hidden))
                                      .name())
                             .arg(dotSize / 2));
    for (PanelWindowRow *row : std::as_const(m_rows))
        row->refresh();
}

void TrayPanel::closeThen(void (AppCommands::*command)())
{
    close();
    (m_commands.*command)();
}

void TrayPanel::showSession(PlaybackSession *session)
{
    close();
    if (session != nullptr)
        m_model.present(*session);
}
