#pragma once

// Where new player windows go when their source has no frame of its own, across all the
// windows of one run: only the first window asking may take the global last frame, and
// windows placed by the cascade step through six offsets. The owner hands the same one to
// every window controller it creates.
class WindowPlacement final
{
public:
    static constexpr double cascadeStep = 28;
    static constexpr int cascadeCycle = 6;

    // True for the first call only.
    bool takeGlobalFallback();
    // 0, 28, 56, ... 140 for successive calls, then again from 0.
    double nextCascadeOffset();

private:
    bool m_usedGlobalFallback = false;
    int m_cascadeCounter = 0;
};
