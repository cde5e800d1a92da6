#include "collect/CollectCommand.h"

#include "collect/CollectLog.h"
#include "collect/OutcomeJson.h"
#include "collect/Round.h"
#include "collect/StopRequest.h"
#include "collect/SystemPlan.h"
#include "collect/UnitCollection.h"
#include "common/Clock.h"
#include "common/Files.h"
#include "link/NetworkTransport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTimer>

#include <cstdio>

namespace mr3x::collect {

namespace {

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

void printLine(std::FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

/// The worker: one unit's road here, its outcome as the last line of standard output and what its
/// session reports on standard error, a line each, for the collector's log.
int runWorker(const CollectOptions& options)
{
    const SystemPlan read = readSystemPlan(options);
    UnitOutcome outcome = outcomeOf(options.units.front(), {}, {}, Result::Failed);
    if (!read.plan) {
        outcome.message = read.problem.toStdString();
    } else if (!read.plan->jobs.empty()) {
        RealClock clock;
        StopRequest stop([&clock] { clock.endWaits(); });
        UnitCollection collection(q(options.folder), q(options.system), clock, openerForPorts(clock),
                                  [](const QString& text) { printLine(stderr, text); });
        outcome = collection.collect(read.plan->jobs.front());
    } else if (!read.plan->notWorked.empty()) {
        outcome = read.plan->notWorked.front();
    }
    printLine(stdout, QString::fromUtf8(QJsonDocument(toJson(outcome)).toJson(QJsonDocument::Compact)));
    return 0;
}

bool writeReport(const QString& path, const QByteArray& json)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(json) == json.size() && file.commit();
}

class Collector {
public:
    Collector(const CollectOptions& options, const QString& program)
        : options_(options)
        , log_(q(options.folder))
        , worker_{program, {QStringLiteral("--worker"), QStringLiteral("--folder"), q(options.folder),
                            QStringLiteral("--system"), q(options.system)}}
    {
    }

    int run()
    {
        StopRequest stop([this] { onStop(); });
        log_.line({}, QStringLiteral("mr3x-collect started for system ") + q(options_.system) +
                          (options_.everyMinutes > 0 ? QStringLiteral(", a round every ") + QString::number(options_.everyMinutes) +
                                                           QStringLiteral(" minutes")
                                                     : QString()));
        int status = 0;
        do {
            const QDateTime started = QDateTime::currentDateTime();
            status = round(started);
            if (options_.everyMinutes <= 0 || stopped_)
                break;
            waitUntil(started.addSecs(options_.everyMinutes * 60LL));
        } while (!stopped_);
        log_.line({}, stopped_ ? QStringLiteral("mr3x-collect stopped") : QStringLiteral("mr3x-collect ended"));
        return status;
    }

private:
    int round(const QDateTime& started)
    {
        const SystemPlan read = readSystemPlan(options_);
        for (const QString& problem : read.addressProblems) {
            printLine(stderr, QStringLiteral("mr3x-collect: \"Unit Addresses.txt\": ") + problem);
            log_.line({}, QStringLiteral("\"Unit Addresses.txt\": ") + problem);
        }
        if (!read.plan) {
            printLine(stderr, QStringLiteral("mr3x-collect: ") + read.problem);
            log_.line({}, read.problem);
            return 1;
        }
        std::vector<UnitOutcome> outcomes;
        const auto finished = [&](const UnitOutcome& outcome) {
            outcomes.push_back(outcome);
            const QString line = q(outcomeLine(outcome));
            printLine(stdout, line);
            log_.line(q(outcome.unit), line);
        };
        for (const UnitOutcome& outcome : read.plan->notWorked)
            finished(outcome);
        Round round(worker_, options_.parallel, options_.unitLimitMinutes * 60'000,
                    [this](const QString& unit, const QString& text) { log_.line(unit, text); }, finished);
        round_ = &round;
        round.run(read.plan->jobs);
        round_ = nullptr;
        if (!options_.reportFile.empty()) {
            const QString stamp = started.toString(Qt::ISODate);
            if (!writeReport(q(options_.reportFile), reportJson(q(options_.system), stamp, outcomes))) {
                printLine(stderr, QStringLiteral("mr3x-collect: the report ") + q(options_.reportFile) + QStringLiteral(" cannot be written"));
                return 1;
            }
        }
        return exitStatus(outcomes);
    }

    void waitUntil(const QDateTime& next)
    {
        const qint64 ms = QDateTime::currentDateTime().msecsTo(next);
        if (ms <= 0)
            return; // the round took longer than the period: the next begins at once, never alongside
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        waiting_ = &loop;
        loop.exec();
        waiting_ = nullptr;
    }

    void onStop()
    {
        stopped_ = true;
        log_.line({}, QStringLiteral("Stop requested: the units under way are let go recording"));
        if (round_ != nullptr)
            round_->stop();
        if (waiting_ != nullptr)
            waiting_->quit();
    }

    CollectOptions options_;
    CollectLog log_;
    WorkerCommand worker_;
    Round* round_ = nullptr;
    QEventLoop* waiting_ = nullptr;
    bool stopped_ = false;
};

} // namespace

int runCollectCommand(const QStringList& arguments)
{
    std::vector<std::string> args;
    for (const QString& arg : arguments.mid(1))
        args.push_back(arg.toStdString());
    const CommandLine line = parseCommandLine(args);
    if (line.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (!line.options) {
        std::fprintf(stderr, "mr3x-collect: %s\n\n%s", line.error.c_str(), usageText().c_str());
        return kWrongCommandLine;
    }
    if (line.options->worker)
        return runWorker(*line.options);
    return Collector(*line.options, QCoreApplication::applicationFilePath()).run();
}

} // namespace mr3x::collect
