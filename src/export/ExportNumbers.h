#pragma once
// Numbers as the exported files write them: plain decimals, never an exponent, so every reader of
// COMTRADE and CSV files takes them.
#include <string>

namespace mr3x::exports {

/// The shortest decimal that reads back as exactly `value`: "3.03125", "-391.03125", "50", "0".
/// Minus zero is written "0"; a value that is no finite number is written "0" too.
std::string decimalText(double value);

/// `value` rounded half away from zero to `decimals` places and written with exactly that many:
/// fixedText(81, 2) is "81.00", fixedText(-0.004, 2) is "0.00".
std::string fixedText(double value, int decimals);

} // namespace mr3x::exports
