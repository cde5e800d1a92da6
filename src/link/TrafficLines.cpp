#include "link/TrafficLines.h"

#include <array>

namespace mr3x::traffic {

namespace {

constexpr std::size_t textLineBytes = 120;
constexpr std::size_t hexRowBytes = 16;

constexpr std::array<std::string_view, 32> controlNames = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS", "HT",  "LF", "VT",  "FF", "CR", "SO", "SI",
    "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB", "CAN", "EM", "SUB", "ESC", "FS", "GS", "RS", "US",
};

char hexDigit(unsigned value)
{
    return "0123456789ABCDEF"[value & 0xF];
}

bool printable(unsigned char byte)
{
    return byte >= 0x20 && byte <= 0x7E;
}

/// One byte as the log shows it; `plainLess` shows "<" as it is (the terminal's text).
void appendShown(std::string& out, unsigned char byte, bool plainLess)
{
    if (printable(byte) && (byte != '<' || plainLess)) {
        out += char(byte);
        return;
    }
    out += '<';
    if (byte < controlNames.size())
        out += controlNames[byte];
    else if (byte == 0x7F)
        out += "DEL";
    else {
        out += hexDigit(byte >> 4);
        out += hexDigit(byte);
    }
    out += '>';
}

std::string numbered(int block, std::string_view text)
{
    return block < 0 ? std::string(text) : "block " + std::to_string(block) + ": " + std::string(text);
}

std::string quoted(std::string_view name)
{
    return "\"" + std::string(name) + "\"";
}

} // namespace

std::string_view markerOf(Direction direction)
{
    return direction == Direction::ToUnit ? "->" : "<-";
}

std::string logText(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        appendShown(out, static_cast<unsigned char>(c), false);
    return out;
}

std::string hexRow(std::string_view bytes)
{
    std::string hex;
    std::string chars;
    for (const char c : bytes.substr(0, hexRowBytes)) {
        const auto byte = static_cast<unsigned char>(c);
        if (!hex.empty())
            hex += ' ';
        hex += hexDigit(byte >> 4);
        hex += hexDigit(byte);
        chars += printable(byte) ? c : '.';
    }
    hex.resize(hexRowBytes * 3 - 1, ' ');
    return hex + "  " + chars;
}

std::string recordLine(std::string_view stamp, std::string_view marker, std::string_view text)
{
    std::string line;
    if (!stamp.empty())
        line.append(stamp).append(" ");
    line.append(marker);
    if (!text.empty())
        line.append(" ").append(text);
    return line;
}

std::string transferText(const ymodem::TransferEvent& e)
{
    using Kind = ymodem::TransferEvent::Kind;
    switch (e.kind) {
    case Kind::Started:
        return "receiving " + quoted(e.text);
    case Kind::Announced:
        return numbered(0, "the unit sends " + quoted(e.text) + ", " + std::to_string(e.length) + " bytes");
    case Kind::Block:
        return numbered(e.block, std::to_string(e.bytes) + " bytes received (" + std::to_string(e.received) + " of "
                                     + std::to_string(e.length) + ")");
    case Kind::Repeated:
        return numbered(e.block, "repeated, acknowledged again and dropped");
    case Kind::BadBlock:
        return numbered(e.block, e.text);
    case Kind::Retry:
        return e.text == "NAK" ? "NAK: the block is asked for again" : e.text + ": the file is asked for again";
    case Kind::EndOfFile:
        return "end of file after " + std::to_string(e.received) + " bytes";
    case Kind::Cancelled:
        return "CAN CAN sent: the unit is told to stop sending";
    case Kind::Aborted:
        return "the unit cancelled the transfer (CAN CAN)";
    case Kind::Stored:
        return "complete: " + quoted(e.text) + ", " + std::to_string(e.length) + " bytes";
    case Kind::Failed:
        return "failed, nothing stored: " + e.text;
    }
    return {};
}

// --- Cutting the traffic into lines ----------------------------------------------------------

LineCutter::LineCutter(Layout layout, std::int64_t pauseMs)
    : layout_(layout)
    , pauseMs_(pauseMs)
    , lineBytes_(layout == Layout::Hex ? hexRowBytes : textLineBytes)
{
}

std::vector<std::string> LineCutter::feed(std::int64_t atMs, std::string_view stamp, Direction direction,
                                          std::string_view bytes)
{
    std::vector<std::string> out;
    if (begun_ && (direction != direction_ || atMs - lastMs_ >= pauseMs_))
        endLine(out);
    for (const char c : bytes)
        take(c, stamp, direction, out);
    if (!bytes.empty())
        lastMs_ = atMs;
    return out;
}

void LineCutter::take(char byte, std::string_view stamp, Direction direction, std::vector<std::string>& out)
{
    const bool text = layout_ != Layout::Hex;
    if (begun_ && text && afterCr_ && byte != '\n')
        endLine(out); // a lone CR ended the line
    if (!begun_) {
        begun_ = true;
        direction_ = direction;
        stamp_ = stamp;
    }
    bytes_ += byte;
    afterCr_ = text && byte == '\r';
    if ((text && byte == '\n') || (bytes_.size() >= lineBytes_ && !afterCr_))
        endLine(out);
}

void LineCutter::endLine(std::vector<std::string>& out)
{
    if (!begun_)
        return;
    out.push_back(render());
    begun_ = false;
    afterCr_ = false;
    bytes_.clear();
}

std::vector<std::string> LineCutter::flush()
{
    std::vector<std::string> out;
    endLine(out);
    return out;
}

std::string LineCutter::pending() const
{
    return begun_ ? render() : std::string();
}

std::string LineCutter::render() const
{
    std::string text;
    switch (layout_) {
    case Layout::Log:
        text = logText(bytes_);
        break;
    case Layout::Screen:
        for (const char c : bytes_) {
            if (c == '\t')
                text += c;
            else if (c != '\r' && c != '\n')
                appendShown(text, static_cast<unsigned char>(c), true);
        }
        break;
    case Layout::Hex:
        text = hexRow(bytes_);
        break;
    }
    return recordLine(stamp_, markerOf(direction_), text);
}

} // namespace mr3x::traffic
