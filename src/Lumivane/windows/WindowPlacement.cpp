#include "windows/WindowPlacement.h"

bool WindowPlacement::takeGlobalFallback()
{
    const bool first = !m_usedGlobalFallback;
    m_usedGlobalFallback = true;
    return first;
}

double WindowPlacement::nextCascadeOffset()
{
    const double offset = m_cascadeCounter * cascadeStep;
    m_cascadeCounter = (m_cascadeCounter + 1) % cascadeCycle;
    return offset;
}
