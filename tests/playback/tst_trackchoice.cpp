#include "playback/TrackChoice.h"

#include <QTest>

class TestTrackChoice : public QObject
{
    Q_OBJECT

    struct Row {
        const char *text;
        TrackChoice choice;
        // The text the choice is written as.
        const char *written;
    };

private Q_SLOTS:
    // Older window states have no text; damaged parts fall back to the media's default.
    void readAndWritten()
    {
        const QList<Row> rows{
            {"", {}, ""},
            {"audio=2", {2, std::nullopt}, "audio=2"},
            {"subtitle=0 audio=3", {3, 0}, "audio=3 subtitle=0"},
            {"audio=0 subtitle=-1", {}, ""},
            {"audio=two subtitle= video=1 subtitle", {}, ""},
            {"audio=1  subtitle=7", {1, 7}, "audio=1 subtitle=7"},
        };
        for (const Row &row : rows) {
            const TrackChoice read = TrackChoice::fromText(QString::fromLatin1(row.text));
            QVERIFY2(read == row.choice, row.text);
            QCOMPARE(read.toText(), QString::fromLatin1(row.written));
        }
    }
};

QTEST_GUILESS_MAIN(TestTrackChoice)
#include "tst_trackchoice.moc"
