#include "KiteCore/HistoryItem.h"
#include "KiteCore/L10n.h"
#include "KiteCore/SafeFile.h"
#include "KiteCore/StoredJson.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestFiles;

class TestSafeFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QDateTime damagedAt{QDate(2026, 3, 4), QTime(5, 6, 7)};
    static constexpr auto readableByAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;

    QString path(const char *name) const { return m_dir.filePath(name); }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

private Q_SLOTS:
    void init()
    {
        QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path()));
        L10n::setLanguage(AppLanguage::en);
    }

    // A new file replaces the old one whole (a reader of the old one keeps it), readable by its
    // owner only, in owner-only folders.
    void write()
    {
        QVERIFY(SafeFile::write(path("a/b/list.json"), "first, and longer"));
        QVERIFY(QFile::setPermissions(path("a/b/list.json"), readableByAll));
        QCOMPARE(::link(qPrintable(path("a/b/list.json")), qPrintable(path("old"))), 0);
        QVERIFY(SafeFile::write(path("a/b/list.json"), "second"));
        QVERIFY(contentOf(path("a/b/list.json")) == "second" && contentOf(path("old")) == "first, and longer");
        QVERIFY(mode(path("a/b/list.json")) == 0600 && mode(path("a")) == 0700 && mode(path("a/b")) == 0700);
        QVERIFY(SafeFile::read(path("a/b/list.json"), 6).value() == "second" && !SafeFile::read(path("none"), 6).value() && !SafeFile::read(path("a"), 6));
    }

    // A write that fails names the path, keeps the old file and leaves no temporary behind.
    void failedWrite()
    {
        writeContent(path("list.json"), "old");
        QVERIFY(QDir().mkpath(path("taken.json/in")));
        QVERIFY(!SafeFile::write(path("taken.json"), "new") && !SafeFile::write(path("list.json/in.json"), "new"));
        rlimit original{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &original), 0);
        const rlimit tight{16, original.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
        const auto written = SafeFile::write(path("list.json"), QByteArray(4096, 'n'));
        setrlimit(RLIMIT_FSIZE, &original);
        QVERIFY(!written && written.error().contains(m_dir.path()) && contentOf(path("list.json")) == "old");
        QCOMPARE(files(), QStringList{"list.json"});
    }

    // Each damaged file gets a copy of its own, owner-only; what cannot be copied is moved aside.
    void damagedCopies()
    {
        const QString base = path("list.json") + ".damaged-20260304-050607";
        for (const QString &copy : {base, base + "-2"}) {
            writeContent(path("list.json"), copy.toUtf8());
            QVERIFY(QFile::setPermissions(path("list.json"), readableByAll));
            QCOMPARE(SafeFile::keepDamagedCopy(path("list.json"), damagedAt, 100).value_or(""), copy);
            QVERIFY(contentOf(copy) == copy.toUtf8() && mode(copy) == 0600 && contentOf(path("list.json")) == copy.toUtf8());
        }
        QVERIFY(contentOf(base) == base.toUtf8() && QFile::remove(path("list.json")) && QDir().mkpath(path("list.json/in")));
        QCOMPARE(SafeFile::keepDamagedCopy(path("list.json"), damagedAt, 100).value_or(""), base + "-3");
        QVERIFY(QFileInfo(base + "-3/in").isDir() && !QFileInfo::exists(path("list.json")));
    }

    void staleTemporariesRemoved()
    {
        for (const char *name : {".other-x.tmp", ".list-x.bak", "list.json", "list.json.damaged-1", ".list-6F9619FF-8B86-D011.tmp", ".list-x.tmp"})
            writeContent(m_dir.filePath(name), "partial");
        SafeFile::removeStaleTemporaries(path("list.json"));
        QCOMPARE(files(), QStringList({".list-x.bak", ".other-x.tmp", "list.json", "list.json.damaged-1"}));
    }

    // What cannot be read is refused with the reason and where its one copy went, without
    // blocking; a second start finds the same copy. What is no file to read, or too large to be
    // a list, is moved aside. The next save replaces the file and the copy stays.
    void loadList()
    {
        const QByteArray entry = R"({"id":"6f9619ff-8b86-d011-b42d-00c04fc964ff","urlString":"u","title":"","subtitle":"","kind":"web",)"
                                 R"("lastOpened":0,"isFavorite":false)";
        struct Row { QByteArray content; const char *reason; const char *special = nullptr; };
        const Row rows[] = {{"", "illegal value"}, {"[" + entry + ",\"openCount\":1}", "(at byte"}, {R"({"items":[]})", "does not hold a list"},
                            {"[1]", "entry 1: not an object"},
                            {"[" + entry + ",\"openCount\":1}," + entry + "}]", "entry 2: missing or invalid \"openCount\""},
                            {QByteArray(StoredJson::maxFileBytes + 1, ' '), "larger than any valid file"},
                            {{}, "not a regular file", "fifo"}, {{}, "not a regular file", "/dev/zero"}};
        const QString copy = path("list.json") + ".damaged-20260304-050607";
        for (const Row &row : rows) {
            init();
            if (!row.special)
                writeContent(path("list.json"), row.content);
            QVERIFY(!row.special || (row.special == QByteArray("fifo") ? ::mkfifo(qPrintable(path("list.json")), 0600) == 0 : QFile::link(row.special, path("list.json"))));
            const auto loaded = StoredJson::loadList<HistoryItem>(path("list.json"), damagedAt);
            QVERIFY2(!loaded && loaded.error().contains(row.reason) && loaded.error().endsWith("the damaged file was kept as " + copy),
                     qPrintable(loaded.error()));
            const bool moved = row.special || row.content.size() > StoredJson::maxFileBytes;
            const auto again = StoredJson::loadList<HistoryItem>(path("list.json"), damagedAt.addSecs(60));
            QVERIFY(moved ? again && again->isEmpty() : !again && again.error() == loaded.error());
            QVERIFY(StoredJson::saveList(path("list.json"), QList<HistoryItem>()));
            QVERIFY(contentOf(path("list.json")) == "[]" && files().size() == 2 && QFileInfo(copy).isFile() == !row.special);
            QVERIFY(row.special || contentOf(copy) == row.content);
        }
    }

    // Identifiers as upper-case hyphenated text, dates as seconds since 2001 in UTC, counts as whole numbers.
    void storedValues()
    {
        const QUuid id = QUuid::fromString(QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff"));
        QVERIFY(StoredJson::uuidText(id) == "6F9619FF-8B86-D011-B42D-00C04FC964FF" && StoredJson::uuid("6f9619ff-8b86-d011-b42d-00c04fc964ff") == id);
        QVERIFY(!StoredJson::uuid("6F9619FF-8B86-D011-B42D-00C04FC964FG") && !StoredJson::uuid("6F9619FF08B86-D011-B42D-00C04FC964FF"));
        const QDateTime date(QDate(2001, 1, 2), QTime(0, 0, 1, 500), Qt::UTC);
        QVERIFY(StoredJson::referenceSeconds(date) == 86401.5 && StoredJson::date(86401.5) == date && !StoredJson::date("86401"));
        QVERIFY(StoredJson::integer(-3) == -3 && !StoredJson::integer(1e12) && !StoredJson::integer("3"));
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
