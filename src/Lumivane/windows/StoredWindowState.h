#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What one source's floating window looked like when it was last changed: frame text
// ({{x, y}, {w, h}}, origin bottom-left), opacity, pin, volume and aspect lock, and the
// tracks picked for it (TrackChoice text; empty: the media's defaults).
class StoredWindowState final
{
public:
    StoredWindowState(QString frame, double opacity, bool pinned, double volume, bool lockAspect,
                      QString tracks = {});

    const QString &frame() const { return m_frame; }
    double opacity() const { return m_opacity; }
    bool pinned() const { return m_pinned; }
    double volume() const { return m_volume; }
    bool lockAspect() const { return m_lockAspect; }
    const QString &tracks() const { return m_tracks; }

    // Compact UTF-8 JSON with the five keys, and "tracks" once some were picked. Absent when a number is NaN or
    // infinite: JSON has no form for those, and writing null would make the record
    // unreadable, so the caller keeps the previous one instead.
    std::optional<QByteArray> toJson() const;
    // All five keys are required with their JSON types; "tracks" is optional (older records
    // lack it); unknown keys are ignored.
    static std::optional<StoredWindowState> fromJson(const QByteArray &data);

    bool operator==(const StoredWindowState &other) const = default;

private:
    QString m_frame;
    double m_opacity;
    bool m_pinned;
    double m_volume;
    bool m_lockAspect;
    QString m_tracks;
};
