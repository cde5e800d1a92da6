#pragma once
// CRC-16/XMODEM: polynomial 0x1021, start value 0, no reflection, no final XOR. Every YMODEM
// block carries it, high byte first.
#include <cstddef>
#include <cstdint>
#include <span>

namespace mr3x::ymodem {

std::uint16_t crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);

// The protocol's control characters.
inline constexpr std::uint8_t SOH = 0x01;  // a 128-byte block follows
inline constexpr std::uint8_t STX = 0x02;  // a 1024-byte block follows
inline constexpr std::uint8_t EOT = 0x04;  // end of file
inline constexpr std::uint8_t ACK = 0x06;
inline constexpr std::uint8_t NAK = 0x15;
inline constexpr std::uint8_t CAN = 0x18;  // two in a row abort the transfer
inline constexpr std::uint8_t CRC_REQUEST = 'C';  // the receiver asks for CRC-16 blocks

} // namespace mr3x::ymodem
