#include "platform/StatusTray.h"

StatusTray::~StatusTray() = default;
