#pragma once
// The unit's transmit side: bytes queued for sending leave at the line rate (10 bits a byte) when
// pacing is on, at once otherwise. Times are microseconds on the link's time base.
#include <cstdint>
#include <deque>
#include <vector>

namespace mr3x::sim {

using Micros = std::int64_t;

class OutputLine {
public:
    void setRate(int baud, bool paced);

    /// Queues bytes that become ready at `readyAt`; they start once the line is free. Returns
    /// when the last of them will have left.
    Micros send(const std::vector<std::uint8_t>& bytes, Micros readyAt);
    /// Every byte that has left the line by `now`.
    std::vector<std::uint8_t> take(Micros now);

    /// When the last queued byte leaves (or left).
    Micros freeAt() const { return freeAt_; }
    /// When the next queued byte leaves; nothing when all have gone.
    bool hasQueued() const { return !queue_.empty(); }
    Micros nextDeparture() const;
    /// Bytes queued and not yet taken.
    std::size_t queued() const;
    void clear();

private:
    struct Chunk {
        Micros start;  // the first byte starts leaving here
        std::vector<std::uint8_t> bytes;
        std::size_t taken = 0;
    };
    Micros departureOf(const Chunk& chunk, std::size_t index) const;

    int baud_ = 115200;
    bool paced_ = false;
    Micros freeAt_ = 0;
    std::deque<Chunk> queue_;
};

} // namespace mr3x::sim
