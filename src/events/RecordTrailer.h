#pragma once
// The 117-byte trailer that ends every stored event record and every trace file: the date, the
// time and the unit's settings when the recording was made. One 16-bit field (the injection) is
// stored high byte first; the texts are one byte a character, blank-padded.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace mr3x::events {

inline constexpr std::size_t kTrailerBytes = 117;

struct RecordTrailer {
    std::array<std::uint8_t, kTrailerBytes> bytes{};

    std::uint8_t operator[](std::size_t offset) const { return bytes[offset]; }

    int testCode() const { return bytes[6]; }       // which conductor pair was tested, 0 to 5
    int gain() const { return bytes[7]; }
    int flags() const { return bytes[8]; }          // range, pulse, pulse width, pre/post
    int balance() const { return bytes[9]; }        // internal balance
    int mode() const { return bytes[10]; }          // below 2 TRS, 2 and above TDR
    int reference() const { return bytes[11]; }     // reference code, 0 to 9
    int injection() const { return bytes[12] * 256 + bytes[13]; }
    int threshold() const { return bytes[14]; }
    int duration() const { return bytes[15]; }
    int recordNumber() const { return bytes[16]; }  // counted from 0
    int modelByte() const { return bytes[18]; }     // model in the high bits, version in the low four

    bool longRange() const { return (bytes[8] & 1) != 0; }     // "800m" when set, "400m" when clear
    bool pulseOn() const { return (bytes[8] & 2) != 0; }
    int pulseWidthCode() const { return (bytes[8] >> 2) & 7; } // shown as 1 to 8
    int prePostCode() const { return (bytes[8] >> 5) & 7; }
    bool isTrs() const { return bytes[10] < 2; }

    /// The 24-character job and location names as stored, blanks included.
    std::string job() const { return text(26, 24); }
    std::string location() const { return text(51, 24); }

    /// The trailer from the first 117 bytes of `from` (which must hold that many).
    static RecordTrailer from(std::span<const std::uint8_t> from)
    {
        RecordTrailer t;
        for (std::size_t i = 0; i < kTrailerBytes && i < from.size(); ++i)
            t.bytes[i] = from[i];
        return t;
    }

private:
    std::string text(std::size_t offset, std::size_t width) const
    {
        return std::string(reinterpret_cast<const char*>(bytes.data() + offset), width);
    }
};

} // namespace mr3x::events
