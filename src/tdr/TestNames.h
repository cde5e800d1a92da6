#pragma once
// The names trace files are stored under. A test's name is its file name without ".TDR"; the
// manual-test lists show it, and the viewer reads the phase and the mode back out of it
// (TraceColours.h, "=TRS").
//
// A test made here is named from the PC's clock at the start of the reception and the panel's
// choices: "26-12-05 14-03-09 (R-N=Y-N)". A legacy ".tst"/".ref" file is copied to a name made
// from its trailer's date and time and its own name: "26-12-05 14-03-09 (abc).TDR".
#include "events/RecordTrailer.h"

#include <string>
#include <string_view>

namespace mr3x::tdr {

/// "yy-mm-dd" and "hh-nn-ss" from the PC clock's fields, two digits each (the year's last two),
/// whatever the locale.
std::string testDateText(int year, int month, int day);
std::string testTimeText(int hour, int minute, int second);

/// "26-12-05 14-03-09 (R-N=Y-N)" (echo) or "... (R-NxY-N)" (cross): the name of a TDR-mode test.
std::string tdrTestName(std::string_view date, std::string_view time, std::string_view phase,
                        bool cross, std::string_view reference);
/// "26-12-05 14-03-09 (B-N=TRS)": the name of a TRS-mode test.
std::string trsTestName(std::string_view date, std::string_view time, std::string_view phase);

/// The ".TDR" name a legacy file is copied to: trailer bytes 0,1,2 joined by "-", a blank,
/// bytes 3,4,5 joined by "-", " (", the legacy name up to its first ".", ").TDR"; each byte as
/// two decimal digits (last two kept).
///
/// The result is always one safe file name in the unit folder: a "/", "\", ":", NUL or other
/// character no name may hold in the legacy name (which a file listing on another system may hand
/// over) becomes "_", so the copy can never land in another folder or on another drive.
std::string legacyTraceName(std::string_view legacyFileName, const events::RecordTrailer& trailer);

} // namespace mr3x::tdr
