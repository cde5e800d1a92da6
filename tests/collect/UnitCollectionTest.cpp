// One unit collected without a window, against the simulated unit on the test clock: what is
// stored, what the outcome says, and that the unit is left recording whenever it can be reached.
#include "collect/UnitCollection.h"
#include "sim/InProcessTransport.h"
#include "sim/SimUnit.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::collect;
using mr3x::test::TempFolder;

namespace {

struct Collector {
    explicit Collector(sim::SimOptions options)
        : unit(std::make_shared<sim::SimUnit>(options))
        , port(sim::simulatedPortName(QStringLiteral("M-R32")))
        , collection(root.path(), QStringLiteral("Substation"), clock, sim::openerWithSimulatedUnit(clock, unit, {}),
                     [this](const QString& line) {
                         if (watch)
                             watch(line);
                     })
    {
    }

    UnitOutcome collect()
    {
        return collection.collect({.unit = "MR-0101", .model = "M-R32", .job = "Feeder 7 Fault", .location = "North Yard",
                                   .port = port.toStdString(), .baud = 115200, .linkAllowanceMs = {}});
    }
    QString folder() const { return root.path() + QStringLiteral("/Systems/Substation/Jobs/Feeder 7 Fault/North Yard/MR-0101"); }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QStringList events() const { return QDir(folder()).entryList({QStringLiteral("*.trg")}, QDir::Files, QDir::Name); }

    TempFolder root;
    TestClock clock;
    std::shared_ptr<sim::SimUnit> unit;
    QString port;
    std::function<void(const QString&)> watch; // sees each line as it is logged
    UnitCollection collection;
};

sim::SimOptions fieldUnit()
{
    sim::SimOptions options;
    options.paced = false;
    options.events = 2;
    return options; // found recording, as in the field
}

} // namespace

// The lines, the report and the events stored are checked through mr3x-collect itself
// (CollectCommandTest); here the unit's own state and the files beside the events.
TEST(UnitCollection, StoresEveryNewEventLeavesTheUnitRecordingAndFetchesNothingTheSecondTime)
{
    Collector c(fieldUnit());
    const UnitOutcome first = c.collect();
    EXPECT_EQ(first.result, Result::Collected) << first.message;
    EXPECT_TRUE(first.rearmed);
    EXPECT_TRUE(c.unit->armed());
    ASSERT_EQ(c.events().size(), 2);
    EXPECT_TRUE(c.files().contains("MR-0101 Settings.txt"));
    EXPECT_TRUE(c.files().contains("MR-0101.IDX"));
    EXPECT_TRUE(c.files().contains(".mr3x-collected")) << "the window marks these events new";

    const QStringList before = c.files();
    const UnitOutcome second = c.collect();
    EXPECT_EQ(second.result, Result::Collected) << second.message;
    EXPECT_EQ(c.files(), before);
    EXPECT_TRUE(c.unit->armed());
}

TEST(UnitCollection, AFailureIsToldInTheStatusLinesWordsAndLeavesNoPartialFile)
{
    struct Case {
        const char* what;
        sim::SimOptions options;
        std::string message;  // what the outcome says
        bool rearmed;         // the unit can still be reached after the failure
        int eventsKept;       // whole events stored before the failure
    };
    sim::SimOptions silent = fieldUnit();
    silent.faults.silent.push_back({'f', 2}); // the second event's request goes unheard
    sim::SimOptions dropping = fieldUnit();
    dropping.faults.faultyTransfer = 2; // the first event's transfer (the index is the first)
    dropping.faults.transfer.disconnectAfterBytes = 2000;
    sim::SimOptions deaf = fieldUnit();
    deaf.faults.silent.push_back({'=', 0});
    sim::SimOptions other = fieldUnit();
    other.serialNumber = "MR-9999";
    const Case cases[] = {
        {"silent on a request", silent, "Timeout acknowledging request for Event", true, 1},
        {"the line gone mid-transfer", dropping, "File transfer failed", false, 0},
        {"deaf to the log-on", deaf, "No connection to Local Unit via COM ", true, 0},
        {"another unit on the port", other, "reports serial number MR-9999, not MR-0101; nothing stored", true, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Collector c(k.options);
        const UnitOutcome outcome = c.collect();
        EXPECT_EQ(outcome.result, Result::Failed);
        EXPECT_NE(outcome.message.find(k.message), std::string::npos) << outcome.message;
        EXPECT_EQ(outcome.rearmed, k.rearmed);
        EXPECT_EQ(c.unit->armed(), k.rearmed);
        EXPECT_EQ(c.events().size(), k.eventsKept);
        EXPECT_EQ(outcome.newEvents.size(), static_cast<std::size_t>(k.eventsKept));
        for (const QString& name : c.files())
            EXPECT_TRUE(name.endsWith(".trg") || name.endsWith(".IDX") || name.endsWith(".txt") || name.endsWith(".log") ||
                        name == ".mr3x-collected")
                << "left behind: " << name.toStdString();
    }
}

TEST(UnitCollection, AStopMidTransferDropsThePartialFileAndReArmsTheUnit)
{
    sim::SimOptions slow = fieldUnit();
    slow.paced = true; // the transfer takes long enough to be stopped in the middle
    Collector c(slow);
    bool requested = false;
    c.watch = [&](const QString& line) {
        // The user's SIGTERM arrives once the first event's blocks are coming in.
        requested = requested || line.contains(QStringLiteral("Requesting event record"));
        if (requested && line.contains(QStringLiteral("bytes transferred")))
            c.clock.endWaits();
    };
    const UnitOutcome outcome = c.collect();
    ASSERT_TRUE(c.clock.waitsEnded());
    EXPECT_EQ(outcome.result, Result::Failed);
    EXPECT_EQ(outcome.message.substr(0, 36), "stopped before the unit was finished") << outcome.message;
    EXPECT_TRUE(outcome.rearmed);
    EXPECT_TRUE(c.unit->armed());
    EXPECT_TRUE(c.events().isEmpty());
    for (const QString& name : c.files())
        EXPECT_TRUE(name.endsWith(".IDX") || name.endsWith(".txt") || name.endsWith(".log")) << name.toStdString();
}
