#pragma once
// The encodings of the hand-edited text files (the master settings file, the system
// configuration files). They are saved by whatever editor the engineer has: UTF-8, with or
// without a byte-order mark, a Windows editor's single-byte code page, Windows-1252, or its
// "Unicode", UTF-16 after a byte-order mark. A byte-order mark followed by well-formed UTF-16 is
// read as UTF-16, other text that is valid UTF-8 as UTF-8 and anything else as Windows-1252; a
// file is written back in the encoding it was read in, so the names stored in it keep their
// characters.
#include <optional>
#include <string>
#include <string_view>

namespace mr3x {

enum class TextEncoding { Utf8, Utf8WithBom, Windows1252, Utf16LittleEndian, Utf16BigEndian };

/// The UTF-8 byte-order mark a Windows editor may put at the start of a UTF-8 file.
inline constexpr std::string_view utf8Bom = "\xEF\xBB\xBF";
/// The byte-order marks that open a UTF-16 file ("Unicode" is little-endian, "Unicode big endian"
/// the other).
inline constexpr std::string_view utf16LittleEndianBom = "\xFF\xFE";
inline constexpr std::string_view utf16BigEndianBom = "\xFE\xFF";

/// Well-formed UTF-8: no stray or missing continuation bytes, no overlong forms, no surrogates,
/// nothing above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

/// How a file's bytes are to be read.
TextEncoding detectTextEncoding(std::string_view bytes);

/// The file's bytes as UTF-8 text, the byte-order mark left out.
std::string decodeText(std::string_view bytes, TextEncoding encoding);
/// UTF-8 text as a file's bytes in the encoding (a UTF-16 file with its byte-order mark); nothing
/// when Windows-1252 has no place for one of its characters.
std::optional<std::string> encodeText(std::string_view utf8, TextEncoding encoding);

/// The character a Windows-1252 byte stands for. The five bytes the code page leaves unassigned
/// stand for the control characters of the same number, so every byte reads back as it was.
char32_t windows1252Character(unsigned char byte);

} // namespace mr3x
