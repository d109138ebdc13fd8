#include "ui/SettingsTab.h"

#include "KiteCore/L10n.h"

namespace SettingsTabs {

QString title(SettingsTab tab)
{
    switch (tab) {
    case SettingsTab::appearance: return L("外观与窗口", "Appearance & windows", "Apariencia y ventanas");
    case SettingsTab::playback: return L("播放", "Playback", "Reproducción");
    case SettingsTab::account: return L("账号", "Accounts", "Cuentas");
    case SettingsTab::window: return L("窗口与快捷键", "Windows & shortcuts", "Ventanas y atajos");
    case SettingsTab::language: return L("语言与隐私", "Language & privacy", "Idioma y privacidad");
    case SettingsTab::about: return L("关于", "About", "Acerca de");
    }
    return {};
}

QString subtitle(SettingsTab tab)
{
    switch (tab) {
    case SettingsTab::appearance:
        return L("Lumivane 的外观，以及新窗口如何出现。",
                 "How Lumivane looks, and how new windows show up.",
                 "Cómo se ve Lumivane y cómo aparecen las ventanas nuevas.");
    case SettingsTab::playback:
        return L("谁来播放你的内容，以及隐藏和网页清理做什么。",
                 "Who plays your content, and what hiding and web cleanup do.",
                 "Quién reproduce tu contenido y qué hacen ocultar y la limpieza web.");
    case SettingsTab::account:
        return L("登录 YouTube / Bilibili / Twitch —— 会员免广告与观看记录跟随账号。",
                 "Sign in to YouTube / Bilibili / Twitch — membership ad-free viewing and "
                 "history follow the account.",
                 "Inicia sesión en YouTube / Bilibili / Twitch — la suscripción sin anuncios y "
                 "el historial siguen a la cuenta.");
    case SettingsTab::window:
        return L("默认尺寸、控制方式，以及省去鼠标的快捷键。",
                 "Default sizes, controls, and shortcuts that save you the mouse.",
                 "Tamaños por defecto, controles y atajos que te ahorran el ratón.");
    case SettingsTab::language:
        return L("界面语言、本地历史开关，以及数据存放位置。",
                 "Interface language, local history switches, and where data lives.",
                 "Idioma de la interfaz, historial local y dónde se guardan los datos.");
    case SettingsTab::about:
        return L("版本、许可，以及这个应用为谁而做。", "Version, licence, and who this app is for.",
                 "Versión, licencia y para quién es esta app.");
    }
    return {};
}

QString iconName(SettingsTab tab)
{
    switch (tab) {
    case SettingsTab::appearance: return QStringLiteral("sliders");
    case SettingsTab::playback: return QStringLiteral("play-rectangle");
    case SettingsTab::account: return QStringLiteral("person");
    case SettingsTab::window: return QStringLiteral("window");
    case SettingsTab::language: return QStringLiteral("globe");
    case SettingsTab::about: return QStringLiteral("info");
    }
    return {};
}

} // namespace SettingsTabs

QString toRaw(SettingsTab tab)
{
    switch (tab) {
    case SettingsTab::appearance: return QStringLiteral("appearance");
    case SettingsTab::playback: return QStringLiteral("playback");
    case SettingsTab::account: return QStringLiteral("account");
    case SettingsTab::window: return QStringLiteral("window");
    case SettingsTab::language: return QStringLiteral("language");
    case SettingsTab::about: return QStringLiteral("about");
    }
    return {};
}

std::optional<SettingsTab> settingsTabFromRaw(const QString &raw)
{
    for (SettingsTab tab : SettingsTabs::allCases) {
        if (toRaw(tab) == raw)
            return tab;
    }
    return std::nullopt;
}
