#include "ui/AboutDialog.h"

#include "ui/ShellLook.h"

#include "KiteCore/L10n.h"

#include <QCoreApplication>
#include <QPushButton>

AboutDialog::AboutDialog(QWidget *parent)
    : QMessageBox(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    // Player windows float above normal ones; the dialog must not open underneath them.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowTitle(L("关于 Lumivane", "About Lumivane", "Acerca de Lumivane"));
    setIconPixmap(ShellLook::appIcon().pixmap(QSize(64, 64)));
    setText(QStringLiteral("澜萤 Lumivane ") + QCoreApplication::applicationVersion());
    setInformativeText(
        L("Linux 桌面上的浮窗播放器。\n本地优先 · 无需账号 · 全部功能免费 · 无遥测。\n\n"
          "本地媒体由 mpv 解码；网页播放取决于网站。",
          "A floating player for the Linux desktop.\nLocal-first · no account · all features "
          "free · no telemetry.\n\nLocal media is decoded by mpv; web playback depends on the site.",
          "Un reproductor flotante para el escritorio Linux.\nPrimero lo local · sin cuenta · todas "
          "las funciones gratis · sin telemetría.\n\nLos medios locales los decodifica mpv; la "
          "reproducción web depende del sitio."));
    addButton(L("好", "OK", "Vale"), QMessageBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
}
