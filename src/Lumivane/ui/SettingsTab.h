#pragma once

#include <QString>

#include <array>
#include <optional>

// The tabs of the settings window, in sidebar order. The raw values are what a tab request
// names ("account" opens the accounts tab).
enum class SettingsTab { appearance, playback, account, window, language, about };

namespace SettingsTabs {
inline constexpr std::array<SettingsTab, 6> allCases{
    SettingsTab::appearance, SettingsTab::playback, SettingsTab::account,
    SettingsTab::window,     SettingsTab::language, SettingsTab::about};

QString title(SettingsTab tab);
QString subtitle(SettingsTab tab);
// A bundled symbol (see DesignSystem::iconPath).
QString iconName(SettingsTab tab);
} // namespace SettingsTabs

QString toRaw(SettingsTab tab);
std::optional<SettingsTab> settingsTabFromRaw(const QString &raw);
