#include "collect/UnitCollection.h"

#include "collect/CollectorObserver.h"
#include "common/Files.h"
#include "common/WorkLocks.h"
#include "systems/SystemFolders.h"
#include "unit/CollectedEvents.h"
#include "unit/UnitSession.h"

#include <QDir>
#include <QFileInfo>

namespace mr3x::collect {

namespace {

constexpr int pauseAfterSettingsMs = 1000; // as the window waits between the settings and the index

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

/// The road on an open session; what went wrong is noted in the outcome as it happens.
class Road {
public:
    Road(UnitSession& session, CollectorObserver& observer, const UnitJob& job, const QString& folder, UnitOutcome& outcome)
        : session_(session), observer_(observer), job_(job), folder_(folder), outcome_(outcome)
    {
    }

    void run()
    {
        const QString unit = q(job_.unit);
        switch (session_.logOn(folder_, unit)) {
        case UnitSession::LogOn::PortFailed:
            fail(q(job_.port) + QStringLiteral(" (") + session_.link().PortStatus() + QStringLiteral(")"));
            return;
        case UnitSession::LogOn::NoAnswer:
            fail(observer_.lastStatus());
            return;
        case UnitSession::LogOn::Stopped:
            break;
        }
        if (!sameUnit())
            return;
        const std::optional<unitsettings::CheckedSettings> settings = captureSettings();
        session_.link().setPause(pauseAfterSettingsMs);
        const std::optional<QString> index = session_.fetchIndex(folder_, unit, UnitSession::IndexRequest::AfterSettings);
        if (!index) {
            fail(observer_.lastStatus());
            return;
        }
        const std::string model = settings && settings->msUnit ? std::string("M-S32") : job_.model;
        for (const std::string& slot : UnitSession::missingEvents(folder_, UnitSession::readIndex(*index, model))) {
            if (!session_.downloadEvent(folder_, slot)) {
                fail(observer_.lastStatus());
                return;
            }
        }
    }

    bool failed() const { return failed_; }

private:
    bool sameUnit()
    {
        const UnitSession::IdentityCheck identity = session_.checkIdentity(q(job_.unit));
        if (identity.result == UnitSession::Identity::Other) {
            fail(QStringLiteral("the unit on ") + q(job_.port) + QStringLiteral(" reports serial number ") +
                 identity.reported + QStringLiteral(", not ") + q(job_.unit) + QStringLiteral("; nothing stored"));
            return false;
        }
        if (identity.result == UnitSession::Identity::Unverified)
            observer_.status(QStringLiteral("The unit did not report its serial number: taken to be ") + q(job_.unit));
        return true;
    }

    std::optional<unitsettings::CheckedSettings> captureSettings()
    {
        const QString unit = q(job_.unit);
        if (!session_.captureSettings(folder_, unit)) {
            note(QStringLiteral("settings not captured: ") + observer_.lastStatus());
            return std::nullopt;
        }
        std::optional<unitsettings::CheckedSettings> settings = session_.readSettings(UnitSession::settingsFile(folder_, unit));
        const QStringList problems = observer_.takeMessages();
        if (!problems.isEmpty())
            note(QStringLiteral("settings out of range, left as they are: ") + problems.join(QStringLiteral("; ")));
        return settings;
    }

    void note(const QString& text)
    {
        if (!outcome_.message.empty())
            outcome_.message += "; ";
        outcome_.message += text.toStdString();
    }

    void fail(const QString& what)
    {
        failed_ = true;
        // What failed comes first: it is what the morning's reader looks for.
        const std::string notes = outcome_.message;
        outcome_.message = what.toStdString();
        if (!notes.empty())
            outcome_.message += "; " + notes;
    }

    UnitSession& session_;
    CollectorObserver& observer_;
    const UnitJob& job_;
    const QString& folder_;
    UnitOutcome& outcome_;
    bool failed_ = false;
};

} // namespace

UnitCollection::UnitCollection(QString programFolder, QString system, Clock& clock, TransportOpener opener, LogLine log)
    : programFolder_(std::move(programFolder))
    , system_(std::move(system))
    , clock_(clock)
    , opener_(std::move(opener))
    , log_(std::move(log))
{
}

UnitOutcome UnitCollection::collect(const UnitJob& job)
{
    const std::int64_t started = clock_.nowMs();
    UnitOutcome outcome = outcomeOf(job, Result::Failed);
    const auto finish = [&](Result result) {
        outcome.result = result;
        outcome.seconds = static_cast<int>((clock_.nowMs() - started + 500) / 1000);
        return outcome;
    };
    const QString folder = unitFolderOf(programFolder_, system_, q(job.job), q(job.location), q(job.unit));
    if (!QDir().mkpath(folder)) {
        outcome.message = "the unit folder " + nativePath(folder).toStdString() + " cannot be made";
        return finish(Result::Failed);
    }
    UnitWorkLocks locks;
    if (const std::optional<QString> refusal = locks.take(q(job.unit), folder, q(job.port))) {
        outcome.message = refusal->toStdString();
        return finish(Result::Skipped);
    }

    SerialControl link(clock_, opener_);
    link.setPortName(q(job.port));
    link.setLinkAllowance(job.linkAllowanceMs);
    link.setSettings(job.baud == 115200 ? QStringLiteral("115200,n,8,1") : QStringLiteral("9600,n,8,1"));
    CollectorObserver observer(log_);
    UnitSession session(link, clock_, observer);
    Road road(session, observer, job, folder, outcome);
    bool stopped = false;
    try {
        road.run();
    } catch (const ProgramEnded&) {
        // A stop request: whatever was being received is dropped with its temporary file when
        // the port closes below, and the unit is let go to record.
        stopped = true;
        outcome.message = "stopped before the unit was finished" + (outcome.message.empty() ? std::string() : "; " + outcome.message);
    }
    link.cancelReception(QStringLiteral("the collector stopped"));
    // A port that went away mid-road is still open on paper: "e" sent into it reaches nobody.
    if (link.PortOpen() && link.PortStatus() == portstatus::Connected) {
        link.setWaitTimeout(0);
        session.armAndRelease();
        outcome.rearmed = true;
    }
    // Shut down rather than closed: a settings capture cut short by a stop is removed with it.
    link.shutDown();
    session.linkLog().close();
    for (const QString& path : observer.storedEvents()) {
        const QString name = QFileInfo(path).fileName();
        outcome.newEvents.push_back(name.toStdString());
        if (!noteCollected(folder, name, clock_.currentDateTime()))
            log_(QStringLiteral("The note of new events in ") + nativePath(folder) + QStringLiteral(" cannot be written"));
    }
    return finish(road.failed() || stopped ? Result::Failed : Result::Collected);
}

} // namespace mr3x::collect
