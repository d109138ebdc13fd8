#pragma once

#include "platform/WebDataStore.h"

// A WebDataStore that counts its clearings and reports each one done at once.
class FakeWebDataStore final : public WebDataStore
{
    Q_OBJECT

public:
    void clearAll() override
    {
        ++m_clearings;
        Q_EMIT cleared();
    }
    int clearings() const { return m_clearings; }

private:
    int m_clearings = 0;
};
