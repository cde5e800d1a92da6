// mr3x-analyse: one JSON line a file with its keys in their fixed order, the fault and the dips
// it reads off the simulated unit's trace and events, a reference of another range refused, and
// the exit codes it shares with mr3x-export.
#include "export/AnalyseCommand.h"
#include "export/ExportCommand.h"
#include "sim/SimUnit.h"
#include "export/CommandOutcome.h"
#include "support/LinkFixture.h"
#include "support/TempFolder.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::TempFolder;

namespace {

using mr3x::test::Outcome;
using mr3x::test::bytesOf;

Outcome run(const QStringList& arguments)
{
    return mr3x::test::runCommand(runAnalyseCommand, arguments);
}

/// The trace the simulated unit sends for "TEST" in TDR mode, on the range given.
QByteArray testTrace(double faultM, bool longRange = false)
{
    sim::SimOptions options;
    options.armed = false;
    options.faultDistanceM = faultM;
    sim::SimUnit unit(options);
    unit.receive(longRange ? "g15, 3,0,0,2,035,10,10,0" : "g15, 3,0,0,2,034,10,10,0", 0);
    return bytesOf(unit.lastOfferBytes());
}

/// The numbers of a line that matches `pattern`, as its groups capture them; none (and a failure)
/// for a line that does not match.
QStringList captured(const QString& line, const QString& pattern)
{
    const QRegularExpressionMatch m = QRegularExpression(pattern).match(line);
    EXPECT_TRUE(m.hasMatch()) << line.toStdString() << "\n  does not match " << pattern.toStdString();
    return m.capturedTexts().mid(1);
}

const QString kTraceLine =
    QStringLiteral(R"re(^\{"file": "(.+)", "kind": "tdr", "fault": \{"point": (\d+), "distance_m": (\d+)\}, )re"
                   R"re("far_end": \{"point": (\d+), "distance_m": (\d+)\}, "noise": (\d+\.\d\d)\}$)re");

} // namespace

TEST(AnalyseCommand, ATraceGivesItsFaultAndFarEndAnEventItsDipsWhatCannotBeReadIsNamedAndTheProgramNeedsNoDisplay)
{
    TempFolder f;
    const QString faulted = f.write("26-12-07 03-12-07 (R-N=Internal).TDR", testTrace(150));
    // A fault at the cable's end is on no cable: the same cable, healthy.
    const QString healthy = f.write("26-11-01 10-00-00 (R-N=Internal).TDR", testTrace(320));
    const QString otherRange = f.write("26-11-02 10-00-00 (R-N=Internal).TDR", testTrace(320, true));

    const Outcome alone = run({faulted});
    EXPECT_EQ(alone.code, kExportDone);
    ASSERT_EQ(alone.lines().size(), 1);
    QStringList n = captured(alone.lines()[0], kTraceLine);
    EXPECT_EQ(n.value(0), faulted);
    // 150 m at 0.81 m a unit from the zero point at 25; the far end 320 m out.
    EXPECT_NEAR(n.value(1).toInt(), 25 + 150 / 0.81, 1.0);
    EXPECT_EQ(n.value(2).toInt(), std::lround((n.value(1).toInt() - 25) * 0.81));
    EXPECT_NEAR(n.value(3).toInt(), 25 + 320 / 0.81, 3.0);
    EXPECT_NEAR(n.value(5).toDouble(), 0.6, 0.3);

    // At 63.2 % the same point reads further.
    n = captured(run({"--speed", "63.2", faulted}).lines().value(0), kTraceLine);
    EXPECT_EQ(n.value(2).toInt(), std::lround((n.value(1).toInt() - 25) * 0.948));

    // Against the healthy cable: the same fault; the healthy cable against itself, nothing.
    n = captured(run({"--reference", healthy, faulted}).lines().value(0), kTraceLine);
    EXPECT_NEAR(n.value(1).toInt(), 25 + 150 / 0.81, 1.0);
    const Outcome same = run({"--reference", healthy, healthy});
    ASSERT_EQ(same.lines().size(), 1);
    EXPECT_TRUE(same.lines()[0].contains(R"re("fault": null, "far_end": {"point": )re")) << same.out.toStdString();

    const Outcome refused = run({"--reference", otherRange, faulted});
    EXPECT_EQ(refused.code, kExportSomeFailed);
    EXPECT_EQ(refused.out, QString());
    EXPECT_TRUE(refused.err.contains("The reference was taken on the 800m range and the trace on the 400m range")) << refused.err.toStdString();

    // What cannot be read is named and the rest is read.
    const QString shortTrace = f.write("in/half.TDR", QByteArray(300, '\x80'));
    const QString notes = f.write("in/notes.txt", "hello");
    const Outcome some = run({faulted, shortTrace, f("in/gone.trg"), notes});
    EXPECT_EQ(some.code, kExportSomeFailed);
    EXPECT_EQ(some.lines().size(), 1);
    const QStringList errors = some.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(errors.size(), 3) << some.err.toStdString();
    EXPECT_TRUE(errors[0].endsWith("half.TDR: holds 300 bytes, too few for a whole TDR trace"));
    EXPECT_TRUE(errors[1].contains("gone.trg: cannot be read"));
    EXPECT_TRUE(errors[2].contains("notes.txt: not an event file"));
    // A reference that cannot be read leaves every trace unread, and says so once for each.
    const Outcome noReference = run({"--reference", f("in/none.TDR"), faulted});
    EXPECT_EQ(noReference.code, kExportSomeFailed);
    EXPECT_EQ(noReference.err.count("none.TDR"), 2);

    for (const QStringList& wrong : {QStringList{}, {"--speed", "20", faulted}, {"--nominal", "x", faulted},
                                     {"--frequency", "55", faulted}, {"--reference"}, {"--shout", faulted}})
        EXPECT_EQ(run(wrong).code, kExportUsage) << wrong.join(' ').toStdString();

    // The program on its own needs no display.
    const Outcome program = mr3x::test::runWithoutDisplay(QStringLiteral(MR3X_ANALYSE), {faulted, f("in/gone.trg")});
    EXPECT_EQ(program.code, kExportSomeFailed);
    EXPECT_TRUE(program.out.startsWith(R"({"file": ")"));
    EXPECT_TRUE(program.err.contains("gone.trg: cannot be read"));
    const Outcome help = mr3x::test::runWithoutDisplay(QStringLiteral(MR3X_ANALYSE), {"--help"});
    EXPECT_EQ(help.code, kExportDone);
    EXPECT_TRUE(help.out.contains("--reference TRACE"));

    // An event gives its dips in times of the line frequency, against the first cycle or the
    // nominal voltage.
    const QString event = f.write("26-12-06 11-00-00.trg", bytesOf(sim::SimUnit(sim::SimOptions()).eventRecord(0)));
    const QString dipLine = QStringLiteral(R"re(^\{"file": ".+", "kind": "event", "reference_v": (\d+\.\d), "dips": \[)re"
                                           R"re(\{"channel": "V[ryb]", "residual_v": (\d+\.\d), "residual_percent": (\d+\.\d), )re"
                                           R"re("start_ms": (\d+\.\d), "duration_ms": (\d+\.\d), "past_end": (true|false), )re"
                                           R"re("class": "(dip|interruption) [^"]+%, [^"]+ms"\}\]\}$)re");
    const QStringList at50 = captured(run({event}).lines().value(0), dipLine);
    EXPECT_NEAR(at50.value(0).toDouble(), 230, 3);
    // The simulated unit keeps 30 to 80 % on the dipped phase for 2 to 8 cycles.
    EXPECT_GE(at50.value(2).toDouble(), 28);
    EXPECT_LE(at50.value(2).toDouble(), 82);
    EXPECT_EQ(at50.value(5), "false");

    const QStringList at60 = captured(run({"--frequency=60", event}).lines().value(0), dipLine);
    EXPECT_NEAR(at60.value(3).toDouble(), at50.value(3).toDouble() * 50 / 60, 0.11);
    EXPECT_NEAR(at60.value(4).toDouble(), at50.value(4).toDouble() * 50 / 60, 0.11);

    const QStringList nominal = captured(run({"--nominal", "240", event}).lines().value(0), dipLine);
    EXPECT_EQ(nominal.value(0), "240.0");
    EXPECT_NEAR(nominal.value(2).toDouble(), 100 * at50.value(1).toDouble() / 240, 0.11);
}
