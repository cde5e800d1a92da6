#pragma once
// The exports as the window offers them: each event slot's event as COMTRADE, CSV, a picture of
// its waveform or a fault report; each trace of the TDR viewer as CSV and the view as a picture.
// Every entry asks where to save (offering the folder used last), asks before it replaces a
// file, and says what it saved or why it could not.
#include "export/Comtrade.h"
#include "export/OutputSet.h"
#include "export/Picture.h"

#include <QString>

#include <optional>
#include <vector>

namespace mr3x {

class frmMaster;

class Exports {
public:
    explicit Exports(frmMaster& window) : w(window) {}

    /// The export buttons open their menus under themselves.
    void cmdExport_Click(int i);
    void cmdTdrExport_Click();
    /// Enables each entry that has something to export (run as a menu opens).
    void enableSlotEntries(int i);
    void enableTdrEntries();

    void EXPORT_COMTRADE(int i, exports::DataFileType type);
    void EXPORT_EVENT_CSV(int i, bool withParameters);
    /// Trace 0 or 1: the Master's or Slave's event trace as the viewer shows it; 2 to 4: the
    /// manual test slots.
    void EXPORT_TRACE_CSV(int trace);
    void EXPORT_WAVEFORM_PICTURE(int i);
    void EXPORT_TDR_PICTURE();
    void EXPORT_FAULT_REPORT(int i);

    /// 50, or 60 while "Line frequency 60 Hz" is ticked.
    int lineFrequency() const;

    /// The sheets the picture and report entries save, as the window shows them now.
    Picture waveformPicture(int i) const;
    Picture tdrPicture() const;

private:
    bool slotHoldsEvent(int i) const;
    /// Says so and returns true when slot i holds no event to export.
    bool refuseEmptySlot(int i);
    bool traceHeld(int trace) const;
    /// The path the user chose, with `suffix` added when the name has no extension.
    std::optional<QString> choosePath(const QString& title, const QString& suggestedName, const QString& filters,
                                      const QString& suffix);
    /// Writes the files into the folder, asking first when any exists; tells what was saved.
    void save(const QString& folder, const std::vector<OutputFile>& files);
    /// The folder used last, else the folder of the events shown, else the program folder.
    QString suggestedFolder() const;
    QString speedLine() const;
    std::optional<QSize> askPictureSize();
    /// The picture in the format its name asks for, at the size the user gives.
    void savePicture(const QString& path, const Picture& picture);

    frmMaster& w;
    QString lastFolder_;
    QString lastPictureSize_ = QStringLiteral("1600x900");
};

} // namespace mr3x
