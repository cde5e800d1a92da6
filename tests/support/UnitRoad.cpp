#include "support/UnitRoad.h"

#include "link/CommandTable.h"
#include "link/SerialControl.h"
#include "unit/UnitSession.h"

namespace mr3x::test {

namespace {

/// Hears what the session reports; a question is answered by going no further.
class RoadObserver final : public UnitObserver {
public:
    explicit RoadObserver(RoadOutcome& outcome) : outcome_(outcome) {}

    void status(const QString& text) override { outcome_.statuses << text; }
    MsgAnswer ask(const QString& text, MsgButtons buttons, MsgIcon, const QString&) override
    {
        outcome_.messages << text;
        return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
    void stored(const StoredFile& file) override { outcome_.stored.push_back(file); }

private:
    RoadOutcome& outcome_;
};

/// The control panel's choices for the unit's own settings: a TDR test that sends its trace
/// (file transfer on), or arming without one.
UnitSetup setupWith(bool fileTransfer)
{
    UnitSetup setup;
    setup.thresholdText = "15";
    setup.durationText = " 3";
    setup.idRecord = commands::idRecord("261206", "Feeder 7 Fault", "North Yard");
    setup.hardware = {.thresholdText = "15", .durationText = " 3", .fsdTag = "0", .phaseIndex = "0", .triggerTag = 2,
                      .fileTransfer = fileTransfer, .hardwareByte = 34, .gain = 10, .balance = 10, .referenceTag = 0,
                      .filterOn = true};
    return setup;
}

class Road {
public:
    Road(UnitSession& session, const RoadPlan& plan, const RoadOutcome& outcome)
        : session_(session), plan_(plan), outcome_(outcome)
    {
    }

    bool run(RoadStep step)
    {
        const qsizetype messagesBefore = outcome_.messages.size();
        const bool done = take(step);
        return done && outcome_.messages.size() == messagesBefore;
    }

private:
    bool take(RoadStep step)
    {
        switch (step) {
        case RoadStep::LogOn:
            return session_.logOn(plan_.folder, kRoadUnit) == UnitSession::LogOn::Stopped;
        case RoadStep::Settings:
            return session_.captureSettings(plan_.folder, kRoadUnit)
                   && session_.readSettings(UnitSession::settingsFile(plan_.folder, kRoadUnit)).has_value();
        case RoadStep::Index:
            return session_.fetchIndex(plan_.folder, kRoadUnit, UnitSession::IndexRequest::AfterSettings).has_value();
        case RoadStep::FirstEvent:
            return session_.downloadEvent(plan_.folder, plan_.firstEvent.toStdString());
        case RoadStep::SecondEvent:
            return session_.downloadEvent(plan_.folder, plan_.secondEvent.toStdString());
        case RoadStep::Test:
            session_.sendSettings(setupWith(true));
            return session_.receiveTrace(plan_.folder, kRoadTrace).has_value();
        case RoadStep::Arm:
            session_.sendSettings(setupWith(false));
            session_.armAndRelease();
            return session_.lastStatus() == unitstatus::LocalUnitArmed;
        }
        return false;
    }

    UnitSession& session_;
    const RoadPlan& plan_;
    const RoadOutcome& outcome_;
};

} // namespace

QString stepName(RoadStep step)
{
    static const char* const names[] = {"log-on", "settings", "index", "first event", "second event", "TEST", "ARM"};
    return QString::fromLatin1(names[static_cast<int>(step)]);
}

RoadOutcome runRoad(Clock& clock, const TransportOpener& opener, const RoadPlan& plan)
{
    RoadOutcome outcome;
    const std::int64_t start = clock.nowMs();
    RoadObserver observer(outcome);
    SerialControl link(clock, opener);
    link.setPortName(plan.port);
    link.setSettings(QStringLiteral("115200,n,8,1"));
    UnitSession session(link, clock, observer);
    Road road(session, plan, outcome);
    for (const RoadStep step : plan.steps) {
        if (plan.beforeStep)
            plan.beforeStep(step);
        const std::int64_t stepStart = clock.nowMs();
        const bool done = road.run(step);
        outcome.stepMs.push_back(clock.nowMs() - stepStart);
        if (!done) {
            outcome.failedAt = step;
            break;
        }
    }
    outcome.portStatus = link.PortStatus();
    if (outcome.failedAt && link.PortOpen()) {
        link.setWaitTimeout(0);
        session.armAndRelease();
    }
    link.shutDown();
    session.linkLog().close();
    outcome.elapsedMs = clock.nowMs() - start;
    return outcome;
}

} // namespace mr3x::test
