#pragma once
// The unit's own random source. It is written out here rather than taken from <random> so that a
// seed gives the same recordings with every compiler and standard library.
#include <cmath>
#include <cstdint>

namespace mr3x::sim {

class SimRandom {
public:
    explicit SimRandom(std::uint64_t seed) : state_(seed) {}

    /// SplitMix64: good enough spread for waveforms and timestamps, and trivially portable.
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    /// A whole number from lo to hi, both included.
    int between(int lo, int hi)
    {
        const auto span = static_cast<std::uint64_t>(hi - lo + 1);
        return lo + static_cast<int>(next() % span);
    }

    /// A number in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

    /// Noise with roughly the spread of a normal distribution (sum of four uniforms), cheap and
    /// free of library differences.
    double noise(double spread)
    {
        const double sum = unit() + unit() + unit() + unit() - 2.0;
        return sum * spread * std::sqrt(3.0);
    }

    /// A generator for a sub-stream (one event, one trace), so adding a record never changes
    /// another one. The parent's own sequence is not moved on.
    SimRandom fork(std::uint64_t salt) const
    {
        SimRandom mixer(state_ ^ (salt * 0xD1B54A32D192ED03ULL));
        return SimRandom(mixer.next());
    }

private:
    std::uint64_t state_;
};

} // namespace mr3x::sim
