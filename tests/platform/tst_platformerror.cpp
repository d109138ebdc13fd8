#include "MediaGenerator.h"
#include "platform/MpvLoadLog.h"
#include "platform/PlatformError.h"

#include <QtTest>

#include <mpv/client.h>

using Domain = PlatformError::Domain;
using E = PlatformError;

class TestPlatformError : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Network causes only for links, the first one named wins; otherwise what is wrong with
    // the file. Described in mpv's own words: the first warning, or the error's name.
    void translatesLoadFailure()
    {
        const QUrl remote("http://127.0.0.1:9/x.mp4");
        const QUrl file = QUrl::fromLocalFile(MediaGenerator::corruptFile());
        const int loading = MPV_ERROR_LOADING_FAILED;
        const QList<std::tuple<int, QStringList, QUrl, Domain, int>> rows{
            {loading, {"tcp: Connection refused", "timed out"}, remote, Domain::urlLoading, E::cannotConnectToHost},
            {loading, {"tcp: Failed to resolve hostname a.invalid"}, remote, Domain::urlLoading, E::cannotFindHost},
            {loading, {"tcp: Network is unreachable"}, remote, Domain::urlLoading, E::notConnectedToInternet},
            {loading, {"tcp: Connection timed out"}, remote, Domain::urlLoading, E::timedOut},
            {loading, {"tls: The TLS connection was not closed"}, remote, Domain::urlLoading, E::secureConnectionFailed},
            {loading, {"http: HTTP error 404 Not Found"}, remote, Domain::media, E::notOnServer},
            {loading, {"stream: Failed to open http://127.0.0.1:9/x.mp4."}, remote, Domain::media, E::openFailed},
            {loading, {"file: Connection refused"}, QUrl("file:///no/such.mp4"), Domain::media, E::fileMissing},
            {loading, {"file: Permission denied"}, file, Domain::media, E::permissionDenied},
            {MPV_ERROR_UNKNOWN_FORMAT, {}, QUrl::fromLocalFile(MediaGenerator::emptyFile()), Domain::media, E::fileEmpty},
            {MPV_ERROR_UNKNOWN_FORMAT, {}, file, Domain::media, E::unknownFormat},
            {MPV_ERROR_AO_INIT_FAILED, {"ao: failed"}, file, Domain::other, MPV_ERROR_AO_INIT_FAILED}};
        for (const auto &[mpvError, warnings, url, domain, code] : rows) {
            const PlatformError error = PlatformError::fromMpvLoadFailure(mpvError, "mpv's words", warnings, url);
            QCOMPARE(std::pair(warnings.value(0), error.code), std::pair(warnings.value(0), code));
            QCOMPARE(error.domain, domain);
            QCOMPARE(error.description, domain == Domain::other ? "mpv's words" : warnings.value(0));
        }
    }

    // Lines of the video and audio outputs and decoders never explain a failed load.
    void explainsWithLoadingLinesOnly()
    {
        MpvLoadLog log;
        for (const char *prefix : {"vo/gpu", "ao/pulse", "ffmpeg/video", "cplayer", "stream", "ffmpeg", "ffmpeg/demuxer"})
            log.add(prefix, " failed\n");
        QCOMPARE(log.lines(), (QStringList{"cplayer: failed", "stream: failed", "ffmpeg: failed", "ffmpeg/demuxer: failed"}));
    }
};

QTEST_GUILESS_MAIN(TestPlatformError)
#include "tst_platformerror.moc"
