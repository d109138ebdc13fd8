#pragma once

#include "KiteCore/AppError.h"

#include "KiteCore/MediaInputError.h"

// Turns a parse failure of the typed or dropped input into the error the home window shows,
// in the current language. The core's own descriptions are Chinese-only fallbacks.
namespace MediaInputErrorMapper {
AppError appError(const MediaInputError &error);
}
