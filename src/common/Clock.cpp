#include "common/Clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QScopedValueRollback>
#include <QTimer>

#include <vector>

namespace mr3x {

void Clock::DoEvents()
{
    processEvents(QEventLoop::AllEvents);
}

void Clock::processEvents(int flags)
{
    throwIfEnded();
    {
        const QScopedValueRollback<int> depth(eventDepth_, eventDepth_ + 1);
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::processEvents(QEventLoop::ProcessEventsFlags(flags));
        if (!waitsEnded_)
            runPumps();
    }
    // The program may have ended in one of the events just run (Exit, a fatal message): the
    // routine that waited here must not go on sending, receiving or writing.
    throwIfEnded();
}

void Clock::throwIfEnded() const
{
    if (waitsEnded_)
        throw ProgramEnded{};
}

void Clock::pause(int ms)
{
    const std::int64_t deadline = nowMs() + ms;
    DoEvents();
    while (nowMs() < deadline)
        idle(static_cast<int>(std::min<std::int64_t>(deadline - nowMs(), 10)));
}

int Clock::addPump(Pump pump)
{
    const int id = nextPumpId_++;
    pumps_.emplace(id, std::move(pump));
    return id;
}

void Clock::removePump(int id)
{
    pumps_.erase(id);
}

void Clock::runPumps()
{
    // A pump may add or remove pumps while it runs: walk a snapshot of the ids.
    std::vector<int> ids;
    ids.reserve(pumps_.size());
    for (const auto& entry : pumps_)
        ids.push_back(entry.first);
    for (int id : ids) {
        auto it = pumps_.find(id);
        if (it != pumps_.end()) {
            Pump pump = it->second;
            pump();
        }
    }
}

RealClock::RealClock()
{
    elapsed_.start();
}

std::int64_t RealClock::nowMs() const
{
    return elapsed_.elapsed();
}

QDateTime RealClock::currentDateTime() const
{
    return QDateTime::currentDateTime();
}

void RealClock::idle(int ms)
{
    DoEvents();
    if (ms <= 0 || QCoreApplication::instance() == nullptr)
        return;
    // Block until some event arrives (serial data, a timer, input) or `ms` pass, whichever is first.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(ms);
    processEvents(QEventLoop::WaitForMoreEvents);
}

TestClock::TestClock(QDateTime start)
    : start_(std::move(start))
{
}

QDateTime TestClock::currentDateTime() const
{
    return start_.addMSecs(now_ - startOffset_);
}

void TestClock::idle(int ms)
{
    now_ += std::max(ms, 1);
    DoEvents();
}

void TestClock::advance(std::int64_t ms, int stepMs)
{
    const std::int64_t end = now_ + ms;
    while (now_ < end)
        idle(static_cast<int>(std::min<std::int64_t>(stepMs, end - now_)));
}

void TestClock::setDateTime(const QDateTime& dateTime)
{
    start_ = dateTime;
    startOffset_ = now_;
}

} // namespace mr3x
