#pragma once
// The link log: "<unit> Link.log" in the unit folder, appended at every log-on, one record a line
// (see link/TrafficLines.h): the bytes to and from the unit, each file transfer block by block,
// and every status line text, each with the local time to the millisecond. It is what support
// asks for first when a link misbehaves.
//
// The file is bounded: once it reaches the bound (1 MiB) it becomes "<unit> Link.old.log",
// replacing the older copy, and a fresh log begins. The log never holds up the link: a file that
// cannot be written is reported once on standard error and the link goes on without it.
#include "common/Clock.h"
#include "link/LinkTap.h"
#include "link/TrafficLines.h"

#include <QFile>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace mr3x {

class LinkLog final : public LinkTap {
public:
    static constexpr qint64 kDefaultBound = 1 << 20;

    explicit LinkLog(const Clock& clock, qint64 bound = kDefaultBound);
    ~LinkLog() override;

    /// "<unit> Link.log" and the older copy's name, "<unit> Link.old.log".
    static QString fileName(const QString& unit);
    static QString olderFileName(const QString& unit);

    /// A log-on to `unit` through `port` at `settings` begins: its records go to the unit's log
    /// in `folder` from now on (a log still open is closed first).
    void open(const QString& folder, const QString& unit, const QString& port, const QString& settings);
    /// The link closed: the last records are written and the file closed.
    void close();
    bool isOpen() const { return open_; }
    /// The log's path while open; empty otherwise.
    QString path() const;

    /// A new status line text.
    void status(const QString& text);
    /// A note of the program's own about the link (what it assumes of it), as a note line.
    void note(const QString& text);

    void linkSent(const QByteArray& bytes) override;
    void linkReceived(const QByteArray& bytes) override;
    void linkTransfer(const ymodem::TransferEvent& event) override;

private:
    std::string stamp() const;
    void record(std::string_view marker, std::string_view text);
    /// Writes the lines, putting a full file aside first.
    void write(const std::vector<std::string>& lines);
    void append(const std::vector<std::string>& lines);
    /// Opens the file for appending, putting it aside as the older copy first when full.
    bool openFile();
    void fail(const QString& why);

    const Clock& clock_;
    qint64 bound_;
    QString folder_;
    QString unit_;
    QFile file_;
    bool open_ = false;   // a log-on is being logged
    bool failed_ = false; // its file cannot be written: reported once, records dropped
    traffic::LineCutter cutter_{traffic::Layout::Log};
};

} // namespace mr3x
