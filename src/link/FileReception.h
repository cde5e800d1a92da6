#pragma once
// One file being received by YMODEM into a folder under the name the program asked for (the name
// the sender announces is never used). The data go to a temporary file beside the target, which
// replaces the target only once the whole file, of its announced length, has arrived; a reception
// that fails for any reason leaves neither a partial nor a temporary file.
#include "link/ymodem/Receiver.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <cstdint>
#include <vector>

namespace mr3x {

class FileReception {
public:
    enum class State { Running, Complete, Failed, Aborted };

    /// Prepares the temporary file for `name` in `folder`; check state() before start().
    FileReception(const QString& folder, const QString& name, ymodem::ReceiverLimits limits = {});

    /// Begins the reception: returns the bytes to send (the first 'C').
    QByteArray start(std::int64_t nowMs);
    /// Takes bytes that arrived; returns the answer. Bytes past the end of the reception are not
    /// used: `consumed` says how many were.
    QByteArray receive(const QByteArray& bytes, std::int64_t nowMs, qsizetype& consumed);
    /// Checks the time limits; returns what to send.
    QByteArray tick(std::int64_t nowMs);
    /// Ends a running reception as failed (port closed or lost); returns what to send, if anything.
    QByteArray cancel(const QString& reason);

    State state() const { return state_; }
    bool running() const { return state_ == State::Running; }
    /// Why it failed, for the log.
    QString failure() const { return failure_; }
    qint64 bytesReceived() const { return static_cast<qint64>(receiver_.bytesReceived()); }
    QString targetPath() const { return target_; }
    /// What happened since the last call: the start, each block, and the end (stored or failed).
    std::vector<ymodem::TransferEvent> takeEvents();

private:
    /// Writes the data the receiver accepted, and ends the reception when the receiver has.
    QByteArray settle(const ymodem::Bytes& answer);
    void stored();
    void fail(const QString& reason);
    /// Moves the receiver's events behind ours, keeping their order.
    void collectEvents();

    ymodem::Receiver receiver_;
    QString target_;
    QSaveFile file_;
    State state_ = State::Running;
    QString failure_;
    std::vector<ymodem::TransferEvent> events_;
};

} // namespace mr3x
