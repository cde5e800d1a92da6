#pragma once
// What a unit session reports, to whoever drives it: the window (its status line and message
// boxes) or the collector (its log, answering for itself). The session never knows which.
#include "common/Dialogs.h"

#include <QString>

namespace mr3x {

/// A file the session has stored whole in a unit folder.
struct StoredFile {
    enum class Kind {
        Settings,        // "<unit> Settings.txt", captured from the unit's settings text
        Index,           // "<unit>.IDX"
        Event,           // an event record renamed to its date-and-time stem + ".trg"
        ManualRecording, // a manual recording renamed to its stem + ".vlt"
        Trace,           // a TDR test's trace, "<date> <time> (...).TDR"
    };
    Kind kind;
    QString path;
};

class UnitObserver {
public:
    virtual ~UnitObserver() = default;

    /// Each status text, as the status line shows it, in order.
    virtual void status(const QString& text) = 0;
    /// A message or question as a message box puts it; returns the button chosen.
    virtual MsgAnswer ask(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title = QString()) = 0;
    /// A file stored whole (after it was renamed into place).
    virtual void stored(const StoredFile& file) = 0;
    /// A routine has reached a point where the user should see the status line as it stands
    /// (the window repaints it before going on).
    virtual void settle() {}
    /// The unit aborted a file transfer: the link is idle again.
    virtual void transferAborted() {}
};

} // namespace mr3x
