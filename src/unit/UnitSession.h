#pragma once
// A session on one Local Unit over one serial control (and so one transport) with the link's
// clock: the exchanges every unit routine is made of, and the guard that keeps a second
// routine off the link while one runs. The unit's road (log-on, settings, index, downloads,
// tests, arming) is built on it in this folder; the window and the collector drive the same
// road, each with its own observer.
//
//   if (session.refusesCommand(noConnection)) return;          // "Communications in progress"
//   const UnitSession::Routine routine(session);
//   auto request = commands::eventRecordRequest(nn);           // the command table's row, filled in
//   if (!session.sendCommand(request)) return;                 // progress, send, wait, result text
//   if (!session.receiveFile(folder, qtext(request.receivedFile), {.existing = ExistingFile::Delete}))
//       return;                                                // "File transfer failed" is reported
//
// sendCommand runs the exchange idiom on the serial control in this order: the progress text;
// the preparation (receive buffer drained, ScreenText emptied, TerminalActive false, Echo,
// TransferMode 0, WaitTimeout, ReplyCapture, CaptureFile, ReplyPatterns); the wake-up sends (after
// their pause); PendingText emptied where asked; the command (and its follow-up after its pause);
// PendingText emptied where asked; TimedOut; the success or time-out text; CaptureFile emptied;
// WaitTimeout 0. The options leave out the steps a routine does not take.
//
// receiveFile receives one file: the optional Pause 500; an existing file of the name deleted
// or made writable; ReceiveFolder, TransferProtocol, TransferMode; the receive buffer read and
// discarded; ReceiveFile; then it waits, letting other events run, until TransferState reads 0
// (success) or -1 (failure: "File transfer failed"). The serial control bounds every reception,
// so the wait always ends.
#include "common/Clock.h"
#include "link/CommandTable.h"
#include "link/LinkLog.h"
#include "link/SerialControl.h"
#include "retrieval/IndexLines.h"
#include "unit/UnitObserver.h"
#include "unitsettings/SettingsText.h"
#include "unitsettings/SetupArguments.h"

#include <QObject>
#include <QString>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mr3x {

namespace unitstatus {
inline const QString LocalUnitArmed = QStringLiteral("Local Unit armed");
inline const QString Disconnected = QStringLiteral("Disconnected");
} // namespace unitstatus

/// A text of the command table as the status line shows it.
QString qtext(std::string_view text);

/// What the setting batches send: the control panel's choices as values.
struct UnitSetup {
    bool msUnit = false;            // an "M-S32" takes the trigger batch, every other the set-up batch
    std::string thresholdText;      // cboThreshold's text ("15" goes out as "h15")
    std::string durationText;       // cboDuration's text
    std::string idRecord;           // commands::idRecord of the location's date, job and location
    unitsettings::HardwareChoice hardware;
};

struct SendOptions {
    bool drainFirst = false;            // read Input while InCount >= 2 and set PatternSeparator "|" first
    bool clearScreen = true;            // ScreenText ""
    bool releaseTerminal = true;        // TerminalActive false
    std::optional<bool> echo = true;    // Echo; nothing: left as it is
    bool keepReplyText = false;         // ReplyCapture 300 instead of 0
    QString captureFile;                // capture the unit's text into this file during the wait
    bool clearPendingBefore = false;    // PendingText "" before the command
    bool clearPendingAfter = false;     // PendingText "" after the command
    bool endWait = true;                // WaitTimeout 0 afterwards
};

enum class ExistingFile { Keep, Delete, MakeWritable };

struct ReceiveOptions {
    bool pauseFirst = true;                // Pause 500 before the reception
    ExistingFile existing = ExistingFile::Keep;
    std::optional<int> transferProtocol;   // set where the command table asks for it (2)
    std::optional<int> transferMode;       // likewise (1)
    bool deleteOnFailure = false;          // remove a file of the name left after a failure
};

class UnitSession : public QObject {
    Q_OBJECT
public:
    UnitSession(SerialControl& link, Clock& clock, UnitObserver& observer, QObject* parent = nullptr);
    ~UnitSession() override;

    SerialControl& link() { return link_; }
    Clock& clock() { return clock_; }
    UnitObserver& observer() { return observer_; }
    /// "<unit> Link.log" of the log-on under way: the session feeds it the link's traffic, the
    /// observer the status texts it shows.
    LinkLog& linkLog() { return linkLog_; }

    /// Held by a routine that talks to the unit over several exchanges. Between its exchanges
    /// such a routine pauses and lets other events run; a second routine started from one of
    /// those events would talk over it. A routine that calls another directly (arming runs the
    /// identity command) is not interrupted by it.
    class Routine {
    public:
        explicit Routine(UnitSession& session);
        ~Routine();
        Routine(const Routine&) = delete;
        Routine& operator=(const Routine&) = delete;

    private:
        UnitSession& session_;
    };

    /// Whether the link is taken: a reply wait or a reception under way (TransferState 4), or a
    /// routine waiting while the caller runs from inside its wait.
    bool busy() const;
    /// The busy check: when busy, tells "Communications in progress" (OK only, under `title`
    /// when one is given) and returns true; the caller then sends nothing.
    bool linkBusy(const QString& title = QString());
    /// The checks every unit command starts with: linkBusy, then the port connected, else
    /// `noConnection` (OK only, under `title`). True when the command must not start.
    bool refusesCommand(const QString& noConnection, const QString& title = QString());

    /// Runs one command's exchange; true when the unit answered within the time-out (a command
    /// that waits for nothing is sent and counts as answered).
    bool sendCommand(const commands::Exchange& command, const SendOptions& options = {});
    /// Sends a command that waits for nothing, touching neither the status line nor the
    /// exchange settings.
    void sendOnly(commands::Command command);
    /// Receives one file into `folder` under exactly `name`; true when it arrived whole.
    bool receiveFile(const QString& folder, const QString& name, const ReceiveOptions& options = {});

    // --- Logging on and off (LogOn.cpp) ---------------------------------------------------------
    enum class LogOn { Stopped, PortFailed, NoAnswer };
    /// Opens the port named on the serial control with its settings and logs on to `unit`, whose
    /// link log in `folder` takes the traffic from now on: "e", then "="
    /// and "-" waiting for "stopped by serial comm!", which stops the unit's recording. A port
    /// that does not open reports nothing (the caller says how it failed); no answer leaves the
    /// port open.
    LogOn logOn(const QString& folder, const QString& unit);
    /// Lets the unit arm itself with the settings it holds ("e"): it leaves serial control.
    void armAndRelease();
    /// Closes the port and the link log; "Disconnected".
    void close();
    /// How the status line names the port: the number of a "COMn" port, else the port's name.
    static QString portNumberText(const QString& portName);

    // --- Which unit answers (UnitIdentity.cpp) ------------------------------------------------
    enum class Identity {
        Confirmed,  // the unit reported the serial number expected
        Other,      // it reported another one
        Unverified, // it did not answer the version command or reported no serial number
    };
    struct IdentityCheck {
        Identity result;
        QString reported; // the serial number the unit reported, if any
    };
    /// Sends the version command and compares the serial number it reports with `expectedSerial`.
    IdentityCheck checkIdentity(const QString& expectedSerial);

    // --- The unit's settings (SettingsCapture.cpp) --------------------------------------------
    /// "<unit> Settings.txt" in `folder`.
    static QString settingsFile(const QString& folder, const QString& unit);
    /// Captures the unit's settings text ("X") into its settings file in `folder`; true when the
    /// unit finished it. A capture it did not finish is only part of its settings: it is removed,
    /// and the problem is told.
    bool captureSettings(const QString& folder, const QString& unit);
    /// Reads and checks a settings file; each value out of range is told (exclamation, OK), in
    /// the order the control panel takes them. Nothing when the file is missing or unreadable.
    std::optional<unitsettings::CheckedSettings> readSettings(const QString& file);

    // --- Setting commands and their batches (SettingBatches.cpp) -----------------------------
    /// Sets the unit's clock to the PC's; returns the fields sent.
    commands::ClockFields setTime();
    void setThreshold(const std::string& thresholdText);
    void setDuration(const std::string& durationText);
    /// The identity record, refused like any unit command when the link is busy or closed.
    void setId(const std::string& record);
    void setHardware(const unitsettings::HardwareChoice& choice);
    /// The trigger batch (time, threshold, duration) or the set-up batch (time, identity,
    /// hardware). After each step whose success text is not the last status, asks whether to
    /// go on ("Do you wish to continue?"); No ends the batch.
    void sendTriggerSettings(const UnitSetup& setup);
    void sendUnitSetup(const UnitSetup& setup);
    /// The batch that suits the unit's model.
    void sendSettings(const UnitSetup& setup);

    // --- The index and the recordings (EventRetrieval.cpp) ----------------------------------
    enum class IndexRequest {
        OnRequest,     // "Get Index": received even when the request went unanswered
        AfterSettings, // the end of a settings download: no answer, no reception
    };
    /// "<unit>.IDX" in `folder`; empty while no unit folder is chosen.
    static QString indexFileOf(const QString& folder, const QString& unit);
    /// The first records of an index file, as many as a unit of `model` holds. A missing or
    /// short file reads as empty slots, and reading never creates it.
    static std::vector<retrieval::IndexRecord> readIndex(const QString& indexFile, std::string_view model);
    /// Whether the event of this name is stored as a ".trg" file in `folder`.
    static bool isEventStored(const QString& folder, const std::string& eventName);
    /// The slots (as the user counts them) of the events the index lists that `folder` does not
    /// hold yet, in the index's order.
    static std::vector<std::string> missingEvents(const QString& folder, const std::vector<retrieval::IndexRecord>& index);
    /// How the index request "p" is sent: the screen and terminal left as they are, pending
    /// text emptied around it.
    static SendOptions indexRequestOptions();
    /// Fetches "<unit>.IDX" into `folder`; its path when it arrived whole. A failed reception
    /// leaves the index of the last fetch in place.
    std::optional<QString> fetchIndex(const QString& folder, const QString& unit, IndexRequest how);
    /// Downloads the event record of the slot the user counts as `slotText` ("07") into
    /// `folder`, confirms it with the ACK and stores it under its date and time. False when the
    /// unit did not answer or the transfer failed: that ends a download.
    bool downloadEvent(const QString& folder, std::string_view slotText);
    /// "y1": a manual recording, received and stored like an event; false as downloadEvent.
    bool takeManualRecording(const QString& folder);
    /// Receives the trace of the TEST just started as `name` in `folder`; its path when whole.
    std::optional<QString> receiveTrace(const QString& folder, const QString& name);
    /// Renames a received "Event_nn.EVT" or "Manual Trigger.ACT" in `folder` to its stored name;
    /// the stored path. A file holding no event, or one whose event is stored already, is deleted;
    /// a file that cannot be stored is told and left as it is.
    std::optional<QString> storeReceivedFile(const QString& folder, const QString& name);

    /// Reports a status text (an empty one is not shown); the last one is kept, since a batch
    /// reads back whether its step succeeded.
    void report(const QString& text);
    void report(std::string_view text) { report(qtext(text)); }
    QString lastStatus() const { return lastStatus_; }

private:
    struct BatchStep {
        void (*run)(UnitSession&, const UnitSetup&);
        commands::Command command; // whose success text the status must show afterwards
        const char* problem;       // the question's first line when the step did not succeed
    };
    void tellStoreFailed(const QString& what);
    void runBatch(std::span<const BatchStep> steps, const UnitSetup& setup);
    void prepare(const commands::Exchange& command, const SendOptions& options);
    void wakeUp(const commands::Exchange& command);
    void drainReceiveBuffer();
    bool routineInterrupted() const;
    /// The serial control's progress and abort events, during a reception.
    void Comm_Progress();
    void Comm_Abort();

    SerialControl& link_;
    Clock& clock_;
    UnitObserver& observer_;
    LinkLog linkLog_;
    QString lastStatus_;
    int routines_ = 0;          // routines running, one inside another
    int routineEventDepth_ = 0; // the clock's event depth when the outermost one began
};

} // namespace mr3x
