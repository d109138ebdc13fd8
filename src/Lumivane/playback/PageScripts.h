#pragma once

#include <QString>

// The page scripts and styles compiled in under :/scripts.
namespace PageScripts {
// The text of one file ("media-state.js"), read once; empty when there is no such file.
QString text(const QString &name);
} // namespace PageScripts
