#pragma once
// The cable types beside the propagation speed bar: the table in the program folder listed in
// cboCableType, choosing one sets scrVF to its speed, and "Calibrate..." works the speed out
// from a known length between the cursors and offers to keep it as a cable type.
#include "tdr/CableTypeTable.h"

#include <QString>

#include <string>
#include <vector>

namespace mr3x {

class frmMaster;

class CableTypes {
public:
    explicit CableTypes(frmMaster& window) : w(window) {}

    /// Reads the table (writing the shipped one when the program folder has none) and lists it.
    /// Lines that name no type are reported once and left in the file as they are.
    void LOAD_CABLE_TYPES();
    /// The chosen type's speed into scrVF (which redraws the distance).
    void cboCableType_Click();
    /// After a change of scrVF: a speed that is not the chosen type's leaves no type chosen.
    void scrVF_Change();
    void cmdCalibrate_Click();

    /// The name of the type whose speed is in use; empty when none is chosen.
    QString cableTypeInUse() const;
    /// The table's path in the program folder.
    QString tablePath() const;

private:
    void fillList(const QString& select);
    /// Asks for a name and keeps `speed` in the table under it.
    void offerToSave(int speed);
    std::optional<std::size_t> chosenType() const;

    frmMaster& w;
    std::vector<std::string> lines_;    // the table as read, written back whole
    bool tableRead_ = false;            // false when a table there could not be read: never overwritten
    std::vector<tdr::CableType> types_;
};

} // namespace mr3x
