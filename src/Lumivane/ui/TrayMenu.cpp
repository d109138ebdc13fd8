#include "ui/TrayMenu.h"

#include "app/AppCommands.h"

#include "KiteCore/L10n.h"

TrayMenu::TrayMenu(AppCommands &commands, QWidget *parent)
    : QMenu(parent)
    , m_commands(commands)
{
    populate();
}

void TrayMenu::populate()
{
    clear();
    addAction(L("打开开始面板", "Open Start Panel", "Abrir panel de inicio"), &m_commands,
              &AppCommands::showHome);
    addAction(L("打开文件…", "Open File…", "Abrir archivo…"), &m_commands, &AppCommands::openFile);
    addAction(L("恢复全部窗口", "Restore All Windows", "Restaurar todas las ventanas"), &m_commands,
              &AppCommands::recoverAll);
    addAction(L("全部找回", "Bring All Back", "Recuperar todo"), &m_commands,
              &AppCommands::toggleAll);
    addSeparator();
    addAction(L("设置…", "Settings…", "Ajustes…"), &m_commands, &AppCommands::showSettings);
    addAction(L("退出 Lumivane", "Quit Lumivane", "Salir de Lumivane"), &m_commands,
              &AppCommands::quit);
}
