#pragma once
// The unit addresses in the window: read at start-up from "Unit Addresses.txt", and choosing a
// unit in the Master chain that has an address selects its port and line speed and opens the
// port, as choosing them by hand does. The user can still pick another port or speed.
#include "systems/UnitAddressTable.h"

#include <QString>

#include <optional>

namespace mr3x {

class frmMaster;

class UnitAddresses {
public:
    explicit UnitAddresses(frmMaster& window) : w(window) {}

    /// Writes the file with its notes when the program folder has none, reads it, and reports
    /// once the lines that give no address (they stay in the file as they are).
    void LOAD_UNIT_ADDRESSES();
    /// The master chain's unit is now `unit`: its address, if it has one, is put in the port
    /// list and the line speed buttons, and the port opened. A link in use is left alone.
    void chooseAddressOf(const QString& unit);
    /// The link allowance for the port being opened: that of the master unit's address when it
    /// names this port, else that of the first address naming it; nothing when none gives one.
    std::optional<int> linkAllowanceForPort(const QString& portName) const;

    const UnitAddressTable& table() const { return table_; }

private:
    /// A routine is talking to the unit, or a unit is logged on: its link must not be moved.
    bool linkInUse() const;
    void selectPort(const QString& port);

    frmMaster& w;
    UnitAddressTable table_;
};

} // namespace mr3x
