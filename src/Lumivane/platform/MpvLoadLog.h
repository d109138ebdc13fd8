#pragma once

#include <QByteArrayView>
#include <QStringList>

// The warnings mpv logs while an item opens, as "prefix: text" lines, kept to explain a
// failed load. Only the subsystems that open an item are kept: the renderer, the outputs
// and the filters warn about themselves, never about why a link or file failed.
class MpvLoadLog final
{
public:
    void add(QByteArrayView prefix, QByteArrayView text);
    void clear() { m_lines.clear(); }
    const QStringList &lines() const { return m_lines; }

private:
    QStringList m_lines;
};
