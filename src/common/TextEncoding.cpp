#include "common/TextEncoding.h"

#include <array>

namespace mr3x {

namespace {

// 0x80 to 0x9F, where Windows-1252 differs from Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

/// The character at `at` of well-formed UTF-8, and the position after it; nothing when the
/// bytes there are not a well-formed character.
std::optional<std::pair<char32_t, std::size_t>> nextCharacter(std::string_view bytes, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return std::pair{char32_t{lead}, at + 1};
    std::size_t length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt; // a continuation byte, or a lead byte no character has
    }
    if (bytes.size() - at < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    return std::pair{c, at + length};
}

bool isUtf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16LittleEndian || encoding == TextEncoding::Utf16BigEndian;
}

/// The UTF-16 code units after the byte-order mark; nothing when the bytes are not whole units or
/// a surrogate stands without its partner (such a file is read byte for byte instead).
std::optional<std::u32string> utf16Characters(std::string_view bytes, bool bigEndian)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    const auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::u32string characters;
    characters.reserve(bytes.size() / 2);
    for (std::size_t at = 2; at < bytes.size(); at += 2) {
        const char32_t c = unit(at);
        if (c >= 0xDC00 && c <= 0xDFFF)
            return std::nullopt;
        if (c < 0xD800 || c > 0xDBFF) {
            characters += c;
            continue;
        }
        at += 2;
        if (at >= bytes.size() || unit(at) < 0xDC00 || unit(at) > 0xDFFF)
            return std::nullopt;
        characters += 0x10000 + ((c - 0xD800) << 10) + (unit(at) - 0xDC00);
    }
    return characters;
}

void appendUtf16(std::string& out, char32_t c, bool bigEndian)
{
    const auto unit = [&](char32_t u) {
        const char high = static_cast<char>(u >> 8);
        const char low = static_cast<char>(u & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    if (c < 0x10000) {
        unit(c);
        return;
    }
    unit(0xD800 + ((c - 0x10000) >> 10));
    unit(0xDC00 + ((c - 0x10000) & 0x3FF));
}

std::optional<unsigned char> windows1252Byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const auto next = nextCharacter(bytes, at);
        if (!next)
            return false;
        at = next->second;
    }
    return true;
}

TextEncoding detectTextEncoding(std::string_view bytes)
{
    for (const bool bigEndian : {false, true})
        if (bytes.starts_with(bigEndian ? utf16BigEndianBom : utf16LittleEndianBom) && utf16Characters(bytes, bigEndian))
            return bigEndian ? TextEncoding::Utf16BigEndian : TextEncoding::Utf16LittleEndian;
    if (!isValidUtf8(bytes))
        return TextEncoding::Windows1252;
    return bytes.starts_with(utf8Bom) ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
}

char32_t windows1252Character(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t{byte};
}

std::string decodeText(std::string_view bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return std::string(bytes);
    case TextEncoding::Utf8WithBom:
        return std::string(bytes.starts_with(utf8Bom) ? bytes.substr(utf8Bom.size()) : bytes);
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian: {
        std::string text;
        for (const char32_t c : utf16Characters(bytes, encoding == TextEncoding::Utf16BigEndian).value_or(U""))
            appendUtf8(text, c);
        return text;
    }
    case TextEncoding::Windows1252:
        break;
    }
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 4);
    for (const char byte : bytes)
        appendUtf8(text, windows1252Character(static_cast<unsigned char>(byte)));
    return text;
}

std::optional<std::string> encodeText(std::string_view utf8, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return std::string(utf8);
    case TextEncoding::Utf8WithBom:
        return std::string(utf8Bom) + std::string(utf8);
    case TextEncoding::Windows1252:
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian:
        break;
    }
    const bool bigEndian = encoding == TextEncoding::Utf16BigEndian;
    std::string bytes(isUtf16(encoding) ? (bigEndian ? utf16BigEndianBom : utf16LittleEndianBom) : "");
    bytes.reserve(isUtf16(encoding) ? 2 * utf8.size() + 2 : utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto next = nextCharacter(utf8, at);
        if (!next)
            return std::nullopt;
        at = next->second;
        if (isUtf16(encoding)) {
            appendUtf16(bytes, next->first, bigEndian);
            continue;
        }
        const std::optional<unsigned char> byte = windows1252Byte(next->first);
        if (!byte)
            return std::nullopt;
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

} // namespace mr3x
