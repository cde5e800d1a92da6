#pragma once
// The program's clock and its way of letting pending window events run.
//
// Every wait on the unit (reply waits, pauses, transfer time-outs, the unit simulator's pacing)
// reads this clock, so tests drive time themselves and never sleep through a time-out.
#include <QDateTime>
#include <QElapsedTimer>

#include <cstdint>
#include <functional>
#include <map>

namespace mr3x {

/// Thrown by a wait once the program has ended (Clock::endWaits): the code that waited never
/// runs on. It unwinds to the caller of the window's event loop, which ends the program.
struct ProgramEnded {};

class Clock {
public:
    using Pump = std::function<void()>;

    virtual ~Clock() = default;

    /// Monotonic milliseconds since the clock started.
    virtual std::int64_t nowMs() const = 0;
    /// The PC's present date and time.
    virtual QDateTime currentDateTime() const = 0;

    /// Lets pending window events run once, then services every registered pump
    /// (the serial links), so that a wait loop that polls a state sees it move.
    void DoEvents();

    /// DoEvents, then lets up to `ms` milliseconds pass. A real clock returns early when an
    /// event arrives; a test clock moves its time on by `ms` at once.
    virtual void idle(int ms) = 0;

    /// Waits `ms` milliseconds, letting window events run all the while.
    void pause(int ms);

    /// How many event loops of this clock are running, one inside another: a handler called
    /// from a wait that lets window events run sees more than the code that waits.
    int eventDepth() const { return eventDepth_; }

    /// The program has ended: from now on every wait (DoEvents, idle, pause) throws ProgramEnded
    /// instead of returning, also one that is letting window events run right now.
    void endWaits() { waitsEnded_ = true; }
    bool waitsEnded() const { return waitsEnded_; }

    /// Registers work to do at every DoEvents (returns an id for removePump).
    int addPump(Pump pump);
    void removePump(int id);

protected:
    void runPumps();
    /// Lets window events run as QCoreApplication::processEvents(flags) does, then services the
    /// pumps, all counted in eventDepth().
    void processEvents(int flags);

private:
    /// Throws ProgramEnded once the waits have ended.
    void throwIfEnded() const;

    std::map<int, Pump> pumps_;
    int eventDepth_ = 0;
    bool waitsEnded_ = false;
    int nextPumpId_ = 1;
};

/// The PC's own clock.
class RealClock final : public Clock {
public:
    RealClock();
    std::int64_t nowMs() const override;
    QDateTime currentDateTime() const override;
    void idle(int ms) override;

private:
    QElapsedTimer elapsed_;
};

/// A clock the tests move on by hand; idle() moves it on at once.
class TestClock final : public Clock {
public:
    explicit TestClock(QDateTime start = QDateTime(QDate(2026, 12, 6), QTime(12, 0, 0)));
    std::int64_t nowMs() const override { return now_; }
    QDateTime currentDateTime() const override;
    void idle(int ms) override;

    /// Moves time on by `ms`, in steps, servicing the pumps at every step.
    void advance(std::int64_t ms, int stepMs = 10);
    void setDateTime(const QDateTime& dateTime);

private:
    std::int64_t now_ = 0;
    QDateTime start_;
    std::int64_t startOffset_ = 0;
};

} // namespace mr3x
