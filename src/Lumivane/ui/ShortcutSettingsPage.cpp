#include "ui/ShortcutSettingsPage.h"

#include "ui/SettingsCard.h"
#include "ui/SettingsRow.h"
#include "ui/SettingsTexts.h"
#include "ui/ShortcutEditor.h"
#include "settings/Preferences.h"

#include "KiteCore/L10n.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPushButton>

ShortcutSettingsPage::ShortcutSettingsPage(const SettingsContext &context, QWidget *parent)
    : SettingsPage(context, parent)
{
    addWindowDefaults();
    addGlobalShortcuts();
    addInAppShortcuts();
    addWayBack();
    finish();
}

void ShortcutSettingsPage::addWindowDefaults()
{
    SettingsCard *card = addCard(L("窗口默认值", "Window defaults", "Valores de ventana"),
                                 L("新窗口的默认设置——单个窗口仍可不同。",
                                   "Defaults for new windows — individual windows can still differ.",
                                   "Valores para ventanas nuevas; cada ventana puede ser distinta."));
    addToggle(*card, QStringLiteral("lockAspect"),
              L("锁定宽高比", "Lock aspect ratio", "Bloquear proporción"),
              L("调整大小时保持 16:9，画面不会被拉伸。",
                "Windows keep 16:9 while resizing so nothing gets stretched.",
                "Las ventanas mantienen 16:9 al cambiar de tamaño para que nada se estire."),
              &Preferences::lockAspect, &Preferences::setLockAspect,
              &Preferences::lockAspectChanged);
    addToggle(*card, QStringLiteral("autoHideControls"),
              L("自动隐藏控制栏", "Auto-hide controls", "Ocultar controles"),
              L("指针离开时控制栏淡出，悬停时回来。",
                "Controls fade out when the pointer leaves and come back on hover.",
                "Los controles se desvanecen cuando el puntero sale y vuelven al pasar por encima."),
              &Preferences::autoHideControls, &Preferences::setAutoHideControls,
              &Preferences::autoHideControlsChanged);
}

void ShortcutSettingsPage::addGlobalShortcuts()
{
    SettingsCard *card = addCard(
        L("全局快捷键", "Global shortcuts", "Atajos globales"),
        L("在任何应用中都可用，无需辅助功能权限。点击按钮录制：Esc 取消，Delete 清除。",
          "Work in any app without accessibility permission. Click a button to record: Esc "
          "cancels, Delete clears.",
          "Funcionan en cualquier app sin permisos de accesibilidad. Pulsa un botón para grabar: "
          "Esc cancela, Supr borra."));
    SettingsRow *enable = addToggle(
        *card, QStringLiteral("globalShortcuts"),
        L("启用全局快捷键", "Enable global shortcuts", "Activar atajos globales"),
        SettingsTexts::globalShortcutsDetail(context().hasTray), &Preferences::globalShortcuts,
        &Preferences::setGlobalShortcuts, &Preferences::globalShortcutsChanged);
    const auto showStatus = [enable](const QString &status) {
        enable->setNote(SettingsTexts::shortcutStatusLine(status));
    };
    enable->noteLabel()->setObjectName(QStringLiteral("shortcutStatus"));
    showStatus(preferences().shortcutStatus());
    connect(&preferences(), &Preferences::shortcutStatusChanged, enable, showStatus);

    m_editor = new ShortcutEditor(preferences(), this);
    connect(m_editor, &ShortcutEditor::recordingStarted, this,
            &ShortcutSettingsPage::recordingStarted);
    connect(m_editor, &ShortcutEditor::recordingStopped, this,
            &ShortcutSettingsPage::recordingStopped);
    card->addWidget(m_editor);

    auto *buttons = new QWidget(this);
    auto *reset = new QPushButton(L("恢复默认", "Reset to defaults", "Restablecer"), buttons);
    reset->setObjectName(QStringLiteral("resetBindings"));
    auto *clear = new QPushButton(L("清除全部绑定", "Clear all bindings", "Borrar todos"), buttons);
    clear->setObjectName(QStringLiteral("clearBindings"));
    connect(reset, &QPushButton::clicked, &preferences(),
            [this] { preferences().setShortcutBindings(ShortcutBindings::defaults()); });
    connect(clear, &QPushButton::clicked, &preferences(),
            [this] { preferences().setShortcutBindings({}); });
    auto *layout = new QHBoxLayout(buttons);
    layout->setContentsMargins(14, 8, 14, 10);
    layout->addStretch(1);
    layout->addWidget(reset);
    layout->addWidget(clear);
    card->addWidget(buttons);
}

QWidget *ShortcutSettingsPage::keyCap(const QString &keys)
{
    auto *cap = new QLabel(keys, this);
    cap->setProperty("shellRole", QStringLiteral("keycap"));
    return cap;
}

void ShortcutSettingsPage::addInAppShortcuts()
{
    SettingsCard *card = addCard(L("应用内快捷键", "In-app shortcuts", "Atajos de la app"),
                                 L("在 Lumivane 的任何窗口里都可用。",
                                   "Available in every Lumivane window.",
                                   "Disponibles en cualquier ventana de Lumivane."));
    const auto keys = [](const QKeySequence &sequence) {
        return sequence.toString(QKeySequence::NativeText);
    };
    card->addRow(new SettingsRow(L("把链接粘贴到输入框", "Paste a link into the field",
                                   "Pegar un enlace en el campo"),
                                 {}, keyCap(keys(QKeySequence::Paste)), this));
    card->addRow(new SettingsRow(L("打开输入的内容", "Open what you typed", "Abrir lo escrito"), {},
                                 keyCap(keys(QKeySequence(Qt::Key_Return))), this));
    // One row per command, in menu order; a command on two keys shows both.
    QStringList titles;
    QHash<QString, QStringList> shortcuts;
    for (QAction *action : context().applicationActions) {
        if (action->shortcut().isEmpty())
            continue;
        // Menu texts double "&" so that it is not taken for a mnemonic.
        const QString title = action->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
        if (!titles.contains(title))
            titles.append(title);
        shortcuts[title].append(keys(action->shortcut()));
    }
    for (const QString &title : titles) {
        card->addRow(new SettingsRow(title, {}, keyCap(shortcuts.value(title).join(QStringLiteral("  /  "))),
                                     this));
    }
}

QString ShortcutSettingsPage::toggleAllKeys() const
{
    const ShortcutBindingMap &bindings = preferences().shortcutBindings();
    const auto bound = bindings.find(ShortcutAction::toggleAllWindows);
    return bound == bindings.end() ? QString() : bound->second.displayString();
}

void ShortcutSettingsPage::addWayBack()
{
    SettingsCard *card = addCard(L("找回窗口", "Getting windows back", "Recuperar ventanas"),
                                 L("点击穿透或隐藏之后，从这里回来。",
                                   "After click-through or hiding, here's the way back.",
                                   "Tras el clic a través u ocultar, así se vuelve."));
    card->addRow(new SettingsRow({}, SettingsTexts::restoreAllDetail(context().hasTray), nullptr, this));
    const QString keys = toggleAllKeys();
    if (keys.isEmpty())
        return;
    card->addRow(new SettingsRow(
        {},
        L(keys + QStringLiteral(" 也能切换全部窗口；点击穿透后键盘依然有效。"),
          keys + QStringLiteral(" toggles all windows too; the keyboard keeps working after "
                                "click-through."),
          keys + QStringLiteral(" también alterna todas las ventanas; el teclado sigue "
                                "funcionando tras el clic a través.")),
        nullptr, this));
}
