#include "sim/CommandParser.h"

#include <algorithm>
#include <array>

namespace mr3x::sim {

namespace {

enum class Shape {
    Bare,      // the letter alone
    Fixed,     // the letter and `length` characters
    Fields,    // the letter and `length` comma-separated fields; the last field is one character
    StopPair,  // "=" then "-"
};

struct CommandShape {
    char letter;
    Shape shape;
    std::size_t length;
};

// Every command the unit knows, with the length of what follows the letter.
constexpr std::array kShapes{
    CommandShape{'X', Shape::Bare, 0},   CommandShape{'p', Shape::Bare, 0},
    CommandShape{'e', Shape::Bare, 0},   CommandShape{'R', Shape::Bare, 0},
    CommandShape{'V', Shape::Bare, 0},   CommandShape{'W', Shape::Bare, 0},
    CommandShape{kCtrlB, Shape::Bare, 0}, CommandShape{kCtrlC, Shape::Bare, 0},
    CommandShape{kAck, Shape::Bare, 0},  CommandShape{'f', Shape::Fixed, 2},
    CommandShape{'y', Shape::Fixed, 1},  CommandShape{'T', Shape::Fixed, 12},
    CommandShape{'h', Shape::Fixed, 2},  CommandShape{'d', Shape::Fixed, 2},
    CommandShape{'N', Shape::Fixed, 74}, CommandShape{'A', Shape::Fixed, 1},
    CommandShape{'g', Shape::Fields, 9}, CommandShape{'=', Shape::StopPair, 1},
};

// A hardware command longer than this has lost its commas; it cannot end well.
constexpr std::size_t kLongestFieldCommand = 40;

const CommandShape* shapeOf(char letter)
{
    const auto it = std::find_if(kShapes.begin(), kShapes.end(),
                                 [letter](const CommandShape& s) { return s.letter == letter; });
    return it == kShapes.end() ? nullptr : &*it;
}

} // namespace

bool CommandParser::startsCommand(std::uint8_t byte)
{
    return shapeOf(static_cast<char>(byte)) != nullptr;
}

std::optional<ParseOutcome> CommandParser::feed(std::uint8_t byte, std::int64_t nowMs)
{
    if (letter_ == 0)
        return begin(byte, nowMs);

    const CommandShape& shape = *shapeOf(letter_);
    if (shape.shape == Shape::StopPair && byte != '-') {
        // Not the stop pair after all: drop the "=" and read this byte as a fresh start.
        auto dropped = finish(ParseOutcome::Kind::Malformed);
        pending_ = begin(byte, nowMs);
        return dropped;
    }
    argument_.push_back(static_cast<char>(byte));
    lastByteMs_ = nowMs;
    if (argumentComplete())
        return finish(ParseOutcome::Kind::Complete);
    if (shape.shape == Shape::Fields && argument_.size() > kLongestFieldCommand)
        return finish(ParseOutcome::Kind::Malformed);
    return std::nullopt;
}

std::optional<ParseOutcome> CommandParser::pending()
{
    auto outcome = pending_;
    pending_.reset();
    return outcome;
}

std::optional<ParseOutcome> CommandParser::begin(std::uint8_t byte, std::int64_t nowMs)
{
    const CommandShape* shape = shapeOf(static_cast<char>(byte));
    if (shape == nullptr)
        return std::nullopt;  // CR, LF and stray bytes between commands
    letter_ = shape->letter;
    argument_.clear();
    lastByteMs_ = nowMs;
    if (shape->shape == Shape::Bare)
        return finish(ParseOutcome::Kind::Complete);
    return std::nullopt;
}

bool CommandParser::argumentComplete() const
{
    const CommandShape& shape = *shapeOf(letter_);
    if (shape.shape != Shape::Fields)
        return argument_.size() >= shape.length;
    // The last field is one character: complete one character after the last comma.
    const auto commas = static_cast<std::size_t>(std::count(argument_.begin(), argument_.end(), ','));
    return commas == shape.length - 1 && argument_.back() != ',';
}

std::optional<ParseOutcome> CommandParser::finish(ParseOutcome::Kind kind)
{
    ParseOutcome outcome{kind, Command{letter_, argument_}};
    reset();
    return outcome;
}

std::optional<ParseOutcome> CommandParser::expire(std::int64_t nowMs)
{
    const auto due = deadline();
    if (!due || nowMs <= *due)
        return std::nullopt;
    return finish(ParseOutcome::Kind::Malformed);
}

std::optional<std::int64_t> CommandParser::deadline() const
{
    if (letter_ == 0)
        return std::nullopt;
    const bool pair = shapeOf(letter_)->shape == Shape::StopPair;
    return lastByteMs_ + (pair ? kStopPairGapMs : kCharacterGapMs);
}

void CommandParser::reset()
{
    letter_ = 0;
    argument_.clear();
}

} // namespace mr3x::sim
