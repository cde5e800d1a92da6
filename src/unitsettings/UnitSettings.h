#pragma once
// The unit settings file: downloading, listing and applying the unit's settings, then fetching
// the unit's event index.
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace mr3x {

class frmMaster;
namespace unitsettings {
struct RangeAndPulse;
struct BalanceChoice;
struct CheckedSettings;
} // namespace unitsettings

class UnitSettings {
public:
    explicit UnitSettings(frmMaster& window) : w(window) {}

    void GET_SETTINGS();
    void PARSE_SETTINGS();
    void mnuSettings_Click();
    void lblHide_Settings_Click();

    /// The master unit's settings file in the unit folder.
    QString settingsFilePath() const;
    /// The settings file of `unit` in `folder`.
    static QString settingsFileOf(const QString& folder, const QString& unit);
    /// A master unit with a unit folder to keep its files in.
    bool unitChosen() const;

private:
    /// The settings file of the master unit chosen now; empty while no unit folder is chosen.
    QString chosenUnitsFile() const;
    /// After the settings: the index request, the index file's reception into `folder` under
    /// the unit's name, and its list.
    void downloadIndex(const QString& folder, const QString& unit);
    /// PARSE_SETTINGS on this settings file.
    void parseSettings(const QString& file);
    /// The file's fields; nothing when the file is missing or cannot be read.
    std::optional<std::vector<std::string>> readFields(const QString& file);
    /// The fields as the program's unit parameters, kept until the next read.
    void keepParameters(const std::vector<std::string>& fields);
    /// "GPRS" ticked for a unit that reports over GPRS, whose line speed is then hidden.
    void markGprs(std::vector<std::string>& fields);
    void listFields(const std::vector<std::string>& fields);
    /// The SIM number is added to the slave unit list, without choosing it.
    void offerSimNumber(const std::string& simNumber);
    /// Each field the settings download checked, shown on the panel.
    void applyChecks(const unitsettings::CheckedSettings& read);
    void showRangeAndPulse(const unitsettings::RangeAndPulse& parts);
    void showBalanceChoice(const unitsettings::BalanceChoice& choice);
    void chooseTriggerMode(bool tdr);

    frmMaster& w;
};

} // namespace mr3x
