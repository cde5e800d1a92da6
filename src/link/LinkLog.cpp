#include "link/LinkLog.h"

#include "common/Files.h"

#include <QFileInfo>

namespace mr3x {

namespace {

constexpr std::string_view legend =
    "-> to the unit, <- from the unit, <= file transfer, == status line; <CR> <LF> <ACK>: control bytes, <9C>: other bytes in hex";

} // namespace

LinkLog::LinkLog(const Clock& clock, qint64 bound)
    : clock_(clock)
    , bound_(bound)
{
}

LinkLog::~LinkLog()
{
    close();
}

QString LinkLog::fileName(const QString& unit)
{
    return unit + QStringLiteral(" Link.log");
}

QString LinkLog::olderFileName(const QString& unit)
{
    return unit + QStringLiteral(" Link.old.log");
}

QString LinkLog::path() const
{
    return open_ ? joinPath(folder_, fileName(unit_)) : QString();
}

void LinkLog::open(const QString& folder, const QString& unit, const QString& port, const QString& settings)
{
    close();
    folder_ = folder;
    unit_ = unit;
    open_ = true;
    failed_ = false;
    cutter_ = traffic::LineCutter(traffic::Layout::Log);
    if (openFile())
        record(traffic::noteMarker, QStringLiteral("Log on to %1 through %2 at %3").arg(unit, port, settings).toStdString());
}

void LinkLog::close()
{
    if (!open_)
        return;
    record(traffic::noteMarker, "Link closed");
    file_.close();
    open_ = false;
}

void LinkLog::note(const QString& text)
{
    if (open_)
        record(traffic::noteMarker, text.toStdString());
}

void LinkLog::status(const QString& text)
{
    if (open_)
        record(traffic::statusMarker, text.toStdString());
}

void LinkLog::linkSent(const QByteArray& bytes)
{
    if (!open_)
        return;
    // Each send is a record of its own, written at once.
    std::vector<std::string> lines = cutter_.feed(clock_.nowMs(), stamp(), traffic::Direction::ToUnit, bytes.toStdString());
    for (std::string& line : cutter_.flush())
        lines.push_back(std::move(line));
    write(lines);
}

void LinkLog::linkReceived(const QByteArray& bytes)
{
    // The unit's lines are written as they end; one it has not ended goes with the next record.
    if (open_)
        write(cutter_.feed(clock_.nowMs(), stamp(), traffic::Direction::FromUnit, bytes.toStdString()));
}

void LinkLog::linkTransfer(const ymodem::TransferEvent& event)
{
    if (open_)
        record(traffic::transferMarker, traffic::transferText(event));
}

std::string LinkLog::stamp() const
{
    return clock_.currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toStdString();
}

void LinkLog::record(std::string_view marker, std::string_view text)
{
    std::vector<std::string> lines = cutter_.flush();
    lines.push_back(traffic::recordLine(stamp(), marker, text));
    write(lines);
}

void LinkLog::write(const std::vector<std::string>& lines)
{
    if (failed_ || lines.empty())
        return;
    if (file_.isOpen() && file_.size() >= bound_) {
        file_.close();
        if (!openFile())
            return;
        append({traffic::recordLine(stamp(), traffic::noteMarker, "continued from " + olderFileName(unit_).toStdString())});
    }
    append(lines);
}

void LinkLog::append(const std::vector<std::string>& lines)
{
    if (failed_ || !file_.isOpen())
        return;
    QByteArray bytes;
    for (const std::string& line : lines)
        bytes.append(line.data(), qsizetype(line.size())).append("\r\n");
    if (file_.write(bytes) != bytes.size() || !file_.flush())
        fail(file_.errorString());
}

bool LinkLog::openFile()
{
    const QString path = joinPath(folder_, fileName(unit_));
    if (QFileInfo(path).size() >= bound_) {
        const QString older = joinPath(folder_, olderFileName(unit_));
        if (!removeFile(older) || !QFile::rename(path, older)) {
            fail(QStringLiteral("it cannot be put aside as %1").arg(nativePath(older)));
            return false;
        }
    }
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
        fail(file_.errorString());
        return false;
    }
    if (file_.size() == 0)
        append({traffic::recordLine(stamp(), traffic::noteMarker, legend)});
    return !failed_;
}

void LinkLog::fail(const QString& why)
{
    if (!failed_)
        qWarning("The link log %s cannot be written (%s); the link goes on without it",
                 qPrintable(nativePath(joinPath(folder_, fileName(unit_)))), qPrintable(why));
    failed_ = true;
    file_.close();
}

} // namespace mr3x
