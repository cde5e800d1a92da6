#pragma once
// The configuration editor's buttons: add, delete and move units, change a unit's SIM number or
// B/T ID, save the table to the system's file or as a new system. All editing happens in the
// grid; nothing is written until the user saves.
//
// Cancel on any prompt leaves the operation with nothing changed (a prompt answered with OK and
// an empty text follows the editor's rules for empty answers). A table that cannot be written
// stays in the grid, with a message, so the user can try again.
#include "systems/UnitGrid.h"

#include <QString>

#include <functional>
#include <optional>

namespace mr3x {

class frmMaster;
class frmConfig;

class ConfigEditor {
public:
    ConfigEditor(frmMaster& master, frmConfig& window) : w(master), editor(window) {}

    /// The system whose table the grid holds: the one open when the editor was shown. Saving
    /// writes to its file even if another system has been opened meanwhile.
    void openFor(const QString& system) { system_ = system; }
    const QString& system() const { return system_; }

    void cmdAdd_a_unit_Click();
    void cmdDelete_a_unit_Click();
    void cmdMove_a_Unit_Click();
    void cmdSet_SIM_No_Click();
    void cmdSet_BT_ID_Click();
    void cmdSaveConfig_Click() { save(); }
    void cmdSave_as_Click();
    void SHOW_INVALID_NAME();

    /// "Save": asks, writes the table, hides the editor and reopens the system (also on No).
    /// False when the table could not be written: the editor then stays as it was.
    bool save();

    /// The grid's unit rows, cells as they stand.
    UnitGrid table() const;

private:
    enum class Verdict { Take, Again, Leave };
    using Check = std::function<Verdict(QString& answer)>;

    std::optional<QString> ask(const QString& text, const QString& defaultAnswer, const Check& check);
    std::optional<QString> askName(const QString& text, const QString& defaultAnswer, const UnitGrid& grid);
    std::optional<QString> askBtId(const QString& name, const UnitGrid& grid);
    std::optional<QString> askPlace(const QString& text, const QString& defaultAnswer, GridColumn column,
                                    std::string_view missing, const UnitGrid& grid);
    std::optional<QString> askSimNo(const QString& name, const UnitGrid& grid);
    /// A B/T ID or a SIM number: "Not set" taken as it is, a comma or a name the file cannot hold
    /// refused, one in use told with `tellInUse` and asked again.
    std::optional<QString> askIdentity(const QString& prompt, const std::function<bool(const std::string&)>& inUse,
                                       const std::function<void(const QString&)>& tellInUse);
    std::optional<QString> askNewPlace(const QString& text, const QString& defaultAnswer, std::string_view empty);
    std::optional<QString> askSystemName();
    /// Asks before a "Save as..." under the name of a system that exists; true on No.
    bool keepsAnotherSystem(const QString& name);
    void changeCell(GridColumn column, const QString& question, const QString& prompt);

    bool refusesComma(const QString& answer);
    bool refusesFolderName(QString& answer);
    bool writeTable(const QString& file);
    bool createSystem(const QString& name);
    void reopenSystem();

    void stop(const QString& text);
    void note(const QString& text);
    void caution(const QString& text);
    bool question(const QString& text);
    bool warningQuestion(const QString& text);

    frmMaster& w;
    frmConfig& editor;
    QString system_;
};

} // namespace mr3x
