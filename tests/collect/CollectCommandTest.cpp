// mr3x-collect as the office runs it: a round over simulated units on ptys (and one behind
// Debian's ser2net when it is installed), each worked by its own worker process, with what it
// prints, reports and logs; and the window kept off a port while the collector works it.
#include "common/WorkLocks.h"
#include "link/ConnectionLifecycle.h"
#include "support/MasterFixture.h"
#include "support/Ser2netProcess.h"
#include "support/UnitSimProcess.h"

#include <QDir>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iostream>
#include <memory>

using namespace mr3x;
using mr3x::test::TempFolder;
using mr3x::test::UnitSimProcess;
using testing::AllOf;
using testing::HasSubstr;
using testing::StartsWith;

namespace {

constexpr int kRoundLimitMs = 120'000; // far above a round's few seconds: a hang fails, never blocks

struct RoundRun {
    int exitCode = -1;
    QStringList lines; // standard output, a line each
};

/// A program folder with the system "Substation", its units on simulated units of their own.
class Fleet {
public:
    Fleet() : folder_(root_.mkdirs(QStringLiteral("M-R3X Master"))) {}

    /// A unit of the system served by a simulated unit started with `simArgs`, reached on the
    /// sim's pty; returns the pty.
    QString add(const QString& unit, const QString& location, QStringList simArgs)
    {
        if (!simArgs.contains(QStringLiteral("--serial")))
            simArgs << QStringLiteral("--serial") << unit;
        sims_.push_back(std::make_unique<UnitSimProcess>(simArgs << QStringLiteral("--baud") << QStringLiteral("115200")));
        units_ << unit + QStringLiteral(",Not set,M-R32,Feeder 7,") + location + QStringLiteral(",SIM");
        addresses_ << unit + QLatin1Char(',') + sims_.back()->path() + QStringLiteral(",115");
        return sims_.back()->path();
    }
    /// Reaches the unit added last by another road (a device server in front of its pty).
    void reachLastAt(const QString& port)
    {
        addresses_.last() = addresses_.last().section(QLatin1Char(','), 0, 0) + QLatin1Char(',') + port + QStringLiteral(",115");
    }

    /// Starts one round of the collector on the units added so far.
    void start(QProcess& collector, const QStringList& args)
    {
        root_.writeLines(QStringLiteral("M-R3X Master/Substation.cfg"), units_);
        root_.writeLines(QStringLiteral("M-R3X Master/Unit Addresses.txt"), QStringList{"# the fleet"} + addresses_);
        collector.start(QStringLiteral(MR3X_COLLECT),
                        QStringList{"--folder", folder_, "--system", "Substation", "--once"} + args);
    }

    RoundRun collect(const QStringList& args)
    {
        QProcess collector;
        start(collector, args);
        return finish(collector);
    }
    /// Waits for the round started on `collector` to end.
    static RoundRun finish(QProcess& collector)
    {
        RoundRun run;
        if (!collector.waitForFinished(kRoundLimitMs)) {
            collector.kill();
            collector.waitForFinished();
            ADD_FAILURE() << "the round did not end";
            return run;
        }
        run.exitCode = collector.exitStatus() == QProcess::NormalExit ? collector.exitCode() : -1;
        run.lines = QString::fromLocal8Bit(collector.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        return run;
    }

    QString unitFolder(const QString& unit, const QString& location) const
    {
        return folder_ + QStringLiteral("/Systems/Substation/Jobs/Feeder 7/") + location + QLatin1Char('/') + unit;
    }
    QStringList events(const QString& unit, const QString& location) const
    {
        return QDir(unitFolder(unit, location)).entryList({QStringLiteral("*.trg")}, QDir::Files, QDir::Name);
    }
    const QString& folder() const { return folder_; }
    TempFolder& root() { return root_; }

private:
    TempFolder root_;
    QString folder_;
    std::vector<std::unique_ptr<UnitSimProcess>> sims_;
    QStringList units_;
    QStringList addresses_;
};

QJsonObject reportOf(const QByteArray& json, const QString& unit)
{
    for (const QJsonValue& entry : QJsonDocument::fromJson(json).object().value("units").toArray())
        if (entry.toObject().value("unit").toString() == unit)
            return entry.toObject();
    return {};
}

} // namespace

TEST(CollectCommand, ARoundCollectsTheGoodUnitsNamesEachFailureKeepsTheWindowOffItsPortsAndTheNextRoundFindsNothingNew)
{
    Fleet fleet;
    fleet.add("MR-0101", "North Yard", {"--events", "2"});
    // Deaf to the log-on: the collector holds its port through the log-on's waits, some seconds.
    const QString deaf = fleet.add("MR-0102", "South Yard", {"--silent", "="});
    fleet.add("MR-0103", "East Yard", {"--fault-transfer", "2", "--disconnect", "2000"});
    fleet.add("MR-0104", "West Yard", {"--serial", "MR-9999"});
    std::unique_ptr<test::Ser2netProcess> server;
    if (!test::Ser2netProcess::program().isEmpty()) {
        server = std::make_unique<test::Ser2netProcess>(fleet.add("MR-0105", "Depot", {"--events", "3"}), QString(),
                                                        fleet.root().path());
        ASSERT_EQ(server->error(), "");
        fleet.reachLastAt(server->rfc2217Port());
    } else {
        std::cout << "ser2net is not installed: the unit behind a device server is left out\n";
    }
    const QString report = fleet.root().path() + QStringLiteral("/round.json");
    QProcess collector;
    fleet.start(collector, {"--report", report});

    // The window refuses the port while the collector works it.
    const QDeadlineTimer deadline(10'000);
    while (!QFile::exists(portLockPath(deaf)) && !deadline.hasExpired())
        QThread::msleep(10);
    ASSERT_TRUE(QFile::exists(portLockPath(deaf))) << "the collector never took the port";
    test::MasterFixture f;
    frmMaster& w = f.load();
    w.cboCommports->addItem(deaf);
    w.cboCommports->setCurrentIndex(w.cboCommports->findText(deaf));
    w.connection->cboCommports_Click();
    EXPECT_EQ(w.lblStatus->text(), deaf + " (In use by mr3x-collect)");
    EXPECT_TRUE(w.lblStatus->toolTip().contains("mr3x-collect (process")) << w.lblStatus->toolTip().toStdString();
    EXPECT_FALSE(w.Comm->PortOpen());

    // Once the collector has let the unit go, the port is the window's.
    const RoundRun first = Fleet::finish(collector);
    w.connection->cboCommports_Click();
    EXPECT_EQ(w.lblStatus->text(), deaf + " (Ready)");

    EXPECT_EQ(first.exitCode, 1) << "a unit failed";
    // A unit's line, without the time it took.
    const auto lineOf = [](const RoundRun& run, const QString& unit) {
        const QStringList found = run.lines.filter(QRegularExpression(QLatin1Char('^') + unit + QLatin1Char(' ')));
        QString line = found.size() == 1 ? found.front() : QStringLiteral("(%1 lines)").arg(found.size());
        return line.remove(QRegularExpression(QStringLiteral(" \\(\\d+ s\\)$"))).toStdString();
    };
    EXPECT_EQ(lineOf(first, "MR-0101"), "MR-0101 North Yard: 2 new events, re-armed");
    EXPECT_THAT(lineOf(first, "MR-0102"), StartsWith("MR-0102 South Yard: failed: No connection to Local Unit via COM "));
    EXPECT_THAT(lineOf(first, "MR-0103"), AllOf(HasSubstr("failed: File transfer failed"), HasSubstr(", not re-armed")));
    EXPECT_THAT(lineOf(first, "MR-0104"), HasSubstr("reports serial number MR-9999, not MR-0104; nothing stored, re-armed"));
    if (server) {
        EXPECT_EQ(lineOf(first, "MR-0105"), "MR-0105 Depot: 3 new events, re-armed");
    }
    EXPECT_EQ(fleet.events("MR-0101", "North Yard").size(), 2);
    EXPECT_TRUE(fleet.events("MR-0103", "East Yard").isEmpty()) << "no partial event";
    EXPECT_EQ(QDir(fleet.unitFolder("MR-0104", "West Yard")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"MR-0104 Link.log"})
        << "no settings, index or event of the other unit";

    // The report names every unit as its line does, with the files stored.
    QFile json(report);
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    const QByteArray reported = json.readAll();
    EXPECT_EQ(QJsonDocument::fromJson(reported).object().value("system").toString(), "Substation");
    const QJsonObject good = reportOf(reported, "MR-0101");
    EXPECT_EQ(good.value("result").toString(), "collected");
    EXPECT_TRUE(good.value("rearmed").toBool());
    EXPECT_EQ(good.value("message").toString(), "");
    QStringList stored = good.value("new_events").toVariant().toStringList();
    stored.sort();
    EXPECT_EQ(stored, fleet.events("MR-0101", "North Yard"));
    EXPECT_TRUE(good.value("port").toString().startsWith("/dev/"));
    EXPECT_GE(good.value("seconds").toInt(-1), 0);
    for (const char* unit : {"MR-0102", "MR-0103", "MR-0104"})
        EXPECT_EQ(reportOf(reported, unit).value("result").toString(), "failed") << unit;
    EXPECT_FALSE(reportOf(reported, "MR-0103").value("rearmed").toBool(true));

    // The log in the program folder holds what each worker's session said.
    QFile log(fleet.folder() + QStringLiteral("/mr3x-collect.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString logged = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(logged.contains("Local Unit armed")) << logged.left(2000).toStdString();
    EXPECT_TRUE(logged.contains("MR-0103")) << logged.left(2000).toStdString();

    // The next night the good units have nothing new, and the round says all went well.
    const RoundRun second = fleet.collect(server ? QStringList{"MR-0101", "MR-0105"} : QStringList{"MR-0101"});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(lineOf(second, "MR-0101"), "MR-0101 North Yard: no new events, re-armed");
    if (server) {
        EXPECT_EQ(lineOf(second, "MR-0105"), "MR-0105 Depot: no new events, re-armed");
    }
    EXPECT_EQ(fleet.events("MR-0101", "North Yard").size(), 2);

    EXPECT_EQ(fleet.collect({"--parallel", "0"}).exitCode, 2) << "a wrong command line";
}
