#include "KiteCore/HistoryItem.h"
#include "KiteCore/L10n.h"
#include "KiteCore/SafeFile.h"
#include "KiteCore/StoredJson.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

using TestFiles::contentOf;
using TestFiles::mode;
using TestFiles::writeContent;

namespace {
const QDateTime damagedAt(QDate(2026, 3, 4), QTime(5, 6, 7));
constexpr auto readableByAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
} // namespace

class TestSafeFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const char *name) const { return m_dir.filePath(name); }
    QStringList temporaries() const { return QDir(m_dir.path()).entryList({"*.tmp"}, QDir::Files | QDir::Hidden); }

private Q_SLOTS:
    void init() { QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path())); }

    // A new file replaces the old one whole, readable by its owner only, in owner-only folders.
    void write()
    {
        QVERIFY(SafeFile::write(path("a/b/list.json"), "first, and longer"));
        QVERIFY(QFile::setPermissions(path("a/b/list.json"), readableByAll));
        QCOMPARE(::link(qPrintable(path("a/b/list.json")), qPrintable(path("old"))), 0);
        QVERIFY(SafeFile::write(path("a/b/list.json"), "second"));
        QCOMPARE(contentOf(path("a/b/list.json")), "second");
        QCOMPARE(contentOf(path("old")), "first, and longer");
        QVERIFY(mode(path("a/b/list.json")) == 0600 && mode(path("a")) == 0700 && mode(path("a/b")) == 0700);
        QCOMPARE(SafeFile::read(path("a/b/list.json")).value(), "second");
        QCOMPARE(SafeFile::read(path("none")).value(), std::nullopt);
        QVERIFY(!SafeFile::read(path("a")));
    }

    // A write that fails names the path, keeps the old file and leaves no temporary behind.
    void failedWrite()
    {
        writeContent(path("list.json"), "old");
        QVERIFY(QDir().mkpath(path("taken.json/in")));
        QVERIFY(SafeFile::write(path("taken.json"), "new").error().contains(path("taken.json")));
        QVERIFY(SafeFile::write(path("list.json/in.json"), "new").error().contains(path("list.json")));
        rlimit original{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &original), 0);
        rlimit tight = original;
        tight.rlim_cur = 16;
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
        const auto written = SafeFile::write(path("list.json"), QByteArray(4096, 'n'));
        setrlimit(RLIMIT_FSIZE, &original);
        QVERIFY(!written && written.error().contains(m_dir.path()));
        QCOMPARE(contentOf(path("list.json")), "old");
        QCOMPARE(temporaries(), QStringList());
    }

    // Each damaged file gets a copy of its own; what cannot be copied is moved aside.
    void damagedCopies()
    {
        const QString base = path("list.json") + ".damaged-20260304-050607";
        for (const QString &copy : {base, base + "-2"}) {
            writeContent(path("list.json"), copy.toUtf8());
            QVERIFY(QFile::setPermissions(path("list.json"), readableByAll));
            QCOMPARE(SafeFile::keepDamagedCopy(path("list.json"), damagedAt).value_or(""), copy);
            QVERIFY(contentOf(copy) == copy.toUtf8() && mode(copy) == 0600 && contentOf(path("list.json")) == copy.toUtf8());
        }
        QCOMPARE(contentOf(base), base.toUtf8());
        QVERIFY(QFile::remove(path("list.json")) && QDir().mkpath(path("list.json/in")));
        QCOMPARE(SafeFile::keepDamagedCopy(path("list.json"), damagedAt).value_or(""), base + "-3");
        QVERIFY(QFileInfo(base + "-3/in").isDir() && !QFileInfo::exists(path("list.json")));
    }

    void staleTemporariesRemoved()
    {
        const QStringList ours{".list-6F9619FF-8B86-D011-B42D-00C04FC964FF.tmp", ".list-x.tmp"};
        const QStringList others{".other-x.tmp", "list.json.damaged-20260101-000000", ".list-x.bak", "list.json"};
        for (const QString &name : ours + others)
            writeContent(m_dir.filePath(name), "partial");
        SafeFile::removeStaleTemporaries(path("list.json"));
        for (const QString &name : ours + others)
            QVERIFY2(QFileInfo::exists(m_dir.filePath(name)) == others.contains(name), qPrintable(name));
    }

    // What cannot be read is refused with the reason and where its copy went; the next save
    // replaces the file and the copy stays.
    void loadList()
    {
        L10n::setLanguage(AppLanguage::en);
        const QByteArray entry = R"({"id":"6f9619ff-8b86-d011-b42d-00c04fc964ff","urlString":"u","title":"","subtitle":"",)"
                                 R"("kind":"web","lastOpened":0,"isFavorite":false)";
        struct Row { QByteArray content; const char *reason; };
        const Row rows[] = {{"", "illegal value"}, {"[" + entry + ",\"openCount\":1}", "(at byte"},
                            {R"({"items":[]})", "does not hold a list"}, {"[1]", "entry 1: not an object"},
                            {"[" + entry + ",\"openCount\":1}," + entry + "}]", "entry 2: missing or invalid \"openCount\""}};
        for (const Row &row : rows) {
            init();
            writeContent(path("list.json"), row.content);
            const auto loaded = StoredJson::loadList<HistoryItem>(path("list.json"), damagedAt);
            const QString copy = path("list.json") + ".damaged-20260304-050607";
            QVERIFY2(!loaded && loaded.error().contains(row.reason), row.reason);
            QVERIFY2(loaded.error().endsWith("the damaged file was kept as " + copy), qPrintable(loaded.error()));
            QVERIFY(StoredJson::saveList(path("list.json"), QList<HistoryItem>()));
            QVERIFY(contentOf(path("list.json")) == "[]" && contentOf(copy) == row.content);
            QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        }
        writeContent(path("list.json"), "[" + entry + ",\"openCount\":1}]");
        QCOMPARE(StoredJson::loadList<HistoryItem>(path("list.json"), damagedAt)->size(), 1);
        QCOMPARE(StoredJson::loadList<HistoryItem>(path("none.json"), damagedAt)->size(), 0);
        L10n::setLanguage(AppLanguage::system);
    }

    void storedValues()
    {
        const QUuid id = QUuid::fromString(QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff"));
        QCOMPARE(StoredJson::uuidText(id), "6F9619FF-8B86-D011-B42D-00C04FC964FF");
        QCOMPARE(StoredJson::uuid("6F9619FF-8B86-D011-B42D-00C04FC964FF"), id);
        for (const QJsonValue &bad : {QJsonValue("{6F9619FF-8B86-D011-B42D-00C04FC964FF}"),
                                      QJsonValue("6F9619FF-8B86-D011-B42D-00C04FC964FG"), QJsonValue(12)})
            QVERIFY(!StoredJson::uuid(bad));
        const QDateTime date(QDate(2001, 1, 2), QTime(0, 0, 1, 500), QTimeZone::utc());
        QVERIFY(StoredJson::referenceSeconds(date) == 86401.5 && StoredJson::date(86401.5) == date);
        QVERIFY(!StoredJson::date("86401") && !StoredJson::date(1e300));
        QCOMPARE(StoredJson::integer(-3), -3);
        QVERIFY(!StoredJson::integer(2.5) && !StoredJson::integer(1e12) && !StoredJson::integer("3"));
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
