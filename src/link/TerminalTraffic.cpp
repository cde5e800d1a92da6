#include "link/TerminalTraffic.h"

namespace mr3x::traffic {

void TerminalTraffic::add(std::int64_t atMs, std::string stamp, Direction direction, std::string_view bytes)
{
    if (bytes.empty())
        return;
    chunks_.push_back({atMs, std::move(stamp), direction, std::string(bytes)});
    bytes_ += bytes.size();
    while (bytes_ > keptBytes && chunks_.size() > 1) {
        bytes_ -= chunks_.front().bytes.size();
        chunks_.pop_front();
    }
}

void TerminalTraffic::clear()
{
    chunks_.clear();
    bytes_ = 0;
}

std::string TerminalTraffic::text(bool hex, bool stamps) const
{
    LineCutter cutter(hex ? Layout::Hex : Layout::Screen);
    std::string out;
    auto append = [&out](const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            out.append(line).append("\n");
    };
    for (const Chunk& chunk : chunks_)
        append(cutter.feed(chunk.atMs, stamps ? std::string_view(chunk.stamp) : std::string_view(), chunk.direction,
                           chunk.bytes));
    append(cutter.flush());
    if (!out.empty())
        out.pop_back();
    return out;
}

} // namespace mr3x::traffic
