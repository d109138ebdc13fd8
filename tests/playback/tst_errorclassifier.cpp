#include "playback/ErrorClassifier.h"

#include "KiteCore/L10n.h"

#include <QTest>

using enum AppError::Kind;
using E = PlatformError;

namespace {

// The error (none: nothing known) and the fallback kind, then the kind and message told, and
// whether the recovery line of that kind comes with it.
struct Row {
    std::optional<PlatformError> error;
    AppError::Kind fallback;
    AppError::Kind kind;
    QString message;
    bool hinted;
};

E url(int code, const QString &words = u"net::ERR_SOMETHING"_qs) { return {E::Domain::urlLoading, code, words}; }
E media(int code, const QString &words = u"ffmpeg: raw words"_qs) { return {E::Domain::media, code, words}; }

const QList<Row> rows{
    {std::nullopt, decode, decode, u"An unknown error occurred."_qs, false},
    {std::nullopt, web, web, u"An unknown error occurred."_qs, false},
    {url(E::secureConnectionFailed), web, network, u"The site's secure connection failed."_qs, true},
    {url(E::serverCertificateUntrusted), web, network, u"The site's secure connection failed."_qs, true},
    {url(E::notConnectedToInternet), decode, network, u"You're offline."_qs, true},
    {url(E::cannotConnectToHost), decode, network, u"Couldn't connect to this site."_qs, true},
    {url(E::timedOut), web, network, u"The connection timed out."_qs, true},
    {url(E::cannotFindHost), web, network, u"The server for this site couldn't be found."_qs, true},
    {url(E::dnsLookupFailed), decode, network, u"The server for this site couldn't be found."_qs, true},
    {url(E::cancelled), web, network, u"Loading was cancelled."_qs, true},
    {url(-1005, u"The network connection was lost."_qs), decode, network, u"The network connection was lost."_qs, true},
    {url(-1011, u"  "_qs), decode, network, u"An unknown error occurred."_qs, true},
    {url(-324, u"net::ERR_EMPTY_RESPONSE"_qs), web, network, u"The page couldn't be opened. (net::ERR_EMPTY_RESPONSE)"_qs, true},
    {url(-324, u" "_qs), web, network, u"The page couldn't be opened."_qs, true},
    {media(E::fileMissing), decode, decode, u"The file doesn't exist."_qs, true},
    {media(E::fileEmpty), decode, decode, u"The file is empty."_qs, true},
    {media(E::permissionDenied), decode, decode, u"There is no permission to read this file."_qs, true},
    {media(E::notOnServer), decode, decode, u"The server has no media at this address."_qs, true},
    {media(E::unknownFormat), decode, decode, u"Unrecognised media format: the file may be damaged or not audio or video."_qs, true},
    {media(E::openFailed, u"stream: Failed to open x."_qs), decode, decode, u"The media couldn't be opened. (stream: Failed to open x.)"_qs, true},
    {media(E::openFailed, QString()), decode, decode, u"The media couldn't be opened."_qs, true},
    {media(-17, u"Bad data."_qs), web, decode, u"Bad data."_qs, true},
    {E{E::Domain::other, -1004, u"Player exploded."_qs}, decode, decode, u"Player exploded."_qs, false},
    {E{E::Domain::other, 7, u"Renderer gone."_qs}, web, web, u"Renderer gone."_qs, false},
};

QString told(const AppError &error)
{
    return QString::number(int(error.kind())) + u" "_qs + error.message() + u" | "_qs + error.recovery().value_or(u"-"_qs);
}

} // namespace

class TestErrorClassifier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { L10n::setLanguage(AppLanguage::en); }

    void classifies()
    {
        for (const Row &r : rows) {
            const AppError hint = r.kind == network ? AppError::network({}) : AppError::decode({});
            QCOMPARE(told(ErrorClassifier::classify(r.error, r.fallback)),
                     told(AppError(r.kind, r.message, r.hinted ? hint.recovery() : std::nullopt)));
        }
    }

    void namesSessionFailures()
    {
        QCOMPARE(told(ErrorClassifier::rendererStopped()),
                 u"3 The web process stopped unexpectedly. | Reload to recover. Some pages may need a fresh sign-in."_qs);
        QCOMPARE(told(ErrorClassifier::otherApp(u"zoommtg"_qs)),
                 u"3 This page tried to open another app (zoommtg://). | Open in a browser to continue."_qs);
        QCOMPARE(told(ErrorClassifier::webStall()), u"3 Web playback got stuck. | Retry to reload the page, or open it in a browser."_qs);
        QCOMPARE(told(ErrorClassifier::watchdog()), u"1 Still loading after 30 seconds. | Check your connection and retry, or open in a browser."_qs);
        QCOMPARE(told(ErrorClassifier::endedEarly(3.9, 75.2, true)), u"2 Playback stopped at 0:03 of 1:15. | The file is incomplete or damaged."_qs);
        QCOMPARE(told(ErrorClassifier::endedEarly(3.9, 75.2, false)).left(2), u"1 "_qs);
    }
};

QTEST_GUILESS_MAIN(TestErrorClassifier)
#include "tst_errorclassifier.moc"
