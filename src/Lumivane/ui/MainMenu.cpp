#include "ui/MainMenu.h"

#include "app/AppCommands.h"

#include "KiteCore/L10n.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QMenuBar>

#include <array>

namespace {
// The text of each action, by object name, in the current language.
QString actionText(const QString &name)
{
    static const QHash<QString, std::array<const char *, 3>> texts{
        {u"about"_qs, {"关于 Lumivane", "About Lumivane", "Acerca de Lumivane"}},
        {u"settings"_qs, {"设置…", "Settings…", "Ajustes…"}},
        {u"accounts"_qs, {"账号与登录…", "Accounts & sign-in…", "Cuentas e inicio de sesión…"}},
        {u"hideApplication"_qs, {"隐藏 Lumivane", "Hide Lumivane", "Ocultar Lumivane"}},
        {u"quit"_qs, {"退出 Lumivane", "Quit Lumivane", "Salir de Lumivane"}},
        {u"openFile"_qs, {"打开文件…", "Open File…", "Abrir archivo…"}},
        {u"openClipboard"_qs, {"打开剪贴板链接", "Open Clipboard Link", "Abrir enlace del portapapeles"}},
        {u"captureFrame"_qs, {"截取画面", "Capture Frame", "Capturar fotograma"}},
        {u"showHome"_qs, {"显示开始面板", "Show Start Panel", "Mostrar panel de inicio"}},
        {u"showHomeWindow"_qs, {"显示开始面板", "Show Start Panel", "Mostrar panel de inicio"}},
        {u"undo"_qs, {"撤销", "Undo", "Deshacer"}},
        {u"cut"_qs, {"剪切", "Cut", "Cortar"}},
        {u"copy"_qs, {"拷贝", "Copy", "Copiar"}},
        {u"paste"_qs, {"粘贴", "Paste", "Pegar"}},
        {u"selectAll"_qs, {"全选", "Select All", "Seleccionar todo"}},
        {u"togglePlayback"_qs, {"播放 / 暂停", "Play / Pause", "Reproducir / Pausa"}},
        {u"toggleAll"_qs, {"隐藏 / 恢复全部", "Hide / Restore All", "Ocultar / Restaurar todo"}},
        {u"recoverAll"_qs, {"恢复全部窗口", "Restore All Windows", "Restaurar todas las ventanas"}},
    };
    const auto &text = texts.value(name);
    return L(text[0], text[1], text[2]);
}
} // namespace

MainMenu::MainMenu(AppCommands &commands, QObject *parent)
    : QObject(parent)
    , m_appCommands(commands)
{
    using Keys = QKeySequence;
    command(u"about"_qs, &AppCommands::showAbout, {});
    command(u"settings"_qs, &AppCommands::showSettings, Keys(Qt::CTRL | Qt::Key_Comma));
    command(u"accounts"_qs, &AppCommands::showAccounts, {});
    command(u"hideApplication"_qs, &AppCommands::hideApplication, Keys(Qt::CTRL | Qt::Key_H));
    command(u"quit"_qs, &AppCommands::quit, Keys(Qt::CTRL | Qt::Key_Q));
    command(u"openFile"_qs, &AppCommands::openFile, Keys(Qt::CTRL | Qt::Key_O));
    command(u"openClipboard"_qs, &AppCommands::openClipboard, Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    command(u"captureFrame"_qs, &AppCommands::captureFrame, Keys(Qt::CTRL | Qt::Key_S));
    command(u"showHome"_qs, &AppCommands::showHome, Keys(Qt::CTRL | Qt::Key_N));
    command(u"togglePlayback"_qs, &AppCommands::togglePlayback, playPauseShortcut());
    command(u"toggleAll"_qs, &AppCommands::toggleAll, Keys(Qt::CTRL | Qt::ALT | Qt::Key_F));
    command(u"recoverAll"_qs, &AppCommands::recoverAll, Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    command(u"showHomeWindow"_qs, &AppCommands::showHome, Keys(Qt::CTRL | Qt::Key_0));
    editAction(u"undo"_qs, "undo()", QKeySequence::Undo);
    editAction(u"cut"_qs, "cut()", QKeySequence::Cut);
    editAction(u"copy"_qs, "copy()", QKeySequence::Copy);
    editAction(u"paste"_qs, "paste()", QKeySequence::Paste);
    editAction(u"selectAll"_qs, "selectAll()", QKeySequence::SelectAll);
}

QKeySequence MainMenu::playPauseShortcut()
{
    return QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Space);
}

void MainMenu::command(const QString &name, void (AppCommands::*slot)(),
                           const QKeySequence &shortcut)
{
    auto *action = new QAction(this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::ApplicationShortcut);
    connect(action, &QAction::triggered, &m_appCommands, slot);
    m_commands.append(action);
}

// Edit commands go to the focused widget, when it has them (a text field does).
void MainMenu::editAction(const QString &name, const char *slot, QKeySequence::StandardKey key)
{
    auto *action = new QAction(this);
    action->setObjectName(name);
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, [slot] {
        QWidget *focus = QApplication::focusWidget();
        if (focus != nullptr && focus->metaObject()->indexOfMethod(slot) >= 0)
            QMetaObject::invokeMethod(focus, QByteArray(slot).chopped(2).constData());
    });
    m_edit.append(action);
}

void MainMenu::retranslate()
{
    // "&" marks a mnemonic in a menu; "Accounts & sign-in…" means the character.
    for (QAction *action : m_commands + m_edit)
        action->setText(actionText(action->objectName()).replace(u'&', QStringLiteral("&&")));
}

void MainMenu::populate(QMenuBar &bar)
{
    retranslate();
    bar.clear();
    for (QMenu *old : bar.findChildren<QMenu *>(Qt::FindDirectChildrenOnly))
        old->deleteLater();
    const auto find = [this](const QString &name) { return findChild<QAction *>(name); };
    const auto menu = [&bar, &find](const QString &title, const QStringList &names) {
        QMenu *added = bar.addMenu(title);
        for (const QString &name : names) {
            if (name.isEmpty())
                added->addSeparator();
            else
                added->addAction(find(name));
        }
    };
    menu(QStringLiteral("Lumivane"),
         {u"about"_qs, {}, u"settings"_qs, u"accounts"_qs, {}, u"hideApplication"_qs, u"quit"_qs});
    menu(L("文件", "File", "Archivo"),
         {u"openFile"_qs, u"openClipboard"_qs, u"captureFrame"_qs, {}, u"showHome"_qs});
    menu(L("编辑", "Edit", "Edición"),
         {u"undo"_qs, {}, u"cut"_qs, u"copy"_qs, u"paste"_qs, u"selectAll"_qs});
    menu(L("播放", "Playback", "Reproducción"),
         {u"togglePlayback"_qs, {}, u"toggleAll"_qs, u"recoverAll"_qs});
    menu(L("窗口", "Window", "Ventana"), {u"showHomeWindow"_qs, u"settings"_qs});
}
