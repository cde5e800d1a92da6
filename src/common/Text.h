#pragma once
// Small text rules shared by every subsystem: the two-digit rule, the zero-padding rule,
// numbers read the way the unit's texts are read, case-blind tests.
#include <string>
#include <string_view>
#include <vector>

namespace mr3x {

/// Right("00" & value, 2): 7 gives "07", 123 gives "23".
std::string twoDigits(long long value);

/// Zeros put in front of the text and the rightmost `width` characters kept, so a value too
/// long for its field keeps its last digits and a text with a leading blank keeps the blank.
std::string zeroPad(std::string_view text, std::size_t width);

/// The number at the start of a text: leading blanks allowed, an optional sign, digits and an
/// optional fraction; a text that does not start with a number reads as 0.
double leadingNumber(std::string_view text);
/// leadingNumber truncated toward zero, for whole-number fields; held within +-10^15.
long long leadingInteger(std::string_view text);

/// `value` with `places` decimals, rounded as printf's "%.*f" rounds it, and always with a point:
/// printf and std::to_string follow the C locale, which is the user's under Qt on Linux and has a
/// decimal comma in German or French.
std::string fixedDecimals(double value, int places);

/// The fields of a comma-separated line, each trimmed; an empty line is one empty field.
std::vector<std::string> splitTrimmedFields(std::string_view line);

std::string toUpper(std::string_view text);
std::string trim(std::string_view text);
bool containsNoCase(std::string_view haystack, std::string_view needle);
bool equalsNoCase(std::string_view a, std::string_view b);

/// A character a file or folder name may hold on Linux and on Windows alike: not a path separator,
/// a drive colon, one of * ? " < > |, nor a control character (NUL included).
bool isNameCharacter(char c);

/// A name that may be used as one folder or file name inside the program folder, here and on the
/// Windows machines the folders are copied to: not empty, not "." or "..", of name characters
/// only, and no device name of Windows ("AUX", "nul.evt": what is written there goes to the
/// device).
bool isSafeName(std::string_view name);

/// The name of the temporary file a save writes beside one of the program's text files and
/// renames over it: the file's name (".cfg", ".ini", ".bak" or ".txt") and six random letters,
/// "Substation.cfg.QxTrbE". A suffix a person would type ("backup", "OLDONE", "Before") is not
/// taken for one: random letters mix the cases.
bool isLeftOverSaveName(std::string_view name);

} // namespace mr3x
