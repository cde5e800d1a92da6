#include "sim/OutputLine.h"

#include <algorithm>

namespace mr3x::sim {

void OutputLine::setRate(int baud, bool paced)
{
    baud_ = baud > 0 ? baud : 115200;
    paced_ = paced;
}

Micros OutputLine::departureOf(const Chunk& chunk, std::size_t index) const
{
    if (!paced_)
        return chunk.start;
    // A byte has left once its tenth bit is out: start + (index + 1) byte times, computed from
    // the chunk's start so rounding never adds up.
    return chunk.start + static_cast<Micros>(index + 1) * 10'000'000 / baud_;
}

Micros OutputLine::send(const std::vector<std::uint8_t>& bytes, Micros readyAt)
{
    if (bytes.empty())
        return std::max(freeAt_, readyAt);
    Chunk chunk{std::max(freeAt_, readyAt), bytes};
    freeAt_ = departureOf(chunk, bytes.size() - 1);
    queue_.push_back(std::move(chunk));
    return freeAt_;
}

std::vector<std::uint8_t> OutputLine::take(Micros now)
{
    std::vector<std::uint8_t> out;
    while (!queue_.empty()) {
        Chunk& chunk = queue_.front();
        while (chunk.taken < chunk.bytes.size() && departureOf(chunk, chunk.taken) <= now)
            out.push_back(chunk.bytes[chunk.taken++]);
        if (chunk.taken < chunk.bytes.size())
            break;
        queue_.pop_front();
    }
    return out;
}

Micros OutputLine::nextDeparture() const
{
    if (queue_.empty())
        return freeAt_;
    const Chunk& chunk = queue_.front();
    return departureOf(chunk, chunk.taken);
}

std::size_t OutputLine::queued() const
{
    std::size_t count = 0;
    for (const Chunk& chunk : queue_)
        count += chunk.bytes.size() - chunk.taken;
    return count;
}

void OutputLine::clear()
{
    queue_.clear();
}

} // namespace mr3x::sim
