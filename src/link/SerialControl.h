#pragma once
// The serial communications control: every byte between the program and the Local Unit passes
// through it. It offers the operations the program uses (port, reply waits, text capture,
// terminal screen, file reception) over a byte transport.
//
// Waits: a Send made while WaitTimeout is non-zero starts a reply wait; the wait collects what
// arrives until one of the ReplyPatterns is seen (case-sensitive, across read boundaries) or
// WaitTimeout milliseconds pass. Reading TimedOut completes a pending wait first, letting window
// events run meanwhile, so the program's sequences (Send, Pause, Send, read TimedOut) work as
// written. Setting WaitTimeout to 0 ends the wait state. Every wait reads the program's clock.
//
// TransferState: 0 idle or reception complete; 4 while a reply wait or a reception is under
// way; -1 after a reception failed (until the next Send, reception or port change).
#include "common/Clock.h"
#include "link/LinkTap.h"
#include "link/Transport.h"

#include <QFile>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

namespace mr3x {

class FileReception;

class SerialControl : public QObject {
    Q_OBJECT
public:
    SerialControl(Clock& clock, TransportOpener opener, QObject* parent = nullptr);
    ~SerialControl() override;

    // --- The port -------------------------------------------------------------------------
    /// "COM" followed by the port number, a device path, or the simulated unit's name.
    void setPortName(const QString& name);
    QString PortName() const { return portName_; }
    /// "9600,n,8,1" or "115200,n,8,1".
    void setSettings(const QString& settings);
    QString Settings() const { return settings_; }
    /// true opens the named port with Settings; a port already open with that name and those
    /// settings stays open as it is (another name or line speed opens it anew). false closes it.
    void setPortOpen(bool open);
    bool PortOpen() const;
    /// The program ends: a reception under way is dropped with its temporary file, a capture
    /// under way is closed and its partial file deleted, the port is closed, and from now on no
    /// port opens and nothing is sent.
    void shutDown();
    /// "Connected", "Port unavailable", "Canceled", "Port closed", or the port's own error text.
    QString PortStatus() const;
    /// Why the port did not open, in plain words, when the port tells more than its status (a
    /// network port: "10.20.0.5:4001 refused the connection"); "" otherwise.
    QString PortFailure() const;
    /// The link's allowance, added to the bound of every reply wait and to a reception's time
    /// limits: the one set here (an address's own) when set, else the open port's measurement
    /// (0 for a serial port).
    void setLinkAllowance(std::optional<int> ms) { linkAllowanceSet_ = ms; }
    int LinkAllowance() const;
    /// Whether the allowance is the one set (an address's own) rather than the port's measurement.
    bool LinkAllowanceIsSet() const { return linkAllowanceSet_.has_value(); }
    /// The communication devices present: real serial ports (COM names on Windows, device
    /// paths on POSIX) followed by the extra devices (the simulated unit).
    QStringList DeviceList() const;
    void setExtraDevices(const QStringList& names) { extraDevices_ = names; }

    // --- Commands and replies --------------------------------------------------------------
    /// Transmits the bytes unchanged (Latin-1 for text); starts a reply wait when WaitTimeout > 0.
    void Send(const QByteArray& bytes);
    void Send(const QString& text) { Send(text.toLatin1()); }
    void setReplyPatterns(const QString& patterns);
    void setPatternSeparator(const QString& separator);
    void setWaitTimeout(int ms);
    int WaitTimeout() const { return waitTimeoutMs_; }
    /// Non-zero when no reply pattern arrived within WaitTimeout of the last Send.
    int TimedOut();
    /// What arrived during the last wait, the matched pattern included.
    QString ReplyText() const { return replyText_; }
    void setReplyCapture(int value) { replyCapture_ = value; }
    /// Waits this long, letting window events run (received text keeps being handled).
    void setPause(int ms);
    /// Characters received and not yet read with Input; setting 0 empties the receive buffer.
    int InCount();
    void setInCount(int count);
    /// Returns and removes the received text.
    QString Input();
    /// Received text is written to this file until set to "" (which closes it).
    void setCaptureFile(const QString& path);
    QString CaptureFile() const { return captureFile_; }

    // --- Terminal screen --------------------------------------------------------------------
    /// Sent text is echoed on the terminal screen.
    void setEcho(bool on) { echo_ = on; }
    bool Echo() const { return echo_; }
    /// While true the user works the terminal: typed text is sent.
    void setTerminalActive(bool on);
    bool TerminalActive() const { return terminalActive_; }
    /// The terminal screen's text; set "" to clear it.
    void setScreenText(const QString& text);
    QString ScreenText() const { return screenText_; }
    /// Text typed on the terminal and not yet sent; set "" to clear it.
    void setPendingText(const QString& text) { pendingText_ = text; }
    QString PendingText() const { return pendingText_; }
    /// The user typed on the terminal screen: sent at once while TerminalActive, else kept pending.
    void typeText(const QString& text);
    void setTickInterval(int ms);

    // --- File reception --------------------------------------------------------------------
    void setReceiveFolder(const QString& folder) { receiveFolder_ = folder; }
    QString ReceiveFolder() const { return receiveFolder_; }
    void setTransferMode(int mode) { transferMode_ = mode; }
    void setTransferProtocol(int protocol) { transferProtocol_ = protocol; }
    /// Starts receiving one file into ReceiveFolder under exactly this name. The file is written
    /// to a temporary name and renamed into place only when complete and of the announced length.
    /// Every reception ends: a sender that never starts, stalls, keeps failing or aborts, and a
    /// port that closes or goes away, all end it with TransferState -1 and no file written.
    void setReceiveFile(const QString& name);
    int TransferState() const;
    /// Ends a reception under way as a failure: the sender is told to stop (CAN) and no file is
    /// written. Nothing happens when no reception is under way.
    void cancelReception(const QString& reason);
    qint64 BytesTransferred() const { return bytesTransferred_; }

    /// Reads what has arrived, moves a reception on and checks its time limits; runs at every
    /// DoEvents, at every tick and when the transport reports data.
    void service();

    // --- Listeners -----------------------------------------------------------------------------
    /// `tap` hears the traffic from now on, until removed (it must outlive that).
    void addTap(LinkTap* tap);
    void removeTap(LinkTap* tap);

signals:
    /// The progress event: BytesTransferred changed during a reception.
    void Progress();
    /// The abort event: the sender aborted the reception.
    void Abort();
    /// ScreenText changed.
    void ScreenChanged();

private:
    void openPort();
    void closePort();
    void onLost();
    /// Reads what arrived and hands it on: to a running reception first, else to the reply wait,
    /// the capture file, the input buffer and the screen.
    void serviceOnce();
    QByteArray feedReception(const QByteArray& bytes);
    void takeText(const QByteArray& bytes);
    void matchReply(const QByteArray& bytes);
    void endWait(int timedOut);
    void endReception();
    void failReception(const QString& reason);
    /// Puts bytes on the line unchanged; they touch neither the reply wait nor the screen.
    void writeRaw(const QByteArray& bytes);
    void showOnScreen(const QByteArray& bytes);
    void tapSent(const QByteArray& bytes);
    /// Hands the reception's block events to the listeners.
    void tapTransfer(FileReception& reception);

    Clock& clock_;
    TransportOpener opener_;
    std::unique_ptr<Transport> transport_;
    QStringList extraDevices_;
    QString portName_ = QStringLiteral("COM1");
    QString settings_ = QStringLiteral("9600,n,8,1");
    QString lastStatus_ = portstatus::Closed;
    QString lastFailure_;
    std::optional<int> linkAllowanceSet_;
    QString openedName_;     // the name and settings the open port was opened with
    QString openedSettings_;

    QStringList patterns_;
    QString separator_ = QStringLiteral("|");
    QString patternsText_;
    int waitTimeoutMs_ = 0;
    bool waitPending_ = false;
    bool completingWait_ = false;
    std::int64_t waitStartMs_ = 0;
    int timedOut_ = 0;
    QString replyText_;
    int replyCapture_ = 0;
    QByteArray inBuffer_;
    QString captureFile_;
    std::unique_ptr<QFile> capture_;

    bool echo_ = false;
    bool terminalActive_ = false;
    QString screenText_;
    bool screenAfterCr_ = false; // the screen's last character came from a CR
    QString pendingText_;
    QTimer tick_;
    bool servicing_ = false;
    bool serviceAgain_ = false;
    bool shutDown_ = false;

    QString receiveFolder_;
    int transferMode_ = 0;
    int transferProtocol_ = 0;
    int transferState_ = 0; // 0 or -1; 4 is read while a wait or a reception runs
    qint64 bytesTransferred_ = 0;
    std::unique_ptr<FileReception> reception_;
    int pumpId_ = 0;
    std::vector<LinkTap*> taps_;
};

} // namespace mr3x
