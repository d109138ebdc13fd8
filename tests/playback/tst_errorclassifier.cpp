#include "playback/ErrorClassifier.h"

#include "KiteCore/L10n.h"

#include <QTest>

#include <optional>

using enum AppError::Kind;
using Domain = PlatformError::Domain;
using E = PlatformError;

namespace {

struct Row {
    const char *name;
    AppLanguage language;
    std::optional<PlatformError> error;
    AppError::Kind fallback;
    AppError::Kind kind;
    QString message;
    // With the recovery line of AppError::network or AppError::decode, by kind.
    bool hinted;
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
    {"nothing", en, std::nullopt, decode, decode, u"An unknown error occurred."_qs, false},
    {"nothing, web, Spanish", AppLanguage::es, std::nullopt, web, web, u"Ocurrió un error desconocido."_qs, false},
    {"secure connection", en, url(E::secureConnectionFailed), web, network,
     u"The site's secure connection failed."_qs, true},
    {"untrusted certificate, Chinese", AppLanguage::zh, url(E::serverCertificateUntrusted), web, network,
     u"网站的安全连接建立失败。"_qs, true},
    {"offline", en, url(E::notConnectedToInternet), decode, network, u"You're offline."_qs, true},
    {"cannot connect", en, url(E::cannotConnectToHost), decode, network, u"Couldn't connect to this site."_qs, true},
    {"timed out", en, url(E::timedOut), web, network, u"The connection timed out."_qs, true},
    {"host not found", en, url(E::cannotFindHost), web, network, u"The server for this site couldn't be found."_qs,
     true},
    {"name lookup, Spanish", AppLanguage::es, url(E::dnsLookupFailed), decode, network,
     u"No se encontró el servidor de este sitio."_qs, true},
    {"cancelled", en, url(E::cancelled), web, network, u"Loading was cancelled."_qs, true},
    {"other code keeps the engine's words", en, url(-1005, u"The network connection was lost."_qs), decode, network,
     u"The network connection was lost."_qs, true},
    {"other code without words", en, url(-1011, u"  "_qs), decode, network, u"An unknown error occurred."_qs, true},
    {"web engine code", en, url(-324, u"net::ERR_EMPTY_RESPONSE"_qs), web, network,
     u"The page couldn't be opened. (net::ERR_EMPTY_RESPONSE)"_qs, true},
    {"web engine code without words", en, url(-324, u" "_qs), web, network, u"The page couldn't be opened."_qs, true},
    {"missing file", en, media(E::fileMissing), decode, decode, u"The file doesn't exist."_qs, true},
    {"empty file, Chinese", AppLanguage::zh, media(E::fileEmpty), decode, decode, u"文件是空的。"_qs, true},
    {"no permission", en, media(E::permissionDenied), decode, decode,
     u"There is no permission to read this file."_qs, true},
    {"not on the server", en, media(E::notOnServer), decode, decode, u"The server has no media at this address."_qs,
     true},
    {"unknown format", en, media(E::unknownFormat), decode, decode,
     u"Unrecognised media format: the file may be damaged or not audio or video."_qs, true},
    {"open failed", en, media(E::openFailed, u"stream: Failed to open x."_qs), decode, decode,
     u"The media couldn't be opened. (stream: Failed to open x.)"_qs, true},
    {"open failed without words, Spanish", AppLanguage::es, media(E::openFailed, QString()), decode, decode,
     u"No se pudo abrir el contenido."_qs, true},
    {"other media code keeps the words", en, media(-17, u"Bad data."_qs), web, decode, u"Bad data."_qs, true},
    {"unrelated domain keeps the fallback", en, PlatformError{Domain::other, -1004, u"Player exploded."_qs}, decode,
     decode, u"Player exploded."_qs, false},
    {"unrelated domain, web fallback", en, PlatformError{Domain::other, 7, u"Renderer gone."_qs}, web, web,
     u"Renderer gone."_qs, false},
};

struct Failure {
    const char *name;
    AppError (*build)();
    AppError::Kind kind;
    QString message;
    QString recovery;
};

const QList<Failure> failures{
    {"renderer stopped", ErrorClassifier::rendererStopped, web, u"The web process stopped unexpectedly."_qs,
     u"Reload to recover. Some pages may need a fresh sign-in."_qs},
    {"another app", [] { return ErrorClassifier::otherApp(u"zoommtg"_qs); }, web,
     u"This page tried to open another app (zoommtg://)."_qs, u"Open in a browser to continue."_qs},
    {"web stall", ErrorClassifier::webStall, web, u"Web playback got stuck."_qs,
     u"Retry to reload the page, or open it in a browser."_qs},
    {"watchdog", ErrorClassifier::watchdog, network, u"Still loading after 30 seconds."_qs,
     u"Check your connection and retry, or open in a browser."_qs},
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
        if (r.hinted)
            recovery = (r.kind == network ? AppError::network({}) : AppError::decode({})).recovery();
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
        L10n::setLanguage(AppLanguage::en);
        const AppError error = f.build();
        QCOMPARE(error.kind(), f.kind);
        QCOMPARE(error.message(), f.message);
        QCOMPARE(error.recovery(), std::optional(f.recovery));
    }
};

QTEST_GUILESS_MAIN(TestErrorClassifier)
#include "tst_errorclassifier.moc"
