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

/// Takes one step of the road; false when it failed.
bool take(UnitSession& session, const RoadPlan& plan, RoadStep step)
{
    switch (step) {
    case RoadStep::LogOn:
        return session.logOn(plan.folder, kRoadUnit) == UnitSession::LogOn::Stopped;
    case RoadStep::Settings:
        return session.captureSettings(plan.folder, kRoadUnit)
               && session.readSettings(UnitSession::settingsFile(plan.folder, kRoadUnit)).has_value();
    case RoadStep::Index:
        return session.fetchIndex(plan.folder, kRoadUnit, UnitSession::IndexRequest::AfterSettings).has_value();
    case RoadStep::FirstEvent:
        return session.downloadEvent(plan.folder, plan.firstEvent.toStdString());
    case RoadStep::SecondEvent:
        return session.downloadEvent(plan.folder, plan.secondEvent.toStdString());
    case RoadStep::Test:
        session.sendSettings(setupWith(true));
        return session.receiveTrace(plan.folder, kRoadTrace).has_value();
    case RoadStep::Arm:
        session.sendSettings(setupWith(false));
        session.armAndRelease();
        return session.lastStatus() == unitstatus::LocalUnitArmed;
    }
    return false;
}

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
    for (const RoadStep step : plan.steps) {
        if (plan.beforeStep)
            plan.beforeStep(step);
        const std::int64_t stepStart = clock.nowMs();
        const qsizetype messagesBefore = outcome.messages.size();
        const bool done = take(session, plan, step) && outcome.messages.size() == messagesBefore; // a message is a failure
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
