#include "ui/PrivacySettingsPage.h"

#include "ui/SettingsCard.h"
#include "ui/SettingsRow.h"
#include "ui/SettingsTexts.h"
#include "app/AppModel.h"
#include "platform/AppPaths.h"
#include "platform/WebDataStore.h"
#include "settings/Preferences.h"

#include "KiteCore/L10n.h"

#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

PrivacySettingsPage::PrivacySettingsPage(const SettingsContext &context, QWidget *parent)
    : SettingsPage(context, parent)
{
    addLanguage();
    addHistory();
    addWebData();
    addPromise();
    finish();
}

void PrivacySettingsPage::addLanguage()
{
    SettingsCard *card = addCard(L("语言", "Language", "Idioma"));
    SegmentedControl *language =
        segmented(QStringLiteral("language"),
                  {{L("系统", "System", "Sistema"), toRaw(AppLanguage::system)},
                   {QStringLiteral("简体中文"), toRaw(AppLanguage::zh)},
                   {QStringLiteral("English"), toRaw(AppLanguage::en)},
                   {QStringLiteral("Español"), toRaw(AppLanguage::es)}},
                  toRaw(preferences().language()));
    connect(language, &SegmentedControl::chosen, &preferences(), [this](const QVariant &value) {
        preferences().setLanguage(appLanguageFromRaw(value.toString()).value_or(AppLanguage::system));
    });
    card->addRow(new SettingsRow(L("界面语言", "Interface language", "Idioma de la interfaz"),
                                 L("界面会立即更新，无需重启。",
                                   "The interface updates immediately — no restart needed.",
                                   "La interfaz se actualiza al instante, sin reiniciar."),
                                 language, this));
}

void PrivacySettingsPage::addHistory()
{
    SettingsCard *card = addCard(L("本地历史", "Local history", "Historial local"));
    addToggle(*card, QStringLiteral("saveHistory"),
              L("保存最近记录", "Save recent history", "Guardar historial reciente"),
              L("关闭后不再新增记录，已有的保留。",
                "Turning this off stops new entries; existing ones stay.",
                "Al desactivarlo no se añaden entradas; las existentes se quedan."),
              &Preferences::saveHistory, &Preferences::setSaveHistory,
              &Preferences::saveHistoryChanged);
    addToggle(*card, QStringLiteral("resumePlaybackPrivacy"),
              L("继续播放", "Resume playback", "Reanudar reproducción"),
              L("与历史一起保存在本地，用来记住播放位置。",
                "Stored locally with history to remember playback positions.",
                "Se guarda localmente con el historial para recordar posiciones."),
              &Preferences::resumePlayback, &Preferences::setResumePlayback,
              &Preferences::resumePlaybackChanged);
    auto *clear = new QPushButton(L("清空…", "Clear…", "Borrar…"), this);
    clear->setObjectName(QStringLiteral("clearHistory"));
    clear->setProperty("shellRole", QStringLiteral("destructive"));
    connect(clear, &QPushButton::clicked, this, &PrivacySettingsPage::confirmClearHistory);
    m_historyRow = card->addRow(new SettingsRow(
        L("清空最近记录", "Clear recent history", "Borrar historial reciente"), {}, clear, this));
    m_historyRow->detailLabel()->setObjectName(QStringLiteral("historySummary"));
    showHistorySummary();
    connect(&context().model, &AppModel::historyChanged, this,
            &PrivacySettingsPage::showHistorySummary);
}

void PrivacySettingsPage::showHistorySummary()
{
    const AppModel &model = context().model;
    QLabel *summary = m_historyRow->detailLabel();
    summary->setText(SettingsTexts::historySummary(int(model.history().size()),
                                                   int(model.favorites().size())));
    summary->show();
}

void PrivacySettingsPage::confirmClearHistory()
{
    QMessageBox *box = confirmation(
        L("清空最近记录？", "Clear recent history?", "¿Borrar el historial?"),
        SettingsTexts::clearHistoryMessage(int(context().model.history().size())),
        L("清空", "Clear", "Borrar"));
    connect(box, &QMessageBox::accepted, &context().model, &AppModel::clearHistory);
}

void PrivacySettingsPage::addWebData()
{
    SettingsCard *card = addCard(L("网页数据", "Web data", "Datos web"));
    auto *clear = new QPushButton(L("清除", "Clear", "Borrar"), this);
    clear->setObjectName(QStringLiteral("clearWebData"));
    clear->setProperty("shellRole", QStringLiteral("destructive"));
    clear->setEnabled(context().webData != nullptr);
    connect(clear, &QPushButton::clicked, this, &PrivacySettingsPage::confirmClearWebData);
    m_webDataRow = card->addRow(new SettingsRow(
        L("清除内置网页数据", "Clear built-in web data", "Borrar datos web internos"),
        L("清除缓存、Cookie 与登录状态。已打开的网页需要重新加载。",
          "Clears cache, cookies and sign-ins. Open pages need a reload.",
          "Borra caché, cookies y sesiones. Las páginas abiertas necesitan recargarse."),
        clear, this));
    m_webDataRow->noteLabel()->setObjectName(QStringLiteral("webDataNote"));
    m_webDataRow->noteLabel()->setProperty("shellRole", QStringLiteral("success"));
    if (WebDataStore *store = context().webData) {
        connect(store, &WebDataStore::cleared, this, [this] {
            m_webDataRow->setNote(QStringLiteral("✓ ")
                                  + L("已清除网页缓存、Cookie 与登录状态。",
                                      "Web cache, cookies and sign-ins were cleared.",
                                      "Se borraron caché, cookies y sesiones."));
            Q_EMIT webDataCleared();
        });
    }
}

void PrivacySettingsPage::confirmClearWebData()
{
    QMessageBox *box = confirmation(
        L("清除内置网页数据？", "Clear built-in web data?", "¿Borrar datos web internos?"),
        L("会清空缓存、Cookie 与登录状态。已打开的网页窗口重新加载后可能需要重新登录。",
          "This clears cache, cookies and sign-ins. Open pages may need a fresh sign-in after "
          "reload.",
          "Se borrarán caché, cookies y sesiones. Las páginas abiertas pueden pedir iniciar "
          "sesión."),
        L("清除", "Clear", "Borrar"));
    connect(box, &QMessageBox::accepted, context().webData, &WebDataStore::clearAll);
}

void PrivacySettingsPage::addPromise()
{
    SettingsCard *card = addCard(L("隐私承诺", "Privacy promise", "Promesa de privacidad"),
                                 L("一切都留在这台电脑上，不上传任何内容。",
                                   "Everything stays on this computer. Nothing is uploaded.",
                                   "Todo se queda en este ordenador. No se sube nada."));
    const QString dataFolder = QDir::toNativeSeparators(AppPaths::dataFolder());
    const QString settings = QDir::toNativeSeparators(AppPaths::settingsFile());
    const QStringList lines{
        L("零遥测：没有统计分析、没有崩溃上报、没有第三方 SDK。",
          "Zero telemetry: no analytics, no crash reporting, no third-party SDKs.",
          "Cero telemetría: sin analíticas, sin informes de fallos, sin SDK de terceros."),
        L("不需要账号，也不需要邮箱，永远如此。", "No account, no email required, ever.",
          "Sin cuenta ni correo, nunca."),
        L(QStringLiteral("历史记录保存在 ") + dataFolder + QStringLiteral("，偏好设置保存在 ") + settings
              + QStringLiteral("。"),
          QStringLiteral("History lives in ") + dataFolder + QStringLiteral(", preferences in ")
              + settings + u'.',
          QStringLiteral("El historial vive en ") + dataFolder + QStringLiteral(" y las preferencias en ")
              + settings + u'.'),
        L("内置网页引擎的缓存和登录状态都保存在本地。",
          "The built-in web engine keeps cache and sign-ins, all locally.",
          "El motor web integrado guarda caché y sesiones, todo en local."),
    };
    for (const QString &line : lines)
        card->addRow(new SettingsRow({}, line, nullptr, this));
}
