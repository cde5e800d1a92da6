#pragma once
// The command exchange with the unit, as the command routines use it:
//
//   if (w.exchange->linkBusy()) return;                       // "Communications in progress"
//   auto request = commands::eventRecordRequest(nn);           // the command table's row, filled in
//   if (!w.exchange->SEND_COMMAND(request)) return;            // progress, send, wait, result text
//   if (!w.exchange->RECEIVE_FILE(folder, request.receivedFile, {.existing = ExistingFile::Delete}))
//       return;                                                // "File transfer failed" is shown
//
// SEND_COMMAND runs the exchange idiom on the serial control in this order: the progress text;
// the preparation (receive buffer drained, ScreenText emptied, TerminalActive false, Echo,
// TransferMode 0, WaitTimeout, ReplyCapture, CaptureFile, ReplyPatterns); the wake-up sends (after
// their pause); PendingText emptied where asked; the command (and its follow-up after its pause);
// PendingText emptied where asked; TimedOut; the success or time-out text; CaptureFile emptied;
// WaitTimeout 0. The options leave out the steps a routine does not take.
//
// RECEIVE_FILE receives one file: the optional Pause 500; an existing file of the name deleted
// or made writable; ReceiveFolder, TransferProtocol, TransferMode; the receive buffer read and
// discarded; ReceiveFile; then it waits, letting window events run, until TransferState reads 0
// (success) or -1 (failure: "File transfer failed" on the status line). The serial control
// bounds every reception, so the wait always ends.
#include "link/CommandTable.h"

#include <QString>

#include <optional>

namespace mr3x {

class frmMaster;

/// A text of the command table as the window shows it.
QString qtext(std::string_view text);

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

class CommandExchange {
public:
    explicit CommandExchange(frmMaster& window) : w(window) {}

    /// Held by a routine that talks to the unit over several exchanges (the log-on, the settings
    /// download, the setting batches and arming, the index and event downloads, the manual
    /// trigger). Between its exchanges such a routine pauses and lets window events run; a
    /// second routine started from one of those events would talk over it. A routine that calls
    /// another directly (arming runs SET_ID) is not interrupted by it.
    class Routine {
    public:
        explicit Routine(CommandExchange& exchange);
        ~Routine();
        Routine(const Routine&) = delete;
        Routine& operator=(const Routine&) = delete;

    private:
        CommandExchange& exchange_;
    };

    /// The busy check: while TransferState reads 4, or while a click reaches the window from the
    /// wait of a running routine, shows "Communications in progress" (OK only, under `title`
    /// when one is given) and returns true; the caller then sends nothing.
    bool linkBusy(const QString& title = QString());
    /// The checks every unit command starts with: linkBusy, then the port connected, else
    /// `noConnection` (OK only, under `title`). True when the command must not start.
    bool refusesCommand(const QString& noConnection, const QString& title = QString());

    /// Runs one command's exchange; true when the unit answered within the time-out (a command
    /// that waits for nothing is sent and counts as answered).
    bool SEND_COMMAND(const commands::Exchange& command, const SendOptions& options = {});

    /// Sends a command that waits for nothing, touching neither the status line nor the
    /// exchange settings.
    void sendOnly(commands::Command command);

    /// Receives one file into `folder` under exactly `name`; true when it arrived whole.
    bool RECEIVE_FILE(const QString& folder, const QString& name, const ReceiveOptions& options = {});

private:
    void prepare(const commands::Exchange& command, const SendOptions& options);
    void wakeUp(const commands::Exchange& command);
    void drainReceiveBuffer();
    void setStatus(const std::string& text);
    bool routineInterrupted() const;

    frmMaster& w;
    int routines_ = 0;          // routines running, one inside another
    int routineEventDepth_ = 0; // the clock's event depth when the outermost one began
};

} // namespace mr3x
