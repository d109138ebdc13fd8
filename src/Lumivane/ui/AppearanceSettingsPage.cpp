#include "ui/AppearanceSettingsPage.h"

#include "ui/SettingsCard.h"
#include "ui/SettingsRow.h"
#include "settings/Preferences.h"

#include "KiteCore/L10n.h"

AppearanceSettingsPage::AppearanceSettingsPage(const SettingsContext &context, QWidget *parent)
    : SettingsPage(context, parent)
{
    addAppearance();
    addWindows();
    finish();
}

void AppearanceSettingsPage::addAppearance()
{
    SettingsCard *card = addCard(L("外观", "Appearance", "Apariencia"),
                                 L("跟随系统，或固定浅色、深色外观。",
                                   "Follow the system, or pin a light or dark look.",
                                   "Sigue al sistema o fija un aspecto claro u oscuro."));
    SegmentedControl *theme =
        segmented(QStringLiteral("theme"),
                  {{L("系统", "System", "Sistema"), QStringLiteral("system")},
                   {L("浅色", "Light", "Claro"), QStringLiteral("light")},
                   {L("深色", "Dark", "Oscuro"), QStringLiteral("dark")}},
                  preferences().theme());
    connect(theme, &SegmentedControl::chosen, &preferences(),
            [this](const QVariant &value) { preferences().setTheme(value.toString()); });
    card->addRow(new SettingsRow(L("主题", "Theme", "Tema"),
                                 L("「系统」会自动跟随桌面的外观。",
                                   "System follows your desktop's appearance automatically.",
                                   "Sistema sigue automáticamente el aspecto de tu escritorio."),
                                 theme, this));
}

void AppearanceSettingsPage::addWindows()
{
    SettingsCard *card = addCard(
        L("窗口", "Windows", "Ventanas"),
        L("新浮窗的初始行为——每个窗口之后仍可单独调整。",
          "Starting behaviour for new floating windows — each window can still be changed later.",
          "Comportamiento inicial de las ventanas flotantes nuevas; cada una puede cambiarse "
          "después."));
    addToggle(*card, QStringLiteral("alwaysOnTop"),
              L("新窗口保持置顶", "Keep new windows on top", "Ventanas nuevas siempre encima"),
              L("新窗口浮在其他窗口之上。随时可在窗口控制里取消置顶。",
                "New windows float above others. Unpin them from the window controls anytime.",
                "Las ventanas nuevas flotan sobre las demás. Desfíjalas desde sus controles "
                "cuando quieras."),
              &Preferences::alwaysOnTop, &Preferences::setAlwaysOnTop,
              &Preferences::alwaysOnTopChanged);
    addToggle(*card, QStringLiteral("snapToEdges"),
              L("吸附屏幕边缘", "Snap to screen edges", "Ajustar a los bordes"),
              L("把窗口拖到边缘附近，它会无缝贴合。",
                "Drop a window near an edge and it clicks into place without a gap.",
                "Suelta una ventana cerca de un borde y encaja sin hueco."),
              &Preferences::snapToEdges, &Preferences::setSnapToEdges,
              &Preferences::snapToEdgesChanged);
    addToggle(*card, QStringLiteral("restoreWindows"),
              L("启动时恢复窗口", "Restore windows on launch", "Restaurar ventanas al iniciar"),
              L("重新打开上次的浮窗。", "Reopen the floating windows you had last time.",
                "Vuelve a abrir las ventanas flotantes de la última vez."),
              &Preferences::restoreWindows, &Preferences::setRestoreWindows,
              &Preferences::restoreWindowsChanged);
    SegmentedControl *width = segmented(
        QStringLiteral("defaultWidth"),
        {{L("小 480", "Small 480", "Pequeña 480"), 480.0},
         {L("标准 640", "Standard 640", "Estándar 640"), 640.0},
         {L("大 960", "Large 960", "Grande 960"), 960.0}},
        preferences().defaultWidth());
    connect(width, &SegmentedControl::chosen, &preferences(),
            [this](const QVariant &value) { preferences().setDefaultWidth(value.toDouble()); });
    connect(&preferences(), &Preferences::defaultWidthChanged, width,
            [width](double value) { width->setValue(value); });
    card->addRow(new SettingsRow(L("默认窗口宽度", "Default window width", "Ancho por defecto"),
                                 L("新窗口的初始宽度，之后可随意调整。",
                                   "Starting width for new windows; resize any time.",
                                   "Ancho inicial de las ventanas nuevas; cámbialo cuando quieras."),
                                 width, this));
}
