#pragma once

#include <QString>

// Upper bounds for text that enters the stores and the lists from pages, players and files.
// A page may set a title of millions of characters; kept as is it slows every later start
// and every paint of the list that shows it.
namespace TextBounds {
// Titles and subtitles: enough for any real name.
constexpr qsizetype maxTitleLength = 300;
// Source and preview-image addresses.
constexpr qsizetype maxURLLength = 8192;

// The text cut to maxTitleLength characters, ending in "…" when cut; never splits a
// surrogate pair.
QString title(const QString &text);
bool fitsURL(const QString &text);
} // namespace TextBounds
