#pragma once

#include <QString>

// Why a text could not become a MediaSource. The descriptions are the core's Chinese
// fallbacks; the application shows its own wording in the user's language.
class MediaInputError final
{
public:
    enum class Case { unreadableFile, unsupportedScheme, empty, malformed };

    static MediaInputError unreadableFile(QString path);
    static MediaInputError unsupportedScheme(QString scheme);
    static MediaInputError empty();
    static MediaInputError malformed();

    Case kind() const { return m_case; }
    // The path of unreadableFile or the scheme of unsupportedScheme; empty otherwise.
    const QString &payload() const { return m_payload; }
    QString errorDescription() const;

    bool operator==(const MediaInputError &other) const = default;

private:
    MediaInputError(Case kind, QString payload);

    Case m_case;
    QString m_payload;
};
