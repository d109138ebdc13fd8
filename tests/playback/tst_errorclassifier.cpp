#include "playback/ErrorClassifier.h"

#include "KiteCore/L10n.h"

#include <QTest>

#include <optional>

using Kind = AppError::Kind;
using Domain = PlatformError::Domain;
using E = PlatformError;

namespace {

// Which recovery line the error carries: the network or decode one of AppError, or none.
enum class Hint { none, network, decode };

struct Row {
    const char *name;
    AppLanguage language;
    std::optional<PlatformError> error;
    Kind fallback;
    Kind kind;
    QString message;
    Hint hint;
};

std::optional<PlatformError> url(int code, const QString &words = u"net::ERR_SOMETHING"_qs)
{
    return PlatformError{Domain::urlLoading, code, words};
}

std::optional<PlatformError> media(int code, const QString &words = u"ffmpeg: raw words"_qs)
{
    return PlatformError{Domain::media, code, words};
}

const auto en = AppLanguage::en;

const QList<Row> rows{
    {"nothing", en, std::nullopt, Kind::decode, Kind::decode, u"An unknown error occurred."_qs, Hint::none},
    {"nothing, web, Spanish", AppLanguage::es, std::nullopt, Kind::web, Kind::web,
     u"Ocurrió un error desconocido."_qs, Hint::none},
    {"secure connection", en, url(E::secureConnectionFailed), Kind::web, Kind::network,
     u"The site's secure connection failed."_qs, Hint::network},
    {"untrusted certificate, Chinese", AppLanguage::zh, url(E::serverCertificateUntrusted), Kind::web,
     Kind::network, u"网站的安全连接建立失败。"_qs, Hint::network},
    {"offline", en, url(E::notConnectedToInternet), Kind::decode, Kind::network, u"You're offline."_qs,
     Hint::network},
    {"cannot connect", en, url(E::cannotConnectToHost), Kind::decode, Kind::network,
     u"Couldn't connect to this site."_qs, Hint::network},
    {"timed out", en, url(E::timedOut), Kind::web, Kind::network, u"The connection timed out."_qs,
     Hint::network},
    {"host not found", en, url(E::cannotFindHost), Kind::web, Kind::network,
     u"The server for this site couldn't be found."_qs, Hint::network},
    {"name lookup, Spanish", AppLanguage::es, url(E::dnsLookupFailed), Kind::decode, Kind::network,
     u"No se encontró el servidor de este sitio."_qs, Hint::network},
    {"cancelled", en, url(E::cancelled), Kind::web, Kind::network, u"Loading was cancelled."_qs,
     Hint::network},
    {"other code keeps the engine's words", en, url(-1005, u"The network connection was lost."_qs),
     Kind::decode, Kind::network, u"The network connection was lost."_qs, Hint::network},
    {"other code without words", en, url(-1011, u"  "_qs), Kind::decode, Kind::network,
     u"An unknown error occurred."_qs, Hint::network},
    {"web engine code", en, url(-324, u"net::ERR_EMPTY_RESPONSE"_qs), Kind::web, Kind::network,
     u"The page couldn't be opened. (net::ERR_EMPTY_RESPONSE)"_qs, Hint::network},
    {"web engine code without words", en, url(-324, u" "_qs), Kind::web, Kind::network,
     u"The page couldn't be opened."_qs, Hint::network},
    {"missing file", en, media(E::fileMissing), Kind::decode, Kind::decode, u"The file doesn't exist."_qs,
     Hint::decode},
    {"empty file, Chinese", AppLanguage::zh, media(E::fileEmpty), Kind::decode, Kind::decode,
     u"文件是空的。"_qs, Hint::decode},
    {"no permission", en, media(E::permissionDenied), Kind::decode, Kind::decode,
     u"There is no permission to read this file."_qs, Hint::decode},
    {"not on the server", en, media(E::notOnServer), Kind::decode, Kind::decode,
     u"The server has no media at this address."_qs, Hint::decode},
    {"unknown format", en, media(E::unknownFormat), Kind::decode, Kind::decode,
     u"Unrecognised media format: the file may be damaged or not audio or video."_qs, Hint::decode},
    {"open failed", en, media(E::openFailed, u"stream: Failed to open x."_qs), Kind::decode, Kind::decode,
     u"The media couldn't be opened. (stream: Failed to open x.)"_qs, Hint::decode},
    {"open failed without words, Spanish", AppLanguage::es, media(E::openFailed, QString()), Kind::decode,
     Kind::decode, u"No se pudo abrir el contenido."_qs, Hint::decode},
    {"other media code keeps the words", en, media(-17, u"Bad data."_qs), Kind::web, Kind::decode,
     u"Bad data."_qs, Hint::decode},
    {"unrelated domain keeps the fallback", en, PlatformError{Domain::other, -1004, u"Player exploded."_qs},
     Kind::decode, Kind::decode, u"Player exploded."_qs, Hint::none},
    {"unrelated domain, web fallback", en, PlatformError{Domain::other, 7, u"Renderer gone."_qs}, Kind::web,
     Kind::web, u"Renderer gone."_qs, Hint::none},
};

struct Failure {
    const char *name;
    AppLanguage language;
    AppError (*build)();
    Kind kind;
    QString message;
    QString recovery;
};

const QList<Failure> failures{
    {"renderer stopped", en, ErrorClassifier::rendererStopped, Kind::web,
     u"The web process stopped unexpectedly."_qs, u"Reload to recover. Some pages may need a fresh sign-in."_qs},
    {"renderer stopped, Chinese", AppLanguage::zh, ErrorClassifier::rendererStopped, Kind::web,
     u"网页进程意外停止。"_qs, u"重新加载即可恢复；已填写的网页内容可能需要重新登录。"_qs},
    {"another app", en, [] { return ErrorClassifier::otherApp(u"zoommtg"_qs); }, Kind::web,
     u"This page tried to open another app (zoommtg://)."_qs, u"Open in a browser to continue."_qs},
    {"web stall", en, ErrorClassifier::webStall, Kind::web, u"Web playback got stuck."_qs,
     u"Retry to reload the page, or open it in a browser."_qs},
    {"watchdog", en, ErrorClassifier::watchdog, Kind::network, u"Still loading after 30 seconds."_qs,
     u"Check your connection and retry, or open in a browser."_qs},
    {"watchdog, Spanish", AppLanguage::es, ErrorClassifier::watchdog, Kind::network,
     u"Aún cargando tras 30 segundos."_qs, u"Comprueba la red y reintenta, o ábrelo en el navegador."_qs},
};

} // namespace

class TestErrorClassifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { L10n::setLanguage(AppLanguage::system); }

    void classifies_data()
    {
        QTest::addColumn<qsizetype>("row");
        for (qsizetype i = 0; i < rows.size(); ++i)
            QTest::newRow(rows.at(i).name) << i;
    }

    void classifies()
    {
        QFETCH(qsizetype, row);
        const Row &r = rows.at(row);
        L10n::setLanguage(r.language);
        const AppError result = ErrorClassifier::classify(r.error, r.fallback);
        QCOMPARE(result.kind(), r.kind);
        QCOMPARE(result.message(), r.message);
        std::optional<QString> recovery;
        if (r.hint == Hint::network)
            recovery = AppError::network(QString()).recovery();
        else if (r.hint == Hint::decode)
            recovery = AppError::decode(QString()).recovery();
        QCOMPARE(result.recovery(), recovery);
    }

    void namesSessionFailures_data()
    {
        QTest::addColumn<qsizetype>("row");
        for (qsizetype i = 0; i < failures.size(); ++i)
            QTest::newRow(failures.at(i).name) << i;
    }

    void namesSessionFailures()
    {
        QFETCH(qsizetype, row);
        const Failure &f = failures.at(row);
        L10n::setLanguage(f.language);
        const AppError error = f.build();
        QCOMPARE(error.kind(), f.kind);
        QCOMPARE(error.message(), f.message);
        QCOMPARE(error.recovery(), std::optional(f.recovery));
    }
};

QTEST_GUILESS_MAIN(TestErrorClassifier)
#include "tst_errorclassifier.moc"
