#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// A platform failure in neutral form: the playback and web adapters translate their own
// errors into this record so that one classifier can turn it into a user-facing error.
// The description is the engine's own text, untranslated; the code says what happened.
struct PlatformError final {
    enum class Domain { urlLoading, media, other };

    // URL-loading codes, as the classifier expects them.
    static constexpr int cancelled = -999;
    static constexpr int timedOut = -1001;
    static constexpr int cannotFindHost = -1003;
    static constexpr int cannotConnectToHost = -1004;
    static constexpr int dnsLookupFailed = -1006;
    static constexpr int notConnectedToInternet = -1009;
    static constexpr int secureConnectionFailed = -1200;
    static constexpr int serverCertificateUntrusted = -1202;

    // Media codes: why a file or stream could not be opened.
    static constexpr int fileMissing = 1;
    static constexpr int fileEmpty = 2;
    static constexpr int permissionDenied = 3;
    static constexpr int notOnServer = 4;
    static constexpr int unknownFormat = 5;
    static constexpr int openFailed = 6;

    // Other codes: the player or the web engine itself could not be made.
    static constexpr int playerUnavailable = -2000;
    static constexpr int webEngineUnavailable = -2001;

    Domain domain = Domain::other;
    int code = 0;
    QString description;

    bool operator==(const PlatformError &other) const = default;

    // Translates a failed mpv load (the end-file error code) using the warnings mpv logged
    // for that item. Network causes become URL-loading codes; everything else about the
    // file itself becomes a media code, described by the first warning; any other failure
    // keeps mpv's code and its own description of it.
    static PlatformError fromMpvLoadFailure(int mpvError, const QString &mpvDescription,
                                            const QStringList &warnings, const QUrl &url);
};
