#include "ui/AboutSettingsPage.h"

#include "ui/SettingsCard.h"
#include "ui/SettingsRow.h"
#include "ui/ShellLook.h"
#include "platform/AppPaths.h"

#include "KiteCore/L10n.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int brandIconSize = 64;

QLabel *label(const QString &text, const QString &role, QWidget *parent)
{
    auto *result = new QLabel(text, parent);
    result->setProperty("shellRole", role);
    result->setWordWrap(true);
    return result;
}
} // namespace

AboutSettingsPage::AboutSettingsPage(const SettingsContext &context, QWidget *parent)
    : SettingsPage(context, parent)
{
    layout()->addWidget(brand());
    addAudience();
    addIndependence();
    layout()->addWidget(label(
        L(QStringLiteral("数据保存在 ") + QDir::toNativeSeparators(AppPaths::dataFolder())
              + QStringLiteral("，随时可以删除。"),
          QStringLiteral("Data lives in ") + QDir::toNativeSeparators(AppPaths::dataFolder())
              + QStringLiteral(" — delete it whenever you like."),
          QStringLiteral("Los datos viven en ") + QDir::toNativeSeparators(AppPaths::dataFolder())
              + QStringLiteral(": bórralos cuando quieras.")),
        QStringLiteral("secondary"), this));
    finish();
}

QWidget *AboutSettingsPage::brand()
{
    auto *box = new QWidget(this);
    auto *icon = new QLabel(box);
    icon->setPixmap(ShellLook::appIcon().pixmap(brandIconSize, brandIconSize));
    auto *text = new QVBoxLayout();
    text->setSpacing(3);
    text->addWidget(label(QStringLiteral("Lumivane ") + QCoreApplication::applicationVersion(),
                          QStringLiteral("heading"), box));
    text->addWidget(label(L("一款为 Linux 桌面打造的浮窗播放器。",
                            "A floating player for the Linux desktop.",
                            "Un reproductor flotante para el escritorio Linux."),
                          QStringLiteral("lead"), box));
    text->addWidget(label(L("本地优先 · 无需账号 · 全部功能免费 · 无遥测。",
                            "Local-first · no account · all features free · no telemetry.",
                            "Local · sin cuenta · todo gratis · sin telemetría."),
                          QStringLiteral("secondary"), box));
    text->addWidget(label(L("本地媒体使用 mpv 解码；网页播放取决于站点。",
                            "Local media is decoded by mpv; web playback depends on the site.",
                            "Los medios locales los decodifica mpv; la reproducción web depende "
                            "del sitio."),
                          QStringLiteral("secondary"), box));
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    return box;
}

void AboutSettingsPage::addAudience()
{
    SettingsCard *card = addCard(L("适合谁", "Who it's for", "Para quién es"));
    card->addRow(new SettingsRow(
        {},
        L("给边做事边看的人：写代码、剪视频、上网课、跟着做菜——把视频放在角落，不用来回切窗口。",
          "For people who watch while doing: coding, editing, online classes, cooking along — "
          "keep the video in a corner instead of switching windows.",
          "Para quien mira mientras hace otra cosa: programar, editar, clases en línea, cocinar "
          "— deja el vídeo en una esquina en vez de cambiar de ventana."),
        nullptr, this));
}

void AboutSettingsPage::addIndependence()
{
    SettingsCard *card = addCard(L("独立与许可", "Independence & licence", "Independencia y licencia"));
    card->addRow(new SettingsRow(
        L("独立应用", "Standalone app", "App independiente"),
        L("Lumivane 是独立的应用，有自己的应用标识和存储位置。",
          "Lumivane is independent, with its own application id and storage.",
          "Lumivane es independiente, con su propio identificador y almacenamiento."),
        nullptr, this));
    card->addRow(new SettingsRow(
        L("本地构建", "Built locally", "Compilado en local"),
        L("从源代码构建并安装，无需商店或签名服务；没有需要手动放行的步骤。",
          "Built and installed from source, with no store or signing service involved; nothing "
          "to unblock before the first launch.",
          "Compilado e instalado desde el código, sin tienda ni servicio de firma; nada que "
          "desbloquear antes del primer inicio."),
        nullptr, this));
    card->addRow(new SettingsRow(L("全部免费", "Everything is free", "Todo es gratis"),
                                 L("无需账号，没有内购，没有付费墙，不收集使用数据。",
                                   "No account, no in-app purchase, no paywall, no usage data.",
                                   "Sin cuenta, sin compras, sin muro de pago, sin datos de uso."),
                                 nullptr, this));
    card->addRow(new SettingsRow(
        L("没有打包的第三方库", "No bundled third-party code", "Sin código de terceros incluido"),
        L("基于 Qt、mpv 和 QtWebEngine 构建，均来自系统发行版——不捆绑其他库。",
          "Built on Qt, mpv and QtWebEngine from your distribution — no other bundled libraries.",
          "Hecho con Qt, mpv y QtWebEngine de tu distribución, sin otras bibliotecas incluidas."),
        nullptr, this));
}
