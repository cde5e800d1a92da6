#include "collect/Round.h"

#include "collect/OutcomeJson.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QProcess>
#include <QTimer>

#include <algorithm>

namespace mr3x::collect {

namespace {

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

struct Round::Worker {
    std::size_t job = 0;
    QProcess process;
    QTimer limit;
    QByteArray output;
    QByteArray errors;
    bool overLimit = false;
};

Round::Round(WorkerCommand command, int parallel, int unitLimitMs, LogLine log, Finished finished)
    : command_(std::move(command))
    , parallel_(std::max(parallel, 1))
    , unitLimitMs_(unitLimitMs)
    , log_(std::move(log))
    , finished_(std::move(finished))
{
}

Round::~Round()
{
    for (const std::unique_ptr<Worker>& worker : running_) {
        worker->process.disconnect();
        worker->process.kill();
        worker->process.waitForFinished(3000);
    }
}

std::vector<UnitOutcome> Round::run(const std::vector<UnitJob>& jobs)
{
    jobs_ = jobs;
    outcomes_.assign(jobs.size(), std::nullopt);
    waiting_.clear();
    for (std::size_t i = 0; i < jobs.size(); ++i)
        waiting_.push_back(i);
    QEventLoop loop;
    connect(this, &Round::allDone, &loop, &QEventLoop::quit);
    startWhatCan();
    if (!running_.empty())
        loop.exec();
    ended_.clear();
    std::vector<UnitOutcome> done;
    for (const std::optional<UnitOutcome>& outcome : outcomes_)
        if (outcome)
            done.push_back(*outcome);
    return done;
}

void Round::startWhatCan()
{
    if (stopping_) {
        for (std::size_t job : waiting_) {
            const UnitOutcome outcome = outcomeOf(jobs_[job], Result::Skipped, "not started: the collector was stopped");
            outcomes_[job] = outcome;
            finished_(outcome);
        }
        waiting_.clear();
    }
    std::vector<UnitJob> waitingJobs;
    for (std::size_t job : waiting_)
        waitingJobs.push_back(jobs_[job]);
    std::vector<std::string> busy;
    for (const std::unique_ptr<Worker>& worker : running_)
        busy.push_back(jobs_[worker->job].port);
    const std::vector<std::size_t> chosen = startable(waitingJobs, busy, parallel_ - static_cast<int>(running_.size()));
    std::vector<std::size_t> starting;
    for (std::size_t i : chosen)
        starting.push_back(waiting_[i]);
    for (std::size_t job : starting) {
        waiting_.erase(std::find(waiting_.begin(), waiting_.end(), job));
        start(job);
    }
    if (running_.empty() && waiting_.empty())
        emit allDone();
}

void Round::start(std::size_t job)
{
    auto worker = std::make_unique<Worker>();
    Worker& w = *worker;
    w.job = job;
    const QString unit = q(jobs_[job].unit);
    connect(&w.process, &QProcess::readyReadStandardOutput, this, [&w] { w.output += w.process.readAllStandardOutput(); });
    connect(&w.process, &QProcess::readyReadStandardError, this, [this, &w, unit] {
        w.errors += w.process.readAllStandardError();
        // The worker's log lines, passed on whole.
        qsizetype end = 0;
        while ((end = w.errors.indexOf('\n')) >= 0) {
            log_(unit, QString::fromUtf8(w.errors.left(end)).trimmed());
            w.errors.remove(0, end + 1);
        }
    });
    connect(&w.process, &QProcess::finished, this, [this, &w] { workerEnded(w); });
    connect(&w.process, &QProcess::errorOccurred, this, [this, &w](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            workerEnded(w);
    });
    w.limit.setSingleShot(true);
    connect(&w.limit, &QTimer::timeout, this, [&w] {
        w.overLimit = true;
        w.process.kill();
    });
    running_.push_back(std::move(worker));
    log_(unit, QStringLiteral("Working ") + unit + QStringLiteral(" on ") + q(jobs_[job].port));
    w.limit.start(unitLimitMs_);
    w.process.start(command_.program, QStringList(command_.baseArgs) << unit);
}

UnitOutcome Round::outcomeOfWorker(Worker& worker) const
{
    const UnitJob& job = jobs_[worker.job];
    worker.output += worker.process.readAllStandardOutput();
    // The outcome is the worker's last line of output.
    const QList<QByteArray> lines = worker.output.trimmed().split('\n');
    const QJsonDocument document = QJsonDocument::fromJson(lines.isEmpty() ? QByteArray() : lines.back());
    if (!worker.overLimit && document.isObject())
        if (std::optional<UnitOutcome> outcome = outcomeFromJson(document.object()))
            return *outcome;
    UnitOutcome failed = outcomeOf(job, Result::Failed);
    if (worker.overLimit && stopping_)
        failed.message = "its work did not end after the stop request and was killed; the unit may not be re-armed";
    else if (worker.overLimit)
        failed.message = "not finished within " + std::to_string(unitLimitMs_ / 60'000) + " minutes: its work was stopped, and the unit may not be re-armed";
    else if (worker.process.error() == QProcess::FailedToStart)
        failed.message = "the worker could not be started: " + worker.process.errorString().toStdString();
    else if (worker.process.exitStatus() == QProcess::CrashExit)
        failed.message = "the worker crashed; the unit may not be re-armed";
    else
        failed.message = "the worker ended (status " + std::to_string(worker.process.exitCode()) + ") without an outcome";
    return failed;
}

void Round::workerEnded(Worker& worker)
{
    const auto found = std::find_if(running_.begin(), running_.end(), [&](const std::unique_ptr<Worker>& w) { return w.get() == &worker; });
    if (found == running_.end())
        return; // a start failure reports both an error and, at times, a finish
    worker.limit.stop();
    const UnitOutcome outcome = outcomeOfWorker(worker);
    outcomes_[worker.job] = outcome;
    std::unique_ptr<Worker> ended = std::move(*found);
    running_.erase(found);
    ended->process.disconnect();
    ended->limit.stop();
    ended_.push_back(std::move(ended)); // its QProcess is still in its signal: dropped after the round
    finished_(outcome);
    startWhatCan();
}

void Round::stop(int graceMs)
{
    stopping_ = true;
    for (const std::unique_ptr<Worker>& worker : running_) {
        worker->process.terminate();
        worker->limit.start(graceMs);
    }
    startWhatCan();
}

} // namespace mr3x::collect
