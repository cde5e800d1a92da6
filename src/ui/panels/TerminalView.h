#pragma once
// The terminal screen's view of the traffic: as text (the screen as the serial control fills it),
// as hex rows with the printable characters beside them, and with each line's time to the
// millisecond and its direction. Both views that mark the direction show the traffic both ways,
// whatever "Echo On" says.
#include <QCheckBox>

namespace mr3x {

struct TerminalView {
    QCheckBox* chkHex = nullptr;         // "Hex"
    QCheckBox* chkTimestamps = nullptr;  // "Timestamps"
};

} // namespace mr3x
