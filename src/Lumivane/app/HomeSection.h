#pragma once

#include <QString>

#include <optional>

// The sections of the home window, in the order the window lists them.
enum class HomeSection { open, recent, favorites, windows, playlist };

QString toRaw(HomeSection section);
std::optional<HomeSection> homeSectionFromRaw(const QString &raw);
