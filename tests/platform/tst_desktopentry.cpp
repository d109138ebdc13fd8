#include "KiteCore/MediaInput.h"

#include <QtTest>

class TestDesktopEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Opens URLs, the own scheme among them, and claims each type the input parser plays, so
    // that "Open With" offers Lumivane for it.
    void entry()
    {
        QFile file(QStringLiteral(DESKTOP_ENTRY));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        const QStringList types = lines.filter(QRegularExpression("^MimeType=")).value(0).mid(9).split(u';');
        QVERIFY(lines.contains("Exec=lumivane %U") && types.contains("x-scheme-handler/lumivane"));
        const auto listed = [&types](const QString &name) { return types.contains(name); };
        for (const QString &extension : MediaInput::mediaExtensions())
            for (const QMimeType &type : QMimeDatabase().mimeTypesForFileName("clip." + extension))
                QVERIFY2(listed(type.name()) || std::ranges::any_of(type.aliases(), listed), qPrintable(type.name()));
    }
};

QTEST_GUILESS_MAIN(TestDesktopEntry)
#include "tst_desktopentry.moc"
