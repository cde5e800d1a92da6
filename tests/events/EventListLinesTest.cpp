// The lines of a slot's event list under each filter.
#include "EventBytes.h"
#include "events/EventListLines.h"

#include <gtest/gtest.h>

using namespace mr3x::events;
using namespace mr3x::events::test;

TEST(EventListLines, EachFileShowsItsRecordNumberOrItsKindUnderTheFiltersThatKeepIt)
{
    // `record` is the trailer's record byte, -1 for no trailer; `shown` is the bracket, null for
    // no line at all.
    struct Case { const char* extension; std::uintmax_t length; int record; EventFilter filter; const char* shown; };
    for (const Case& c : {Case{".trg", 3328, 4, EventFilter::All, "05"}, Case{".TRG", 11520, 4, EventFilter::Trg, "05"},
                          Case{".trg", 3328, 9, EventFilter::Trg, "10"}, Case{".trg", 3328, 255, EventFilter::Trg, "56"},
                          Case{".vlt", 11520, 7, EventFilter::Vlt, "MT"}, Case{".VLT", 3328, 7, EventFilter::All, "AC"},
                          Case{".vlt", 12, -1, EventFilter::Vlt, "AC"},
                          // Under "All" a name that is not a triggered event is listed as a recording.
                          Case{".xyz", 11520, 7, EventFilter::All, "MT"}, Case{".xyz", 11520, 7, EventFilter::Vlt, nullptr},
                          Case{".vlt", 3328, 7, EventFilter::Trg, nullptr}, Case{".trg", 3328, 1, EventFilter::Vlt, nullptr},
                          // A length of neither form has no number, whatever trailer a caller still
                          // holds from another file.
                          Case{".trg", 3000, 4, EventFilter::Trg, "--"}, Case{".trg", 0, -1, EventFilter::All, "--"},
                          Case{".trg", 3328, -1, EventFilter::All, "--"}}) {
        const RecordTrailer trailer = trailerWith({{16, std::uint8_t(c.record)}});
        const std::string name = std::string("05-12-26 14-03-22") + c.extension;
        const std::optional<std::string> line = eventListLine(name, c.length, c.record < 0 ? nullptr : &trailer, c.filter);
        if (c.shown)
            EXPECT_EQ(line, "05-12-26 14-03-22 (" + std::string(c.shown) + ")") << name << " " << c.length;
        else
            EXPECT_FALSE(line) << name << " " << c.length;
    }
}
