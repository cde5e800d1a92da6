// How fast the program receives an 11520-byte event record at 115200 baud from the simulated unit
// pacing at the line rate, against the line-rate minimum (11520 x 10 / 115200 = 1.0 s) and against
// lrzsz's rz receiving the same record from the same paced sender.
//
// Both receivers are timed the same way, on the sender's side of the line, from the unit's own
// traffic log: from the receiver's first 'C' to its last acknowledgement. The program's reception
// is also timed on its own side, from starting the reception to the file complete.
//
//   bench_receive [runs]
#include "common/Clock.h"
#include "link/SerialControl.h"
#include "link/SerialPortTransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr double kLineRateMinimumS = 11520.0 * 10 / 115200;

class Unit {
public:
    Unit()
    {
        process_.setProgram(QStringLiteral(MR3X_UNIT_SIM));
        process_.setArguments({"--pace", "--baud", "115200", "--disarmed", "--seed", "7", "--log"});
        process_.start();
        if (process_.waitForStarted(5000) && process_.waitForReadyRead(5000))
            path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    const QString& path() const { return path_; }

    struct Timing {
        double dataPhase = 0;  // first 'C' to the ACK of the last data block
        double wholeBatch = 0; // first 'C' to the receiver's last ACK (end of file and batch closed)
    };

    /// Ends the unit and reads the receiver's timing from the unit's traffic log.
    std::optional<Timing> stopAndMeasure()
    {
        process_.terminate();
        process_.waitForFinished(3000);
        const QList<QByteArray> lines = process_.readAllStandardError().split('\n');
        std::optional<double> firstC, lastDataAck, lastAck;
        bool requested = false;
        bool endOfFileSent = false;
        for (const QByteArray& line : lines) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() < 4)
                continue;
            const double at = fields[0].toDouble();
            const QList<QByteArray> bytes = fields.mid(3);
            if (fields[1] == "out") {
                if (firstC && fields[2] == "1" && bytes == QList<QByteArray>{"04"})
                    endOfFileSent = true;
                continue;
            }
            if (bytes.contains("66")) // the "f" of the request
                requested = true;
            if (requested && !firstC && bytes.contains("43"))
                firstC = at;
            if (firstC && bytes.contains("06")) {
                lastAck = at;
                if (!endOfFileSent)
                    lastDataAck = at;
            }
        }
        if (!firstC || !lastAck || !lastDataAck)
            return std::nullopt;
        return Timing{*lastDataAck - *firstC, *lastAck - *firstC};
    }

private:
    QProcess process_;
    QString path_;
};

struct Link {
    explicit Link(const QString& path)
        : comm(clock, [](const QString& name) { return mr3x::openSerialPort(name); })
    {
        comm.setPortName(path);
        comm.setSettings(QStringLiteral("115200,n,8,1"));
        comm.setPortOpen(true);
    }
    bool requestRecord()
    {
        comm.setReplyPatterns(QStringLiteral("Finished F|Finished f"));
        comm.setWaitTimeout(3000);
        comm.Send(QByteArrayLiteral("f00"));
        const bool answered = comm.TimedOut() == 0;
        comm.setWaitTimeout(0);
        return answered;
    }
    mr3x::RealClock clock;
    mr3x::SerialControl comm;
};

struct Run {
    Unit::Timing line;      // from the unit's log
    double programSide = 0; // reception started to file complete, on the program's side
};

std::optional<Run> programRun()
{
    Unit unit;
    QTemporaryDir folder;
    Run run;
    {
        Link link(unit.path());
        if (link.comm.PortStatus() != QStringLiteral("Connected") || !link.requestRecord())
            return std::nullopt;
        QElapsedTimer timer;
        timer.start();
        link.comm.setReceiveFolder(folder.path());
        link.comm.setReceiveFile(QStringLiteral("Event_01.EVT"));
        while (link.comm.TransferState() == 4)
            link.clock.idle(10);
        run.programSide = timer.nsecsElapsed() / 1e9;
        if (link.comm.TransferState() != 0 || QFile(folder.filePath("Event_01.EVT")).size() != 11520)
            return std::nullopt;
    }
    const auto measured = unit.stopAndMeasure();
    if (!measured)
        return std::nullopt;
    run.line = *measured;
    return run;
}

std::optional<Unit::Timing> rzRun()
{
    Unit unit;
    QTemporaryDir folder;
    {
        Link link(unit.path());
        if (!link.requestRecord())
            return std::nullopt;
        link.comm.setPortOpen(false);
    }
    QProcess rz;
    rz.setWorkingDirectory(folder.path());
    rz.setStandardInputFile(unit.path());
    rz.setStandardOutputFile(unit.path(), QIODevice::Append);
    rz.start(QStringLiteral("rz"), {"--ymodem", "--binary", "--overwrite", "--quiet"});
    if (!rz.waitForFinished(60'000) || rz.exitCode() != 0)
        return std::nullopt;
    return unit.stopAndMeasure();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<double> programData, programBatch, programOwn, rzData, rzBatch;
    for (int i = 0; i < runs; ++i) {
        if (const auto run = programRun()) {
            programData.push_back(run->line.dataPhase);
            programBatch.push_back(run->line.wholeBatch);
            programOwn.push_back(run->programSide);
            std::printf("program run %d: data %.3f s, whole batch %.3f s on the line; %.3f s in the program\n", i + 1,
                        run->line.dataPhase, run->line.wholeBatch, run->programSide);
        } else {
            std::printf("program run %d failed\n", i + 1);
        }
    }
    const bool haveRz = !QStandardPaths::findExecutable(QStringLiteral("rz")).isEmpty();
    for (int i = 0; haveRz && i < runs; ++i) {
        if (const auto timing = rzRun()) {
            rzData.push_back(timing->dataPhase);
            rzBatch.push_back(timing->wholeBatch);
            std::printf("rz run %d: data %.3f s, whole batch %.3f s on the line\n", i + 1, timing->dataPhase,
                        timing->wholeBatch);
        } else {
            std::printf("rz run %d failed\n", i + 1);
        }
    }
    auto report = [](const char* who, const std::vector<double>& data, const std::vector<double>& batch) {
        std::printf("%s, median of %zu: data %.3f s (%.3f x the minimum), whole batch %.3f s (%.3f x)\n", who, data.size(),
                    median(data), median(data) / kLineRateMinimumS, median(batch), median(batch) / kLineRateMinimumS);
    };
    std::printf("\nline-rate minimum: %.3f s\n", kLineRateMinimumS);
    report("program", programData, programBatch);
    std::printf("program, in the program: %.3f s (%.3f x)\n", median(programOwn), median(programOwn) / kLineRateMinimumS);
    if (!rzData.empty())
        report("rz", rzData, rzBatch);
    return programData.empty() ? 1 : 0;
}
