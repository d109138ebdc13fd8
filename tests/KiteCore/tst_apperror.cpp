#include "KiteCore/AppError.h"
#include "KiteCore/L10n.h"
#include "KiteCore/MediaInputErrorMapper.h"

#include <QTest>

using Kind = AppError::Kind;

class TestAppError : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each kind has a headline of its own, in the language current when it is read; the texts
    // stay as they were built, and the same text raised twice is two errors.
    void errorsAndInputErrors()
    {
        L10n::setLanguage(AppLanguage::en);
        QSet<QString> titles;
        for (Kind kind : {Kind::input, Kind::network, Kind::decode, Kind::web, Kind::external, Kind::storage})
            titles.insert(AppError(kind, "m").title());
        QVERIFY(titles.size() == 6 && titles.contains("Couldn't save history") && !titles.contains(""));
        const AppError network = AppError::network("offline");
        QVERIFY(!network.id().isNull() && network == AppError(network) && !(network == AppError::network("offline")));
        L10n::setLanguage(AppLanguage::es);
        QVERIFY(network.kind() == Kind::network && network.title() == "Problema de red" && network.message() == "offline");
        QVERIFY(network.recovery() == "Check your connection and retry, or open it in a browser." && AppError::decode("x").kind() == Kind::decode);

        // Every input error is the input kind with a hint; the message carries what was refused.
        L10n::setLanguage(AppLanguage::en);
        struct Row { MediaInputError error; const char *message; };
        const Row rows[] = {{MediaInputError::unreadableFile("/a/Vídeos/c 1.mp4"), "File not found: /a/Vídeos/c 1.mp4"},
                            {MediaInputError::unsupportedScheme("%1x"), "%1x: links aren't supported."},
                            {MediaInputError::empty(), "Paste a link or pick a file first."}, {MediaInputError::malformed(), "That link looks incomplete."}};
        for (const Row &row : rows) {
            const AppError mapped = MediaInputErrorMapper::appError(row.error);
            QVERIFY2(mapped.kind() == Kind::input && mapped.message() == row.message && !mapped.recovery().value_or("").isEmpty(), row.message);
        }
    }
};

QTEST_GUILESS_MAIN(TestAppError)
#include "tst_apperror.moc"
