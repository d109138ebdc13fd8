#include "KiteCore/AppError.h"
#include "KiteCore/MediaInputErrorMapper.h"

#include "KiteCore/L10n.h"

#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using Kind = AppError::Kind;

class TestAppError : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    void equalTextsAreDifferentErrors()
    {
        const AppError first(Kind::web, QStringLiteral("x"), QStringLiteral("y"));
        const AppError second(Kind::web, QStringLiteral("x"), QStringLiteral("y"));
        QVERIFY(!first.id().isNull());
        QVERIFY(first.id() != second.id());
        QVERIFY(!(first == second));
        const AppError copy = first;
        QVERIFY(copy == first);
    }

    void titles_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("zh");
        QTest::addColumn<QString>("en");
        QTest::addColumn<QString>("es");
        QTest::newRow("input") << Kind::input << u"无法打开"_qs << u"Couldn't open that"_qs
                               << u"No se pudo abrir"_qs;
        QTest::newRow("network") << Kind::network << u"网络问题"_qs << u"Network problem"_qs
                                 << u"Problema de red"_qs;
        QTest::newRow("decode") << Kind::decode << u"无法解码此文件"_qs << u"Can't decode this file"_qs
                                << u"No se puede decodificar este archivo"_qs;
        QTest::newRow("web") << Kind::web << u"网页未能加载"_qs << u"Page didn't load"_qs
                             << u"La página no se cargó"_qs;
        QTest::newRow("external") << Kind::external << u"外部播放器出错"_qs
                                  << u"External player failed"_qs << u"Falló el reproductor externo"_qs;
        QTest::newRow("storage") << Kind::storage << u"无法保存历史记录"_qs << u"Couldn't save history"_qs
                                 << u"No se pudo guardar el historial"_qs;
    }

    // The headline is chosen when read, the texts when built.
    void titles()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, zh);
        QFETCH(QString, en);
        QFETCH(QString, es);
        L10n::setLanguage(AppLanguage::en);
        const AppError error(kind, QStringLiteral("built in English"), QStringLiteral("hint"));
        QCOMPARE(error.title(), en);
        L10n::setLanguage(AppLanguage::es);
        QCOMPARE(error.title(), es);
        L10n::setLanguage(AppLanguage::zh);
        QCOMPARE(error.title(), zh);
        QCOMPARE(error.message(), u"built in English"_qs);
        QCOMPARE(error.recovery(), std::optional<QString>(u"hint"_qs));
    }

    void factories_data()
    {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QString>("networkRecovery");
        QTest::addColumn<QString>("decodeRecovery");
        QTest::newRow("en") << AppLanguage::en
                            << u"Check your connection and retry, or open it in a browser."_qs
                            << u"This comes from the decoder (mpv). Try another file, or open it in VLC."_qs;
        QTest::newRow("es") << AppLanguage::es
                            << u"Comprueba tu conexión y vuelve a intentarlo, o ábrelo en un navegador."_qs
                            << u"Esto lo indica el decodificador (mpv). Prueba con otro archivo o ábrelo en VLC."_qs;
        QTest::newRow("zh") << AppLanguage::zh << u"请检查网络连接后重试，或在浏览器中打开。"_qs
                            << u"这是解码器（mpv）报告的问题。请换一个文件，或用 VLC 打开。"_qs;
    }

    void factories()
    {
        QFETCH(AppLanguage, language);
        QFETCH(QString, networkRecovery);
        QFETCH(QString, decodeRecovery);
        L10n::setLanguage(language);
        const AppError network = AppError::network(QStringLiteral("offline"));
        const AppError decode = AppError::decode(QStringLiteral("bad codec"));
        L10n::setLanguage(AppLanguage::system);

        QCOMPARE(network.kind(), Kind::network);
        QCOMPARE(network.message(), u"offline"_qs);
        QCOMPARE(network.recovery(), std::optional<QString>(networkRecovery));
        QCOMPARE(decode.kind(), Kind::decode);
        QCOMPARE(decode.message(), u"bad codec"_qs);
        QCOMPARE(decode.recovery(), std::optional<QString>(decodeRecovery));
    }

    void mapper_data()
    {
        QTest::addColumn<MediaInputError>("error");
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("recovery");

        const QString path = QStringLiteral("/home/ana/Vídeos/clip 1.mp4");
        const auto file = MediaInputError::unreadableFile(path);
        QTest::newRow("file en") << file << AppLanguage::en << u"File not found: "_qs + path
                                 << u"Check that the file still exists, or drag it in again."_qs;
        QTest::newRow("file es") << file << AppLanguage::es << u"No se encontró el archivo: "_qs + path
                                 << u"Comprueba que el archivo todavía existe o vuelve a arrastrarlo."_qs;
        QTest::newRow("file zh") << file << AppLanguage::zh << u"找不到文件："_qs + path
                                 << u"请确认文件仍然存在，或重新拖入。"_qs;

        const auto ftp = MediaInputError::unsupportedScheme(QStringLiteral("ftp"));
        QTest::newRow("scheme en") << ftp << AppLanguage::en << u"ftp: links aren't supported."_qs
                                   << u"Use an http/https link, or pick a local file."_qs;
        QTest::newRow("scheme es") << ftp << AppLanguage::es << u"Los enlaces ftp: no son compatibles."_qs
                                   << u"Usa un enlace http/https o elige un archivo local."_qs;
        QTest::newRow("scheme zh") << ftp << AppLanguage::zh << u"不支持 ftp: 链接。"_qs
                                   << u"请使用 http/https 链接，或选择本地文件。"_qs;
        // A scheme that looks like a placeholder stays literal.
        QTest::newRow("scheme placeholder")
            << MediaInputError::unsupportedScheme(QStringLiteral("%1x")) << AppLanguage::en
            << u"%1x: links aren't supported."_qs << u"Use an http/https link, or pick a local file."_qs;

        const auto empty = MediaInputError::empty();
        QTest::newRow("empty en") << empty << AppLanguage::en << u"Paste a link or pick a file first."_qs
                                  << u"Web pages, direct media links and local files are supported."_qs;
        QTest::newRow("empty es") << empty << AppLanguage::es
                                  << u"Primero pega un enlace o elige un archivo."_qs
                                  << u"Se admiten páginas web, enlaces directos a medios y archivos locales."_qs;
        QTest::newRow("empty zh") << empty << AppLanguage::zh << u"请先粘贴链接或选择文件。"_qs
                                  << u"支持网页、媒体直链和本地文件。"_qs;

        const auto malformed = MediaInputError::malformed();
        const QString example = QStringLiteral("https://www.youtube.com/watch?v=dQw4w9WgXcQ…");
        QTest::newRow("malformed en") << malformed << AppLanguage::en << u"That link looks incomplete."_qs
                                      << u"Make sure it includes a full domain, e.g. "_qs + example;
        QTest::newRow("malformed es") << malformed << AppLanguage::es << u"Ese enlace parece incompleto."_qs
                                      << u"Asegúrate de que incluya un dominio completo, p. ej. "_qs + example;
        QTest::newRow("malformed zh") << malformed << AppLanguage::zh << u"这个链接似乎不完整。"_qs
                                      << u"请确认链接包含完整域名，例如 "_qs + example;
    }

    void mapper()
    {
        QFETCH(MediaInputError, error);
        QFETCH(AppLanguage, language);
        QFETCH(QString, message);
        QFETCH(QString, recovery);
        L10n::setLanguage(language);
        const AppError mapped = MediaInputErrorMapper::appError(error);
        L10n::setLanguage(AppLanguage::system);
        QCOMPARE(mapped.kind(), Kind::input);
        QCOMPARE(mapped.message(), message);
        QCOMPARE(mapped.recovery(), std::optional<QString>(recovery));
    }

    // The example in the hint must be a usable watch-page address apart from its ellipsis.
    void malformedExampleIsAWatchPage()
    {
        L10n::setLanguage(AppLanguage::en);
        const QString hint = *MediaInputErrorMapper::appError(MediaInputError::malformed()).recovery();
        QVERIFY(hint.endsWith(u'…'));
        const QString address = hint.section(u' ', -1).chopped(1);
        const QUrl url(address, QUrl::StrictMode);
        QVERIFY(url.isValid());
        QCOMPARE(url.scheme(), u"https"_qs);
        QVERIFY(url.host().contains(u'.'));
        QVERIFY(!QUrlQuery(url).queryItemValue(QStringLiteral("v")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAppError)
#include "tst_apperror.moc"
