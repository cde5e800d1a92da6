// How long mr3x-export takes over many events: 1,000 long event files (11,520 bytes each, every
// one of another date and time, in one unit folder of a program folder tree) exported to COMTRADE
// BINARY by one run of the program, as an engineer would hand it a whole folder. The program is
// started as a process of its own, so the time includes its start, reading every file, and
// writing 3,000 files (.cfg, .dat, .hdr) through temporary files renamed into place.
//
//   bench_export [runs] [events]    prints every run, the median and the machine's load
//   MR3X_EXPORT=path names the program (default: this build's tools/mr3x-export).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kLongRecordBytes = 11520;
constexpr int kTrailerAt = 11400;

QByteArray eventRecord(int n)
{
    QByteArray bytes(kLongRecordBytes, '\0');
    // 2026, a day of December, the time from n: every file another moment.
    const int when[6] = {26, 12, 1 + n % 28, n / 60 % 24, n % 60, (n * 7) % 60};
    for (int k = 0; k < 6; ++k)
        bytes[k] = char(when[k]);
    bytes[6] = 4;
    bytes[7] = 7;
    for (int g = 0; g < 800; ++g)
        for (int c = 0; c < 4; ++c)
            bytes[8 + 4 * g + c] = char((g * 5 + c * 60 + n) % 256);
    for (int s = 0; s < 8192; ++s)
        bytes[3208 + s] = char(128 + (s % 128 < 20 ? 40 : 0));
    bytes[kTrailerAt + 10] = 3;
    bytes[kTrailerAt + 18] = char(210);
    return bytes;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int events = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
    const QString program = qEnvironmentVariableIsSet("MR3X_EXPORT") ? qEnvironmentVariable("MR3X_EXPORT")
                                                                     : QStringLiteral(MR3X_EXPORT);
    QTemporaryDir root;
    const QString unit = root.path() + QStringLiteral("/Systems/Substation/Jobs/Feeder 7/North Yard/MR-0101");
    QDir().mkpath(unit);
    QStringList files;
    for (int n = 0; n < events; ++n) {
        const QString path = unit + QStringLiteral("/event-%1.trg").arg(n, 4, 10, QLatin1Char('0'));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(eventRecord(n)) != kLongRecordBytes) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 2;
        }
        files << path;
    }

    std::printf("mr3x-export --format comtrade-binary over %d long events, %d runs; %d cores; load before: %s\n", events,
                runs, QThread::idealThreadCount(), qPrintable(loadAverage()));
    std::vector<double> seconds;
    for (int r = 0; r < runs; ++r) {
        const QString out = root.path() + QStringLiteral("/out-%1").arg(r);
        QProcess exporter;
        exporter.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        exporter.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        exporter.start(program, QStringList{QStringLiteral("--format"), QStringLiteral("comtrade-binary"),
                                            QStringLiteral("--output"), out} + files);
        if (!exporter.waitForFinished(600000) || exporter.exitCode() != 0) {
            std::fprintf(stderr, "mr3x-export failed (exit %d)\n", exporter.exitCode());
            return 1;
        }
        seconds.push_back(double(timer.nsecsElapsed()) / 1e9);
        const int written = int(QDir(out).entryList(QDir::Files).size());
        std::printf("run %d: %.3f s, %d files written\n", r + 1, seconds.back(), written);
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("median %.3f s (best %.3f s, worst %.3f s); %.2f ms an event; load after: %s\n", seconds[seconds.size() / 2],
                seconds.front(), seconds.back(), seconds[seconds.size() / 2] * 1000 / events, qPrintable(loadAverage()));
    return 0;
}
