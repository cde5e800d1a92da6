#pragma once
// The link's traffic as lines a person reads: the link log's and the terminal's Hex and
// timestamp views. Each line is a record: a stamp (the time its first byte passed; left out
// when empty), a marker and the text:
//
//   2026-12-06 12:00:01.530 -> X
//   2026-12-06 12:00:01.610 <- Trigger threshold 15<CR><LF>
//   2026-12-06 12:00:02.100 <= block 1: 1024 bytes received (1024 of 11520)
//   2026-12-06 12:00:02.400 == Event 12 received
//
// "->" is what went to the unit, "<-" what came from it, "<=" a file transfer's progress told
// block by block instead of its bytes, "==" a status line text, "##" the log's own notes.
#include "link/ymodem/TransferEvent.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x::traffic {

enum class Direction { ToUnit, FromUnit };

inline constexpr std::string_view transferMarker = "<=";
inline constexpr std::string_view statusMarker = "==";
inline constexpr std::string_view noteMarker = "##";
std::string_view markerOf(Direction direction);

enum class Layout {
    Log,    // printable text as it is, CR and LF shown as "<CR><LF>" and ending the line, other
            // control bytes by their ASCII names ("<ACK>"), bytes past 0x7E and "<" in hex ("<9C>")
    Screen, // as the terminal screen shows text: line ends end the line and are not shown, tabs
            // kept, other bytes as in the log
    Hex,    // 16 bytes a row in hex, with the printable characters beside them
};

/// The bytes as the log shows them: "stopped by serial comm!<CR><LF>", "<ACK>", "<FF>".
std::string logText(std::string_view bytes);
/// A row of up to 16 bytes: "3D 2D 0D 0A" padded to the width of 16, two blanks, "=-..".
std::string hexRow(std::string_view bytes);
/// The stamp (when not empty), the marker and the text, a blank between each.
std::string recordLine(std::string_view stamp, std::string_view marker, std::string_view text);
/// A file transfer's event as the log tells it ("block 3: CRC error").
std::string transferText(const ymodem::TransferEvent& event);

/// Cuts the bytes passing each way into record lines. A line ends when the direction changes,
/// when the bytes pause for `pauseMs` or more, when it is full, and in the text layouts at a line
/// end (CR LF, a lone CR or a lone LF). The stamp of a line is that of the bytes it begins with.
class LineCutter {
public:
    /// Text lines hold up to 120 bytes before they are broken (a unit line fits); hex rows hold 16.
    explicit LineCutter(Layout layout, std::int64_t pauseMs = 100);

    /// Bytes that passed at `atMs`; returns the lines they completed.
    std::vector<std::string> feed(std::int64_t atMs, std::string_view stamp, Direction direction, std::string_view bytes);
    /// Ends the line begun; returns it (nothing when no line is begun).
    std::vector<std::string> flush();
    /// The line begun and not yet ended, as it would read; empty when none.
    std::string pending() const;

private:
    void take(char byte, std::string_view stamp, Direction direction, std::vector<std::string>& out);
    void endLine(std::vector<std::string>& out);
    std::string render() const;

    Layout layout_;
    std::int64_t pauseMs_;
    std::size_t lineBytes_;
    bool begun_ = false;
    Direction direction_ = Direction::FromUnit;
    std::string stamp_;
    std::string bytes_;
    bool afterCr_ = false;  // the line's last byte is a CR: an LF next belongs to it
    std::int64_t lastMs_ = 0;
};

} // namespace mr3x::traffic
