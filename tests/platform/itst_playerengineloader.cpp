#include "MediaGenerator.h"
#include "platform/NativePlayer.h"
#include "platform/PlayerEngineLoader.h"

#include <QtTest>

class TestPlayerEngineLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The module is looked for in each folder in turn; without it every item fails with the
    // reason, and with it files play.
    void findsTheModule()
    {
        struct Row {
            const char *name;
            QStringList folders;
            bool loaded;
        };
        QTemporaryDir empty;
        QTemporaryDir broken;
        QFile notALibrary(broken.filePath(PlayerEngineLoader::moduleFileName()));
        QVERIFY(notALibrary.open(QIODevice::WriteOnly) && notALibrary.write("not a library") > 0);
        notALibrary.close();
        const QUrl clip = QUrl::fromLocalFile(MediaGenerator::colourClip(Qt::red, 2.0, {160, 90}, false));
        const QList<Row> rows{
            {"missing", {empty.path()}, false},
            {"not a module", {broken.path()}, false},
            {"second folder", {empty.path(), PLAYER_MODULE_DIR}, true},
        };
        for (const Row &row : rows) {
            PlayerEngineLoader loader(row.folders);
            const std::unique_ptr<NativePlayer> player = loader.createPlayer();
            QCOMPARE(std::pair(row.name, loader.problem().isEmpty()), std::pair(row.name, row.loaded));
            QSignalSpy told(player.get(), &NativePlayer::statusChanged);
            const quint64 item = player->load(clip);
            QCOMPARE(told.size(), 0);
            QTRY_COMPARE_WITH_TIMEOUT(told.size(), 1, 15000);
            QCOMPARE(told.first().first().toULongLong(), item);
            QCOMPARE(player->status(), row.loaded ? NativePlayer::Status::readyToPlay : NativePlayer::Status::failed);
            if (!row.loaded)
                QCOMPARE(player->error()->code, PlatformError::playerUnavailable);
        }
    }
};

QTEST_MAIN(TestPlayerEngineLoader)
#include "itst_playerengineloader.moc"
