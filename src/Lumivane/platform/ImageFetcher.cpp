#include "platform/ImageFetcher.h"

ImageFetcher::~ImageFetcher() = default;
