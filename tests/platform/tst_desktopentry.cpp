#include "KiteCore/MediaInput.h"

#include <QFile>
#include <QMimeDatabase>
#include <QTest>

namespace {

// The keys of the [Desktop Entry] group.
QHash<QString, QString> readEntry(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QHash<QString, QString> keys;
    bool inEntry = false;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(u'['))
            inEntry = line == u"[Desktop Entry]";
        else if (inEntry && line.contains(u'='))
            keys.insert(line.section(u'=', 0, 0), line.section(u'=', 1));
    }
    return keys;
}

} // namespace

class TestDesktopEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_entry = readEntry(QStringLiteral(DESKTOP_ENTRY));
        QVERIFY(!m_entry.isEmpty());
        m_types = m_entry.value(u"MimeType"_qs).split(u';', Qt::SkipEmptyParts);
    }

    void launchesWithUrls()
    {
        QCOMPARE(m_entry.value(u"Type"_qs), u"Application"_qs);
        QCOMPARE(m_entry.value(u"Exec"_qs), u"lumivane %U"_qs);
        QCOMPARE(m_entry.value(u"Icon"_qs), u"lumivane"_qs);
        QVERIFY(m_types.contains(u"x-scheme-handler/lumivane"_qs));
    }

    // Each file type the input parser plays must offer Lumivane in "Open With".
    void mediaTypesListed_data()
    {
        QTest::addColumn<QString>("extension");
        QStringList extensions = MediaInput::mediaExtensions().values();
        extensions.sort();
        for (const QString &extension : extensions)
            QTest::newRow(qPrintable(extension)) << extension;
    }

    void mediaTypesListed()
    {
        QFETCH(QString, extension);
        const QList<QMimeType> candidates
            = QMimeDatabase().mimeTypesForFileName(u"clip."_qs + extension);
        QVERIFY2(!candidates.isEmpty(), "the MIME database knows no type for it");
        for (const QMimeType &type : candidates) {
            QStringList names = type.aliases();
            names.prepend(type.name());
            const bool listed = std::any_of(names.cbegin(), names.cend(),
                                            [this](const QString &name) { return m_types.contains(name); });
            QVERIFY2(listed, qPrintable(type.name()));
        }
    }

    void typesAreMediaOrTheScheme()
    {
        for (const QString &type : m_types) {
            QVERIFY2(type.startsWith(u"video/") || type.startsWith(u"audio/")
                         || type == u"application/vnd.apple.mpegurl" || type == u"x-scheme-handler/lumivane",
                     qPrintable(type));
        }
        QCOMPARE(QSet<QString>(m_types.cbegin(), m_types.cend()).size(), m_types.size());
    }

private:
    QHash<QString, QString> m_entry;
    QStringList m_types;
};

QTEST_GUILESS_MAIN(TestDesktopEntry)
#include "tst_desktopentry.moc"
