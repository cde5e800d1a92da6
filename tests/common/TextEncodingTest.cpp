// Reading the hand-edited files' encodings: UTF-8 when the bytes are UTF-8, Windows-1252 when
// not, and back again without losing a character.
#include "common/TextEncoding.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(TextEncoding, ValidUtf8AndWholeUtf16AreReadSoAndAnythingElseAsWindows1252)
{
    EXPECT_EQ(detectTextEncoding("Last Master = North Yard"), TextEncoding::Utf8);
    EXPECT_EQ(detectTextEncoding("Last Master = M\xC3\xBCllheim"), TextEncoding::Utf8);
    EXPECT_EQ(detectTextEncoding("\xEF\xBB\xBFLast system = Alpha"), TextEncoding::Utf8WithBom);
    EXPECT_EQ(detectTextEncoding("\xF0\x9F\x94\x8C plug"), TextEncoding::Utf8);
    // What a Windows editor saves "Müllheim" as, and bytes that only look like UTF-8.
    for (const char* bytes : {"M\xFCllheim", "caf\xE9", "\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                              "\xF4\x90\x80\x80", "\x80", "\xC3\xBC\xBC", "\xF8\x88\x80\x80\x80"})
        EXPECT_EQ(detectTextEncoding(bytes), TextEncoding::Windows1252) << bytes;

    EXPECT_EQ(decodeText("M\xFCllheim \x80 \x93Nord\x94", TextEncoding::Windows1252),
              "M\xC3\xBCllheim \xE2\x82\xAC \xE2\x80\x9CNord\xE2\x80\x9D");
    EXPECT_EQ(decodeText("\xEF\xBB\xBFJob 1", TextEncoding::Utf8WithBom), "Job 1");

    // UTF-16 that is not whole (half a unit, or a surrogate without its partner, after the
    // byte-order mark) is read byte for byte.
    for (const std::string& bytes : {std::string("\xFF\xFE" "A\0B", 5), std::string("\xFF\xFE\x0C\xDD", 4),
                                     std::string("\xFE\xFF\xD8=\0A", 6)})
        EXPECT_EQ(detectTextEncoding(bytes), TextEncoding::Windows1252);
    EXPECT_EQ(detectTextEncoding(std::string("\xFE\xFF\xD8=\xDD\x0C", 6)), TextEncoding::Utf16BigEndian);
}

TEST(TextEncoding, EveryWindows1252ByteReadsBackAsItWasAndAForeignCharacterCannotBeWrittenSo)
{
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    const std::string text = decodeText(everyByte, TextEncoding::Windows1252);
    EXPECT_TRUE(isValidUtf8(text));
    EXPECT_EQ(encodeText(text, TextEncoding::Windows1252), everyByte);
    EXPECT_EQ(windows1252Character(0x8A), U'\u0160');
    EXPECT_EQ(windows1252Character(0x81), U'\u0081'); // unassigned: kept as its control character

    EXPECT_EQ(encodeText("\xC5\x81\xC3\xB3" "d\xC5\xBA", TextEncoding::Windows1252), std::nullopt) << "\"Łódź\"";
    EXPECT_EQ(encodeText("\xC3\xB3", TextEncoding::Windows1252), std::string("\xF3"));
    EXPECT_EQ(encodeText("Alpha", TextEncoding::Utf8WithBom), std::string("\xEF\xBB\xBF" "Alpha"));
}
