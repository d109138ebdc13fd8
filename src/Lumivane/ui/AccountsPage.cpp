#include "ui/AccountsPage.h"

#include "accounts/AccountService.h"
#include "settings/Preferences.h"
#include "ui/DesignSystem.h"
#include "ui/ShellLook.h"

#include "KiteCore/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
constexpr int siteIconSize = 24;
constexpr int siteTileSize = 44;
constexpr int buttonWidth = 132;
constexpr int pillHeight = 22;

QLabel *label(const QString &text, const QString &role, QWidget *parent)
{
    auto *result = new QLabel(text, parent);
    result->setProperty("shellRole", role);
    result->setWordWrap(true);
    return result;
}

QString iconName(AccountSite site)
{
    return QStringLiteral("site-") + toRaw(site);
}

// Each site in its own colour, so the cards read at a glance.
QColor brandColor(AccountSite site)
{
    switch (site) {
    case AccountSite::youtube: return QColor(0xff, 0x30, 0x30);
    case AccountSite::bilibili: return QColor(0xfb, 0x72, 0x99);
    case AccountSite::twitch: return QColor(0x91, 0x46, 0xff);
    }
    return DesignSystem::accent();
}

QLabel *siteTile(AccountSite site, QWidget *parent)
{
    QColor tint = brandColor(site);
    tint.setAlpha(38);
    auto *tile = new QLabel(parent);
    tile->setFixedSize(siteTileSize, siteTileSize);
    tile->setAlignment(Qt::AlignCenter);
    tile->setPixmap(ShellLook::tintedIcon(iconName(site), brandColor(site), siteIconSize)
                        .pixmap(siteIconSize, siteIconSize));
    tile->setStyleSheet(QStringLiteral("background: %1; border-radius: 12px;")
                            .arg(tint.name(QColor::HexArgb)));
    return tile;
}

QString detailText(AccountSite site)
{
    switch (site) {
    case AccountSite::youtube:
        return L("会员账号登录后不再显示广告，观看记录会同步到你的账号。",
                 "With a Premium account, ads disappear and watch history syncs to your account.",
                 "Con Premium no hay anuncios y el historial se sincroniza con tu cuenta.");
    case AccountSite::bilibili:
        return L("登录后可看大会员内容、同步观看记录与收藏（大会员清晰度仍受内置网页引擎能力限制）。",
                 "Sign in for membership content, watch history and favourites (some quality "
                 "tiers depend on what the built-in web engine can play).",
                 "Inicia sesión para contenido de miembros, historial y favoritos (algunas "
                 "calidades dependen del motor web integrado).");
    case AccountSite::twitch:
        return L("登录后可关注频道、同步观看记录；广告由 Twitch 服务端拼接。",
                 "Sign in to follow channels and sync watch history; ads are server-stitched by "
                 "Twitch.",
                 "Inicia sesión para seguir canales y sincronizar el historial; los anuncios los "
                 "inserta Twitch.");
    }
    return {};
}

QString extraStyle(const ShellLook::Palette &palette)
{
    // The green of "signed in" needs more depth on the light background to stay readable.
    const QString signedInText = palette.dark ? QStringLiteral("#34c759") : QStringLiteral("#1e8e3e");
    return QStringLiteral(R"(
#accountsPage QLabel[shellRole="pill"] { border-radius: 11px; padding: 0 10px; font-size: 11px;
    font-weight: 600; }
#accountsPage QLabel[shellRole="pill"][signedIn="true"] { color: %4;
    background: rgba(52, 199, 89, 46); }
#accountsPage QLabel[shellRole="pill"][signedIn="false"] { color: %1; background: %2; }
#accountsPage QLabel[shellRole="sectionTitle"] { font-size: 14px; font-weight: 600; }
#accountsPage QLabel[shellRole="detail"] { color: %1; font-size: 12px; }
#accountsPage QLabel[shellRole="hint"] { color: %5; font-size: 12px; }
#accountsPage QFrame[shellRole="card"]:hover { background: %3; }
QMessageBox QLabel#qt_msgbox_label, QMessageBox QLabel#qt_msgbox_informativelabel { min-width: 300px; }
QMessageBox QLabel#qt_msgbox_label { font-weight: 600; }
)")
        .arg(palette.secondary.name(QColor::HexArgb), palette.border.name(QColor::HexArgb),
             palette.card.name(QColor::HexArgb), signedInText,
             palette.dark ? QStringLiteral("#f5a524") : QStringLiteral("#b86e00"));
}
} // namespace

AccountsPage::AccountsPage(AccountService &service, Preferences &preferences, QWidget *parent)
    : QWidget(parent)
    , m_service(service)
    , m_preferences(preferences)
{
    setObjectName(QStringLiteral("accountsPage"));
    setAttribute(Qt::WA_StyledBackground);
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    m_content = new QWidget(scroll);
    m_contentLayout = new QVBoxLayout(m_content);
    // The settings page around it already sets the left edge and the header.
    m_contentLayout->setContentsMargins(0, 0, 12, 20);
    m_contentLayout->setSpacing(12);
    scroll->setWidget(m_content);

    connect(&m_service, &AccountService::statusChanged, this, &AccountsPage::rebuild);
    connect(&m_service, &AccountService::googleAccountPresentChanged, this, &AccountsPage::rebuild);
    connect(&m_preferences, &Preferences::themeChanged, this, &AccountsPage::rebuild);
    connect(&m_preferences, &Preferences::languageChanged, this, &AccountsPage::rebuild);
    rebuild();
}

void AccountsPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_service.refresh();
}

void AccountsPage::rebuild()
{
    const ShellLook::Palette palette = ShellLook::palette(ShellLook::isDark(m_preferences.theme()));
    setStyleSheet(ShellLook::styleSheet(palette, objectName()) + extraStyle(palette));
    while (QLayoutItem *item = m_contentLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_contentLayout->addWidget(label(L("登录你自己的平台账号", "Sign in to your accounts",
                                       "Inicia sesión en tus cuentas"),
                                     QStringLiteral("sectionTitle"), m_content));
    m_contentLayout->addWidget(label(
        L("登录后会员去广告、观看记录/收藏等由站点账号本身提供；澜萤只复用内置浏览器的登录态，不保存密码、不代理请求。",
          "Membership ad-free viewing, watch history and favourites come from the site account "
          "itself. Lumivane only reuses the built-in browser session — it never stores passwords "
          "or proxies requests.",
          "Sin anuncios para miembros, historial y favoritos vienen de la cuenta del sitio. "
          "Lumivane solo reutiliza la sesión del navegador integrado: no guarda contraseñas ni "
          "actúa de proxy."),
        QStringLiteral("secondary"), m_content));
    m_contentLayout->addSpacing(4);
    for (const AccountSite site : AccountSites::allCases)
        m_contentLayout->addWidget(siteCard(site));
    m_contentLayout->addWidget(notesCard());
    m_contentLayout->addStretch(1);
}

QFrame *AccountsPage::siteCard(AccountSite site)
{
    const bool signedIn = m_service.isLoggedIn(site);
    auto *card = new QFrame(m_content);
    card->setObjectName(QStringLiteral("account-") + toRaw(site));
    card->setProperty("shellRole", QStringLiteral("card"));

    auto *tile = siteTile(site, card);

    auto *name = label(displayName(site), QStringLiteral("title"), card);
    name->setWordWrap(false);
    auto *pill = label(signedIn ? L("已登录", "Signed in", "Sesión iniciada")
                                : L("未登录", "Signed out", "Sin sesión"),
                       QStringLiteral("pill"), card);
    pill->setObjectName(QStringLiteral("status"));
    pill->setWordWrap(false);
    pill->setProperty("signedIn", signedIn);
    // The wrapping lines below must not squeeze the pill out of its shape.
    pill->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    pill->setFixedHeight(pillHeight);
    auto *titleRow = new QHBoxLayout();
    titleRow->setSpacing(8);
    titleRow->addWidget(name);
    titleRow->addWidget(pill);
    titleRow->addStretch(1);

    auto *text = new QVBoxLayout();
    text->setSpacing(4);
    text->addLayout(titleRow);
    text->addWidget(label(detailText(site), QStringLiteral("detail"), card));
    if (site == AccountSite::youtube && !signedIn && m_service.googleAccountPresent()) {
        auto *hint = label(
            L("检测到已登录 Google，但 YouTube 会话还没建立（常见于登录窗口提前关闭）。请再点一次「登录」，完成跳转回 YouTube。",
              "Google is signed in, but the YouTube session isn't ready yet (usually because the "
              "login window closed early). Click “Sign in” again and finish the redirect back to "
              "YouTube.",
              "Google tiene sesión, pero la de YouTube aún no. Pulsa «Iniciar sesión» otra vez y "
              "completa la vuelta a YouTube."),
            QStringLiteral("hint"), card);
        hint->setObjectName(QStringLiteral("googleHint"));
        text->addWidget(hint);
    }

    auto *primary = new QPushButton(signedIn ? L("重新登录", "Sign in again", "Iniciar sesión de nuevo")
                                             : L("登录", "Sign in", "Iniciar sesión"),
                                    card);
    primary->setObjectName(QStringLiteral("signIn"));
    primary->setProperty("shellRole", QStringLiteral("primary"));
    connect(primary, &QPushButton::clicked, this, [this, site] { m_service.login(site); });
    auto *secondary = new QPushButton(signedIn ? L("退出登录", "Sign out", "Cerrar sesión")
                                               : L("打开站点", "Open site", "Abrir sitio"),
                                      card);
    secondary->setObjectName(signedIn ? QStringLiteral("signOut") : QStringLiteral("openSite"));
    connect(secondary, &QPushButton::clicked, this, [this, site, signedIn] {
        if (signedIn)
            confirmSignOut(site);
        else
            m_service.openHome(site);
    });
    for (QPushButton *button : {primary, secondary}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setFixedWidth(buttonWidth);
    }
    auto *buttons = new QVBoxLayout();
    buttons->setSpacing(6);
    buttons->addWidget(primary);
    buttons->addWidget(secondary);
    buttons->addStretch(1);

    auto *row = new QHBoxLayout(card);
    row->setContentsMargins(16, 14, 16, 14);
    row->setSpacing(14);
    row->addWidget(tile, 0, Qt::AlignTop);
    row->addLayout(text, 1);
    row->addLayout(buttons);
    return card;
}

QFrame *AccountsPage::notesCard()
{
    auto *card = new QFrame(m_content);
    card->setProperty("shellRole", QStringLiteral("card"));
    auto *layout = new QVBoxLayout(card);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(6);
    layout->addWidget(label(L("说明与限制", "Notes & limits", "Notas y límites"),
                            QStringLiteral("title"), card));
    layout->addWidget(label(
        L("请在登录窗口内完成登录（支持两步验证/扫码）；登录态保存在这台电脑的内置网页引擎中，关闭窗口不会退出登录。少数站点会拦截内置浏览器——此时窗口会显示提示和“用系统浏览器打开”按钮。退出登录会清除该站点的 Cookie 与数据。",
          "Sign in inside the login window (2FA/QR included); the session lives in the built-in "
          "web engine's storage on this computer and closing the window does not sign you out. "
          "Rarely a site may flag the embedded browser — the window then shows a hint and an "
          "“Open in browser” button. Signing out clears that site's cookies and data.",
          "Inicia sesión en la ventana de inicio de sesión (incluidos 2FA y QR); la sesión se "
          "guarda en el motor web integrado de este ordenador y cerrar la ventana no cierra la "
          "sesión. En raras ocasiones un sitio rechaza el navegador integrado: la ventana "
          "muestra entonces un aviso y un botón «Abrir en navegador». Cerrar sesión borra las "
          "cookies y los datos de ese sitio."),
        QStringLiteral("detail"), card));
    return card;
}

void AccountsPage::confirmSignOut(AccountSite site)
{
    const QString name = displayName(site);
    QMessageBox box(this);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(L("退出 ", "Sign out of ", "¿Cerrar sesión en ") + name
                       + L(" 登录？", "?", "?"));
    box.setText(box.windowTitle());
    box.setInformativeText(
        L(QStringLiteral("会清除该站点（") + dataDomains(site).join(QStringLiteral("、"))
              + QStringLiteral("）的 Cookie 与站点数据，不会影响本地视频和播放记录。"),
          QStringLiteral("This clears cookies and site data for ")
              + dataDomains(site).join(QStringLiteral(", "))
              + QStringLiteral(". Local files and history are untouched."),
          QStringLiteral("Se borrarán cookies y datos de ") + dataDomains(site).join(QStringLiteral(", "))
              + QStringLiteral(". Los archivos locales y el historial no cambian.")));
    QPushButton *signOut = box.addButton(L("退出登录", "Sign out", "Cerrar sesión"),
                                         QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(L("取消", "Cancel", "Cancelar"), QMessageBox::RejectRole));
    box.exec();
    if (box.clickedButton() == signOut)
        m_service.logout(site);
}
