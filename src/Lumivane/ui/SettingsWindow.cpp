#include "ui/SettingsWindow.h"

#include "ui/AboutSettingsPage.h"
#include "ui/AppearanceSettingsPage.h"
#include "ui/PlaybackSettingsPage.h"
#include "ui/PrivacySettingsPage.h"
#include "ui/SettingsSidebar.h"
#include "ui/ShortcutRecorderButton.h"
#include "ui/ShortcutSettingsPage.h"
#include "app/AppModel.h"
#include "settings/Preferences.h"

#include "KiteCore/L10n.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr QSize windowSize(820, 600);
constexpr int headerIconSize = 30;
using ShellLook::rgba;

// The settings window's own controls on top of the shell's surfaces.
QString settingsStyle(const ShellLook::Palette &p)
{
    const QColor sidebar = p.dark ? QColor(255, 255, 255, 8) : QColor(0, 0, 0, 8);
    const QColor segment = p.dark ? QColor(255, 255, 255, 20) : QColor(0, 0, 0, 14);
    return ShellLook::styleSheet(p, QStringLiteral("settings"))
           + QStringLiteral(R"(
#settings QWidget#settingsSidebar { background: %1; border-right: 1px solid %2; }
#settings QPushButton[shellRole="tab"] { text-align: left; padding: 7px 10px; border-radius: 8px;
    font-size: 13px; background: transparent; border: 1px solid transparent; }
#settings QPushButton[shellRole="tab"]:hover { background: %3; }
#settings QPushButton[shellRole="tab"]:checked { background: rgba(77,156,255,60); }
#settings QPushButton[shellRole="tab"]:focus { border: 1px solid #4d9cff; }
#settings QFrame[shellRole="card"]:hover { background: %3; }
#settings QLabel[shellRole="cardTitle"] { font-size: 13px; font-weight: 700; }
#settings QLabel[shellRole="rowTitle"] { font-size: 13px; }
#settings QLabel[shellRole="note"] { color: %8; font-size: 11px; }
#settings QLabel[shellRole="success"] { color: %4; font-size: 11px; }
#settings QPushButton[shellRole="destructive"] { color: #ff5f57; }
#settings QLabel[shellRole="warning"] { color: #ff5f57; font-size: 11px; }
#settings QLabel[shellRole="pageTitle"] { font-size: 20px; font-weight: 700; }
#settings QWidget#segmented { background: %5; border-radius: 8px; }
#settings QPushButton[shellRole="segment"] { background: transparent; border: none;
    border-radius: 6px; padding: 4px 12px; min-height: 16px; }
#settings QPushButton[shellRole="segment"]:checked { background: #4d9cff; color: white; }
#settings QPushButton[shellRole="segment"]:focus, #settings QPushButton:focus {
    border: 1px solid #4d9cff; }
#settings QPushButton[shellRole="recorder"] { border-radius: 7px; padding: 4px 10px;
    font-family: monospace; }
#settings QPushButton[shellRole="recorder"]:checked { background: rgba(77,156,255,60);
    border: 1px solid #4d9cff; }
#settings QComboBox { color: %6; background: %3; border: 1px solid %2; border-radius: 8px;
    padding: 4px 10px; min-width: 150px; }
#settings QComboBox:focus { border: 1px solid #4d9cff; }
#settings QComboBox QAbstractItemView { color: %6; background: %7; selection-background-color: #4d9cff; }
)")
                 .arg(rgba(sidebar), rgba(p.border), rgba(p.card),
                      p.dark ? QStringLiteral("#34c759") : QStringLiteral("#1e8e3e"),
                      rgba(segment), p.text.name(), p.background.name(),
                      p.dark ? QStringLiteral("#8fbfff") : QStringLiteral("#1f6fd6"));
}
} // namespace

SettingsWindow::SettingsWindow(const SettingsContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_context(context)
    , m_root(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("settings"));
    setAttribute(Qt::WA_StyledBackground);
    setMinimumSize(680, 460);
    resize(windowSize);
    m_root->setContentsMargins(0, 0, 0, 0);
    // After the preference has been stored and every other listener has run, not inside
    // the click that changed it.
    connect(&m_context.preferences, &Preferences::themeChanged, this,
            [this] { QTimer::singleShot(0, this, &SettingsWindow::rebuild); });
    connect(&m_context.preferences, &Preferences::languageChanged, this,
            [this] { QTimer::singleShot(0, this, &SettingsWindow::rebuild); });
    connect(&m_context.model, &AppModel::settingsTabRequestChanged, this,
            &SettingsWindow::applyTabRequest);
    rebuild();
    applyTabRequest();
}

SettingsWindow::~SettingsWindow()
{
    stopRecording();
    // Held apart until the accounts tab is first shown.
    if (m_accountsPage && m_accountsPage->parent() == nullptr)
        delete m_accountsPage;
}

void SettingsWindow::rebuild()
{
    stopRecording();
    setWindowTitle(L("设置", "Settings", "Ajustes"));
    m_palette = ShellLook::palette(ShellLook::isDark(m_context.preferences.theme()));
    setStyleSheet(settingsStyle(m_palette));
    if (m_accountsPage)
        m_accountsPage->setParent(nullptr);
    delete m_body;
    m_built.fill(false);
    m_body = build();
    m_root->addWidget(m_body);
    selectTab(m_tab);
}

// Built apart and put in the window once: each widget added to a tree that has a style
// sheet is styled again, with everything below it. Pages wait until their tab is chosen.
QWidget *SettingsWindow::build()
{
    auto *body = new QWidget();
    m_sidebar = new SettingsSidebar(m_palette.text, body);
    m_stack = new QStackedWidget(body);
    for (int i = 0; i < int(SettingsTabs::allCases.size()); ++i)
        m_stack->addWidget(new QWidget());
    connect(m_sidebar, &SettingsSidebar::tabChosen, this, &SettingsWindow::selectTab);
    auto *layout = new QHBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_sidebar);
    layout->addWidget(m_stack, 1);
    return body;
}

SettingsPage *SettingsWindow::page(SettingsTab tab)
{
    switch (tab) {
    case SettingsTab::appearance: return new AppearanceSettingsPage(m_context);
    case SettingsTab::playback: return new PlaybackSettingsPage(m_context);
    case SettingsTab::window: {
        auto *shortcuts = new ShortcutSettingsPage(m_context);
        connect(shortcuts, &ShortcutSettingsPage::recordingStarted, this,
                &SettingsWindow::recordingStarted);
        connect(shortcuts, &ShortcutSettingsPage::recordingStopped, this,
                &SettingsWindow::recordingStopped);
        return shortcuts;
    }
    case SettingsTab::language: {
        auto *privacy = new PrivacySettingsPage(m_context);
        connect(privacy, &PrivacySettingsPage::webDataCleared, this, &SettingsWindow::webDataCleared);
        return privacy;
    }
    case SettingsTab::about:
    case SettingsTab::account: break;
    }
    return new AboutSettingsPage(m_context);
}

QWidget *SettingsWindow::header(SettingsTab tab)
{
    auto *box = new QWidget();
    auto *icon = new QLabel(box);
    icon->setPixmap(ShellLook::tintedIcon(SettingsTabs::iconName(tab), QColor(0x4d, 0x9c, 0xff),
                                          headerIconSize)
                        .pixmap(headerIconSize, headerIconSize));
    auto *title = new QLabel(SettingsTabs::title(tab), box);
    title->setProperty("shellRole", QStringLiteral("pageTitle"));
    auto *subtitle = new QLabel(SettingsTabs::subtitle(tab), box);
    subtitle->setProperty("shellRole", QStringLiteral("secondary"));
    subtitle->setWordWrap(true);
    auto *text = new QVBoxLayout();
    text->setSpacing(2);
    text->addWidget(title);
    text->addWidget(subtitle);
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    return box;
}

QWidget *SettingsWindow::tabBody(SettingsTab tab, QWidget *content)
{
    auto *inner = new QWidget();
    auto *layout = new QVBoxLayout(inner);
    layout->setContentsMargins(28, 24, 28, 28);
    layout->setSpacing(22);
    layout->addWidget(header(tab));
    layout->addWidget(content, 1);
    auto *scroll = new QScrollArea();
    scroll->setObjectName(QStringLiteral("page-") + toRaw(tab));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(inner);
    return scroll;
}

void SettingsWindow::ensureBuilt(SettingsTab tab)
{
    const int index = int(tab);
    if (m_built.at(size_t(index)))
        return;
    m_built.at(size_t(index)) = true;
    QWidget *content = nullptr;
    if (tab == SettingsTab::account) {
        content = new QWidget();
        m_accountsSlot = new QVBoxLayout(content);
        m_accountsSlot->setContentsMargins(0, 0, 0, 0);
        if (m_accountsPage)
            m_accountsSlot->addWidget(m_accountsPage);
    } else {
        content = page(tab);
    }
    QWidget *placeholder = m_stack->widget(index);
    m_stack->insertWidget(index, tabBody(tab, content));
    m_stack->removeWidget(placeholder);
    delete placeholder;
}

void SettingsWindow::selectTab(SettingsTab tab)
{
    m_tab = tab;
    ensureBuilt(tab);
    m_sidebar->select(tab);
    m_stack->setCurrentIndex(int(tab));
}

void SettingsWindow::setAccountsPage(QWidget *page)
{
    if (m_accountsPage == page)
        return;
    delete m_accountsPage;
    m_accountsPage = page;
    if (page == nullptr)
        return;
    if (m_built.at(size_t(SettingsTab::account)))
        m_accountsSlot->addWidget(page);
    else
        page->setParent(nullptr);
}

void SettingsWindow::setHasTray(bool hasTray)
{
    if (m_context.hasTray == hasTray)
        return;
    m_context.hasTray = hasTray;
    rebuild();
}

void SettingsWindow::bringForward()
{
    show();
    raise();
    activateWindow();
}

void SettingsWindow::showEvent(QShowEvent *event)
{
    applyTabRequest();
    QWidget::showEvent(event);
}

void SettingsWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

void SettingsWindow::hideEvent(QHideEvent *event)
{
    stopRecording();
    QWidget::hideEvent(event);
}

void SettingsWindow::applyTabRequest()
{
    const std::optional<QString> &request = m_context.model.settingsTabRequest();
    if (!request)
        return;
    const std::optional<SettingsTab> tab = settingsTabFromRaw(*request);
    if (!tab)
        return;
    selectTab(*tab);
    QTimer::singleShot(0, &m_context.model,
                       [model = &m_context.model] { model->setSettingsTabRequest(std::nullopt); });
}

void SettingsWindow::stopRecording()
{
    for (ShortcutRecorderButton *recorder : findChildren<ShortcutRecorderButton *>())
        recorder->stopRecording();
}
