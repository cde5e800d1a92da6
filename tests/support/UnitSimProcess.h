#pragma once
// The standalone simulated unit, mr3x-unit-sim, run as a process on a fresh pty; the pty's path
// is the first line it prints. Ended (SIGTERM, then kill) when the object goes.
#include <QProcess>
#include <QStringList>

namespace mr3x::test {

/// The clock every test run of the standalone unit starts from.
inline constexpr const char* kUnitSimClock = "2026-12-06 12:00:00";

class UnitSimProcess {
public:
    explicit UnitSimProcess(QStringList args)
    {
        process_.setProgram(QStringLiteral(MR3X_UNIT_SIM));
        process_.setArguments(args << QStringLiteral("--clock") << QString::fromLatin1(kUnitSimClock));
        process_.start();
        if (process_.waitForStarted(5000) && process_.waitForReadyRead(5000))
            path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~UnitSimProcess()
    {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
    }
    UnitSimProcess(const UnitSimProcess&) = delete;
    UnitSimProcess& operator=(const UnitSimProcess&) = delete;

    /// The pty (or device) the unit serves; empty when it did not start.
    const QString& path() const { return path_; }
    QProcess& process() { return process_; }

private:
    QProcess process_;
    QString path_;
};

} // namespace mr3x::test
