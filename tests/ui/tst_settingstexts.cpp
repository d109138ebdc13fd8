#include "ui/KeyCapture.h"
#include "ui/SettingsTexts.h"

#include "KiteCore/L10n.h"

#include <QTest>

#include <optional>

class TestSettingsTexts final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { L10n::setLanguage(AppLanguage::en); }

    void texts()
    {
        struct Row {
            QString actual;
            QString expected;
        };
        const QList<Row> rows{
            {SettingsTexts::historySummary(0, 0), u"There is nothing saved right now."_qs},
            {SettingsTexts::historySummary(4, 1), u"4 items, 1 favorite."_qs},
            {SettingsTexts::historySummary(12, 3), u"12 items, 3 favorites."_qs},
            {SettingsTexts::clearHistoryMessage(7),
             u"7 items will be removed, favorites included. This can't be undone."_qs},
            {SettingsTexts::shortcutStatusLine({}), u"Not registered yet."_qs},
            {SettingsTexts::shortcutStatusLine(u"Ctrl+Alt+F toggle"_qs), u"Ctrl+Alt+F toggle"_qs},
            {SettingsTexts::siteTierLine(SiteCapability::adapted), u"YouTube · Twitch · Bilibili (3)"_qs},
            {SettingsTexts::siteTierLine(SiteCapability::unsupported).right(4), u"(11)"_qs},
            {SettingsTexts::globalShortcutsDetail(true),
             u"You can still reach windows from the tray icon."_qs},
            {SettingsTexts::globalShortcutsDetail(false),
             u"You can still reach windows from the Windows section of the start panel."_qs},
        };
        for (const Row &row : rows)
            QCOMPARE(row.actual, row.expected);
    }

    // Qt's keys in the stored form: shifted symbols are their key, lone modifiers are kept
    // for the recorder to refuse, keys without a stored code are none.
    void capturedKeys()
    {
        struct Row {
            int key;
            std::optional<quint32> code;
        };
        const QList<Row> rows{
            {Qt::Key_K, 40},         {Qt::Key_Exclam, 18},   {Qt::Key_Question, 44},
            {Qt::Key_Space, 49},     {Qt::Key_Enter, 36},    {Qt::Key_Delete, 117},
            {Qt::Key_F5, 96},        {Qt::Key_PageDown, 121}, {Qt::Key_Control, 59},
            {Qt::Key_F13, std::nullopt}, {Qt::Key_VolumeUp, std::nullopt},
        };
        for (const Row &row : rows)
            QVERIFY2(KeyCapture::keyCode(row.key) == row.code, qPrintable(QString::number(row.key, 16)));
        using M = KeyCombo::Modifier;
        QCOMPARE(KeyCapture::modifiers(Qt::ControlModifier | Qt::MetaModifier | Qt::KeypadModifier),
                 (KeyCombo::ModifierSet{M::control, M::command}));
    }
};

QTEST_MAIN(TestSettingsTexts)
#include "tst_settingstexts.moc"
