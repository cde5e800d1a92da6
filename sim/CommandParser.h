#pragma once
// Splits the bytes the unit receives into commands. Commands carry no line end: the parser knows
// each command's length from the one table of command shapes. CR and LF between commands are
// ignored, as is any byte that starts no command.
#include <cstdint>
#include <optional>
#include <string>

namespace mr3x::sim {

inline constexpr char kCtrlB = 0x02;
inline constexpr char kCtrlC = 0x03;
inline constexpr char kAck = 0x06;

struct Command {
    char letter = 0;       // as sent: 'X', 'p', 'f', ..., '=', Ctrl-B, Ctrl-C, ACK
    std::string argument;  // the characters after the letter, as received

    bool operator==(const Command&) const = default;
};

struct ParseOutcome {
    enum class Kind { Complete, Malformed };
    Kind kind;
    Command command;
};

class CommandParser {
public:
    /// How long a command may pause between two of its characters before it is dropped.
    static constexpr std::int64_t kCharacterGapMs = 1000;
    /// "=" and "-" are sent with a pause between them (a second at log-on), so the pair gets longer.
    static constexpr std::int64_t kStopPairGapMs = 3000;

    /// True when the byte begins a command.
    static bool startsCommand(std::uint8_t byte);

    /// Takes one byte received at `nowMs`. Returns the command it completes, or a malformed one.
    /// A byte that breaks the pair "=" "-" ends the "=" as malformed and is then read afresh, so
    /// `pending()` may hold a second outcome.
    std::optional<ParseOutcome> feed(std::uint8_t byte, std::int64_t nowMs);
    /// An outcome left over by the last feed (see above).
    std::optional<ParseOutcome> pending();

    /// Drops a command whose characters stopped arriving; returns it as malformed.
    std::optional<ParseOutcome> expire(std::int64_t nowMs);
    /// When a partly received command will be dropped, if one is under way.
    std::optional<std::int64_t> deadline() const;
    bool inCommand() const { return letter_ != 0; }
    void reset();

private:
    std::optional<ParseOutcome> begin(std::uint8_t byte, std::int64_t nowMs);
    std::optional<ParseOutcome> finish(ParseOutcome::Kind kind);
    bool argumentComplete() const;

    char letter_ = 0;
    std::string argument_;
    std::int64_t lastByteMs_ = 0;
    std::optional<ParseOutcome> pending_;
};

} // namespace mr3x::sim
