#pragma once

#include "platform/MediaControls.h"

#include <QList>

// Media controls that keep what was published; tests emit the request signals themselves.
class FakeMediaControls final : public MediaControls
{
    Q_OBJECT

public:
    using MediaControls::MediaControls;

    void publish(const State &state) override { published = state; }
    void announceSeeked(double position) override { seeked.append(position); }

    State published;
    QList<double> seeked;
};
