#pragma once

#include "KiteCore/AppError.h"

#include <QMetaType>

#include <optional>

// Where a playback session stands: loading (also after stop), ready to play, or failed with
// the error the player window shows. Two states are equal when the case and the error match.
class PlaybackState final
{
public:
    enum class Case { loading, ready, failed };

    // Loading.
    PlaybackState() = default;

    static PlaybackState loading();
    static PlaybackState ready();
    static PlaybackState failed(AppError error);

    Case value() const { return m_case; }
    bool isLoading() const { return m_case == Case::loading; }
    bool isReady() const { return m_case == Case::ready; }
    bool isFailed() const { return m_case == Case::failed; }
    // Present exactly when failed.
    const std::optional<AppError> &error() const { return m_error; }

    bool operator==(const PlaybackState &other) const = default;

private:
    PlaybackState(Case value, std::optional<AppError> error);

    Case m_case = Case::loading;
    std::optional<AppError> m_error;
};

Q_DECLARE_METATYPE(PlaybackState)
