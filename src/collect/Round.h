#pragma once
// One round of the collector: each unit worked by a worker process of its own, up to a number
// at once and never two on one port. A worker that fails, hangs past its limit or crashes ends
// as that unit's failure; the others go on.
#include "collect/CollectPlan.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QProcess;
class QTimer;

namespace mr3x::collect {

struct WorkerCommand {
    QString program;      // this program
    QStringList baseArgs; // "--worker", the folder and the system; the unit's name is added
};

class Round : public QObject {
    Q_OBJECT
public:
    using LogLine = std::function<void(const QString& unit, const QString& text)>;
    using Finished = std::function<void(const UnitOutcome& outcome)>;

    Round(WorkerCommand command, int parallel, int unitLimitMs, LogLine log, Finished finished);
    ~Round() override;

    /// Works every job and returns their outcomes in the jobs' order.
    std::vector<UnitOutcome> run(const std::vector<UnitJob>& jobs);
    /// A stop request: no unit starts any more, and each running worker is asked to end (it lets
    /// its unit go recording and removes any partial file); a worker that has not ended after
    /// `graceMs` is killed.
    void stop(int graceMs = 20'000);

signals:
    void allDone();

private:
    struct Worker;
    void startWhatCan();
    void start(std::size_t job);
    void workerEnded(Worker& worker);
    UnitOutcome outcomeOfWorker(Worker& worker) const;

    WorkerCommand command_;
    int parallel_;
    int unitLimitMs_;
    LogLine log_;
    Finished finished_;
    std::vector<UnitJob> jobs_;
    std::vector<std::optional<UnitOutcome>> outcomes_;
    std::vector<std::size_t> waiting_;
    std::vector<std::unique_ptr<Worker>> running_;
    std::vector<std::unique_ptr<Worker>> ended_;
    bool stopping_ = false;
};

} // namespace mr3x::collect
