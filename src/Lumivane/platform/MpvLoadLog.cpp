#include "platform/MpvLoadLog.h"

#include <algorithm>
#include <array>

namespace {

// Bounded so that a stream that keeps warning cannot grow memory.
constexpr qsizetype maxLines = 64;

// The player core, the stream layer (files, network), the demuxers, and FFmpeg's own
// network and demuxer code; FFmpeg's decoders log as "ffmpeg/video" and "ffmpeg/audio".
constexpr std::array<QByteArrayView, 8> loadingPrefixes{
    "cplayer", "stream", "file", "demux", "lavf", "mkv", "ffmpeg", "ffmpeg/demuxer"};

} // namespace

void MpvLoadLog::add(QByteArrayView prefix, QByteArrayView text)
{
    if (m_lines.size() >= maxLines
        || std::find(loadingPrefixes.begin(), loadingPrefixes.end(), prefix) == loadingPrefixes.end())
        return;
    m_lines.append(QStringLiteral("%1: %2").arg(QString::fromUtf8(prefix),
                                                QString::fromUtf8(text).trimmed()));
}
