#include "playback/PlaybackState.h"

PlaybackState::PlaybackState(Case value, std::optional<AppError> error)
    : m_case(value)
    , m_error(std::move(error))
{
}

PlaybackState PlaybackState::loading()
{
    return {};
}

PlaybackState PlaybackState::ready()
{
    return {Case::ready, std::nullopt};
}

PlaybackState PlaybackState::failed(AppError error)
{
    return {Case::failed, std::move(error)};
}
