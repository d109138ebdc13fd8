#include "KiteCore/AppError.h"
#include "KiteCore/L10n.h"
#include "KiteCore/MediaInputErrorMapper.h"

#include <QTest>
#include <QUrlQuery>

using Kind = AppError::Kind;

class TestAppError : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { L10n::setLanguage(AppLanguage::en); }
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    // The headline follows the language when it is read; the texts stay as they were built,
    // and the same text raised twice is two errors.
    void titles()
    {
        struct Row { Kind kind; const char *title; };
        const Row rows[] = {{Kind::input, "Couldn't open that"}, {Kind::network, "Network problem"},
                            {Kind::decode, "Can't decode this file"}, {Kind::web, "Page didn't load"},
                            {Kind::external, "External player failed"}, {Kind::storage, "Couldn't save history"}};
        for (const Row &row : rows)
            QCOMPARE(AppError(row.kind, "m").title(), row.title);
        const AppError network = AppError::network("offline");
        QVERIFY(!network.id().isNull() && network == AppError(network) && !(network == AppError::network("offline")));
        L10n::setLanguage(AppLanguage::es);
        QVERIFY(network.kind() == Kind::network && network.title() == "Problema de red" && network.message() == "offline");
        QCOMPARE(network.recovery(), "Check your connection and retry, or open it in a browser.");
        const AppError decode = AppError::decode("bad codec");
        QVERIFY(decode.kind() == Kind::decode && decode.recovery().value_or("").startsWith("Esto lo indica el decodificador"));
    }

    void inputErrors()
    {
        struct Row { MediaInputError error; QString message, recovery; };
        const Row rows[] = {
            {MediaInputError::unreadableFile("/home/ana/Vídeos/c 1.mp4"), "File not found: /home/ana/Vídeos/c 1.mp4",
             "Check that the file still exists, or drag it in again."},
            {MediaInputError::unsupportedScheme("%1x"), "%1x: links aren't supported.", "Use an http/https link, or pick a local file."},
            {MediaInputError::empty(), "Paste a link or pick a file first.", "Web pages, direct media links and local files are supported."},
            {MediaInputError::malformed(), "That link looks incomplete.",
             "Make sure it includes a full domain, e.g. https://www.youtube.com/watch?v=dQw4w9WgXcQ…"}};
        for (const Row &row : rows) {
            const AppError mapped = MediaInputErrorMapper::appError(row.error);
            QVERIFY2(mapped.kind() == Kind::input && mapped.message() == row.message, qPrintable(row.message));
            QCOMPARE(mapped.recovery(), row.recovery);
        }
        // The example is a usable watch-page address apart from its ellipsis.
        const QUrl example(rows[3].recovery.section(u' ', -1).chopped(1), QUrl::StrictMode);
        QVERIFY(example.isValid() && !QUrlQuery(example).queryItemValue("v").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAppError)
#include "tst_apperror.moc"
