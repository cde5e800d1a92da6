// The bytes of a hand-edited text file, as a Windows or any other editor may have saved them,
// read as the program reads them (UTF-16 after its byte-order mark when whole, else UTF-8 when
// they are UTF-8, Windows-1252 when not) and written back in the encoding they were read in.
//
// What must hold whatever the bytes are:
// - what is read is valid UTF-8; read as UTF-8 it is the file's bytes less one byte-order mark at
//   their front, where they had one (a second mark is text the file holds);
// - written back in the encoding read, it gives the very bytes the file held;
// - UTF-8 is chosen exactly when the bytes are valid UTF-8, UTF-16 only after its byte-order mark;
// - text that goes into Windows-1252 comes back from it unchanged.
#include "FuzzCheck.h"
#include "common/TextEncoding.h"

#include <string>

using namespace mr3x;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TextEncoding encoding = detectTextEncoding(bytes);
    const bool bigEndian = encoding == TextEncoding::Utf16BigEndian;
    const bool utf16 = bigEndian || encoding == TextEncoding::Utf16LittleEndian;
    FUZZ_CHECK(!utf16 || bytes.starts_with(bigEndian ? utf16BigEndianBom : utf16LittleEndianBom));
    FUZZ_CHECK((encoding == TextEncoding::Windows1252) == (!isValidUtf8(bytes) && !utf16));
    FUZZ_CHECK((encoding == TextEncoding::Utf8WithBom) == (isValidUtf8(bytes) && bytes.starts_with(utf8Bom)));

    const std::string text = decodeText(bytes, encoding);
    FUZZ_CHECK(isValidUtf8(text));
    if (encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8WithBom)
        FUZZ_CHECK(text == bytes.substr(encoding == TextEncoding::Utf8WithBom ? utf8Bom.size() : 0));
    const std::optional<std::string> back = encodeText(text, encoding);
    FUZZ_CHECK(back.has_value() && *back == bytes);

    if (const std::optional<std::string> single = encodeText(text, TextEncoding::Windows1252))
        FUZZ_CHECK(decodeText(*single, TextEncoding::Windows1252) == text);
    return 0;
}
