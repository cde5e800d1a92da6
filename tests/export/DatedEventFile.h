#pragma once
// The event file the exporter and the window's exports start from.
#include "events/ViewerFixture.h"

namespace mr3x::test {

/// A long event of 6 December 2026, 12:00:00, whose trace area climbs sample by sample.
inline EventFile datedEventFile()
{
    EventFile event;
    const int when[6] = {26, 12, 6, 12, 0, 0};
    for (int k = 0; k < 6; ++k)
        event.head(k, when[k]);
    for (int n = 1; n <= 8192; ++n)
        event.trace(n, n % 256);
    return event;
}

} // namespace mr3x::test
