#include "windows/WindowStateStore.h"

#include "TemporaryHome.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {
const QUrl source(u"file:///tmp/a.mp4"_qs);
const StoredWindowState sample(u"{{100, 200}, {640, 386}}"_qs, 0.85, true, 0.5, false);
} // namespace

class TestWindowStateStore : public QObject
{
    Q_OBJECT
    TemporaryHome m_home;
    QSettings m_settings{m_home.filePath(u"Lumivane.conf"_qs), QSettings::IniFormat};

    // What the next launch reads back.
    std::optional<StoredWindowState> reloaded()
    {
        m_settings.sync();
        QSettings fresh(m_settings.fileName(), QSettings::IniFormat);
        return WindowStateStore::load(fresh, source);
    }

private Q_SLOTS:
    // Keyed by FNV-1a 64 of the fully encoded URL, in hex without padding. Saved as data, so
    // the record stays JSON with a decimal point under a German locale; a state with a
    // non-finite number is not written and the last good record stays.
    void roundTrip()
    {
        QCOMPARE(WindowStateStore::key(source), u"winstate.8abd908f52188c2"_qs);
        QCOMPARE(WindowStateStore::key(QUrl(u"a"_qs)), u"winstate.af63dc4c8601ec8c"_qs);
        QCOMPARE(WindowStateStore::key(QUrl::fromLocalFile(u"/tmp/a b.mp4"_qs)), u"winstate.601acc780216a783"_qs);
        // Records without picked tracks (all older ones) have no "tracks" key.
        for (const StoredWindowState &state : {sample, StoredWindowState(u"{{-1280, -40.5}, {1920, 1080}}"_qs, 0.1 + 0.2, false, 1.0 / 3, true),
                                               StoredWindowState(u"{{0, 0}, {640, 360}}"_qs, 1, false, 1, false, u"audio=2 subtitle=0"_qs)}) {
            WindowStateStore::save(m_settings, state, source);
            QCOMPARE(reloaded(), std::optional(state));
        }
        QCOMPARE(m_settings.value(WindowStateStore::key(source)).metaType().id(), QMetaType::QByteArray);
        for (const auto &[opacity, volume] : {std::pair{qQNaN(), 0.5}, std::pair{0.5, -qInf()}}) {
            WindowStateStore::save(m_settings, sample, source);
            WindowStateStore::save(m_settings, StoredWindowState(u"{{1, 2}, {640, 360}}"_qs, opacity, true, volume, true), source);
            QCOMPARE(reloaded(), std::optional(sample));
        }
    }

    void unreadableRecordIsAbsent()
    {
        const QJsonObject good = QJsonDocument::fromJson(*sample.toJson()).object();
        const auto with = [&good](const QString &key, const QJsonValue &value) {
            QJsonObject object = good;
            value.isUndefined() ? void(object.remove(key)) : void(object.insert(key, value));
            return QJsonDocument(object).toJson(QJsonDocument::Compact);
        };
        struct Row { const char *name; QVariant stored; bool readable; };
        const QList<Row> rows{
            {"whole-number opacity", with(u"opacity"_qs, 1), true},
            {"unknown key ignored", with(u"cinema"_qs, true), true},
            {"text value", QString::fromUtf8(*sample.toJson()), false},
            {"frame as number", with(u"frame"_qs, 3), false},
            {"opacity as text", with(u"opacity"_qs, u"0.5"_qs), false},
            {"pinned as number", with(u"pinned"_qs, 1), false},
            {"volume missing", with(u"volume"_qs, QJsonValue(QJsonValue::Undefined)), false},
            {"lockAspect as text", with(u"lockAspect"_qs, u"true"_qs), false},
            {"truncated", sample.toJson()->chopped(1), false},
            {"array", QByteArray("[1,2,3]"), false},
        };
        for (const Row &row : rows) {
            m_settings.setValue(WindowStateStore::key(source), row.stored);
            QVERIFY2(reloaded().has_value() == row.readable, row.name);
        }
    }
};

QTEST_GUILESS_MAIN(TestWindowStateStore)
#include "tst_windowstatestore.moc"
