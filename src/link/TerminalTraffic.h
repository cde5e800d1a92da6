#pragma once
// What the terminal's Hex and timestamp views show: the newest traffic both ways, kept as it
// passed, so that switching the view shows the same bytes in the other layout.
#include "link/TrafficLines.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace mr3x::traffic {

class TerminalTraffic {
public:
    /// The views keep this many of the newest bytes, as the screen keeps its newest text.
    static constexpr std::size_t keptBytes = 32 * 1024;

    /// Bytes that passed at `atMs`, stamped `stamp` ("12:00:01.530").
    void add(std::int64_t atMs, std::string stamp, Direction direction, std::string_view bytes);
    void clear();
    bool empty() const { return chunks_.empty(); }

    /// The screen's text: hex rows (`hex`) or text lines, each marked with its direction and,
    /// with `stamps`, begun by its time; lines end in "\n" but the last.
    std::string text(bool hex, bool stamps) const;

private:
    struct Chunk {
        std::int64_t atMs;
        std::string stamp;
        Direction direction;
        std::string bytes;
    };
    std::deque<Chunk> chunks_;
    std::size_t bytes_ = 0;
};

} // namespace mr3x::traffic
