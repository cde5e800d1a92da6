// The reader's JSON lines: the keys in their order, numbers as JSON takes them in any locale, and
// any file name written so that a JSON reader takes it back whole.
#include "export/AnalysisJson.h"
#include "support/DecimalCommaLocale.h"

#include <gtest/gtest.h>

#include <optional>

using namespace mr3x;
using namespace mr3x::exports;

TEST(AnalysisJson, LinesHoldTheirKeysInOrderWithPointedNumbersEvenInADecimalCommaLocaleAndAnyNameIsValidJson)
{
    tdr::TraceFinding finding;
    finding.fault = tdr::FoundPoint{210, 150, 210.2, 40, -1};
    finding.noise = 0.604;
    events::DipMeasurement m;
    m.referenceVolts = 229.96;
    m.dips = {{1, events::DipKind::Dip, 115.04, 50.02, 120, 640, false}, {2, events::DipKind::Swell, 260, 113.1, 0, 800, true}};
    // In the C locale, then in one with a decimal comma where the machine has one.
    for (const bool decimalComma : {false, true}) {
        std::optional<test::DecimalCommaLocale> comma;
        if (decimalComma && !comma.emplace().active())
            continue;
        SCOPED_TRACE(decimalComma ? "decimal comma" : "C locale");
        EXPECT_EQ(traceJson("a.TDR", false, finding),
                  R"({"file": "a.TDR", "kind": "tdr", "fault": {"point": 210, "distance_m": 150}, "far_end": null, "noise": 0.60})");
        EXPECT_EQ(traceJson("b (R-N=TRS).TDR", true, {}),
                  R"({"file": "b (R-N=TRS).TDR", "kind": "trs", "fault": null, "far_end": null, "noise": 0.00})");
        EXPECT_EQ(eventJson("e.trg", m, 50),
                  R"({"file": "e.trg", "kind": "event", "reference_v": 230.0, "dips": [)"
                  R"({"channel": "Vy", "residual_v": 115.0, "residual_percent": 50.0, "start_ms": 30.0, "duration_ms": 160.0, "past_end": false, "class": "dip 70-40%, 10-200ms"}, )"
                  R"({"channel": "Vb", "residual_v": 260.0, "residual_percent": 113.1, "start_ms": 0.0, "duration_ms": 200.0, "past_end": true, "class": "swell 120-110%, 10-500ms"}]})");
        EXPECT_EQ(eventJson("e.trg", {}, 50), R"({"file": "e.trg", "kind": "event", "reference_v": 0.0, "dips": []})");
    }

    // Quotes, backslashes (a Windows path), control characters, UTF-8 kept, stray bytes replaced.
    EXPECT_EQ(jsonString("C:\\M-R3X \"a\"\t\x01"), R"("C:\\M-R3X \"a\"\u0009\u0001")");
    EXPECT_EQ(jsonString("Süd"), "\"Süd\"");
    EXPECT_EQ(jsonString("S\xfc" "d \xe2\x82"), R"("S\ufffdd \ufffd\ufffd")");
    EXPECT_EQ(jsonString("\xc0\xaf \xed\xa0\x80"), R"("\ufffd\ufffd \ufffd\ufffd\ufffd")");  // overlong, surrogate
}
