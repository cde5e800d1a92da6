#pragma once
// The event viewer's two slots: loading a stored event file into a slot, decoding its trailer into
// the slot's labels, and checking the two slots against each other (range and mode).
#include "events/EventRecord.h"

#include <QString>

#include <array>

namespace mr3x {

class frmMaster;

class EventViewer {
public:
    explicit EventViewer(frmMaster& window) : w(window) {}

    /// Sets the slot's parameter labels to their empty marks.
    void RESET_PARAMETER_DISPLAY(int i);
    /// Loads the file at `path` into slot i, shows its parameters, checks it against the other
    /// slot and draws it.
    void LOAD_EVENT_FILE(int i, const QString& path);
    /// Fills the slot's labels from its record, and runs the TDR viewer's presets for it.
    void SHOW_EVENT_PARAMETERS(int i);

    /// The slot's record: all zeros until an event is loaded (a short file leaves its trace
    /// area zeros).
    const events::EventRecord& record(int i) const { return loaded_[i].record; }
    /// Whether the slot holds an event read whole from its file.
    bool holdsEvent(int i) const { return loaded_[i].holdsEvent; }
    /// The path of the slot's file; empty when none.
    QString filePath(int i) const { return loaded_[i].path; }
    /// The grid position the user picked here for the other slot's event.
    int referencePosition(int i) const { return loaded_[i].referencePosition; }
    void setReferencePosition(int i, int position) { loaded_[i].referencePosition = position; }

private:
    /// Forgets slot i's event: labels reset, picture cleared, file name and path emptied.
    void emptySlot(int i);

    struct Slot {
        events::EventRecord record;
        bool holdsEvent = false;
        int rememberedRow = -1;   // the list line of the last event loaded, to go back to on a refusal
        QString path;
        int referencePosition = 0;
    };

    /// The file's bytes; a message and nothing when it cannot be read.
    std::optional<QByteArray> readFile(int i, const QString& path);
    /// The corruption question for a file of neither length; Yes deletes it and empties both slots.
    void askToDeleteCorruptFile(int i, const QString& path);
    /// False (after the message, with slot 1's list set back) when slot 1's event does not go
    /// with slot 0's.
    bool slotsAgree();
    void refuseSlot1(const QString& message);
    /// The job and location the last event's trailer named, which the reset marks leave.
    void forgetTrailerTexts(int i);
    void showMarkers(int i);
    /// The Details tab's dips, read against the recording's first cycle.
    void showDips(int i);

    frmMaster& w;
    std::array<Slot, 2> loaded_;
};

} // namespace mr3x
