#include "platform/MpvTrackList.h"

#include <mpv/client.h>

namespace {

QString text(const mpv_node &node)
{
    return node.format == MPV_FORMAT_STRING ? QString::fromUtf8(node.u.string) : QString();
}

bool flag(const mpv_node &node)
{
    return node.format == MPV_FORMAT_FLAG && node.u.flag != 0;
}

// Empty when the entry is no audio or subtitle track.
std::optional<NativePlayer::Track> track(const mpv_node &entry)
{
    if (entry.format != MPV_FORMAT_NODE_MAP)
        return std::nullopt;
    NativePlayer::Track track;
    QString type;
    const mpv_node_list &fields = *entry.u.list;
    for (int i = 0; i < fields.num; ++i) {
        const QByteArrayView key(fields.keys[i]);
        const mpv_node &value = fields.values[i];
        if (key == "id" && value.format == MPV_FORMAT_INT64)
            track.id = int(value.u.int64);
        else if (key == "type")
            type = text(value);
        else if (key == "lang")
            track.language = text(value);
        else if (key == "title")
            track.title = text(value);
        else if (key == "codec")
            track.codec = text(value);
        else if (key == "default")
            track.isDefault = flag(value);
        else if (key == "external")
            track.isExternal = flag(value);
        else if (key == "selected")
            track.isSelected = flag(value);
    }
    if (track.id <= 0 || (type != u"audio" && type != u"sub"))
        return std::nullopt;
    track.type = type == u"audio" ? NativePlayer::TrackType::audio : NativePlayer::TrackType::subtitle;
    return track;
}

} // namespace

QList<NativePlayer::Track> MpvTrackList::parse(const mpv_node &list)
{
    QList<NativePlayer::Track> tracks;
    if (list.format != MPV_FORMAT_NODE_ARRAY)
        return tracks;
    for (int i = 0; i < list.u.list->num; ++i) {
        if (const std::optional<NativePlayer::Track> found = track(list.u.list->values[i]))
            tracks.append(*found);
    }
    return tracks;
}
