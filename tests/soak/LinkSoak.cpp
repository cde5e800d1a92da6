#include "soak/LinkSoak.h"

#include "common/Files.h"
#include "link/ConnectionLifecycle.h"
#include "retrieval/EventDownload.h"
#include "retrieval/EventIndex.h"
#include "support/LinkFixture.h"
#include "support/LongRun.h"
#include "unit/UnitSession.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

#include <algorithm>
#include <functional>
#include <random>

namespace mr3x::soak {

namespace {

constexpr int kEvents = 20;               // every slot of an M-R32's index holds an event
constexpr int kPauseBetweenMs = 1000;     // the engineer's next click
constexpr int kIndexShare = 5;            // one download in five is of the index
const QString kIndexName = QStringLiteral("MR-0101.IDX");
const QString kTransferFailed = QStringLiteral("File transfer failed");

/// Thrown from the clock when a download has run past kHungAfterMs.
struct Hung {};

/// What one download asked for and what it must leave.
struct Download {
    int number = 0;
    FaultKind kind = FaultKind::Clean;
    QString what;         // "the index" or "event 07"
    QString file;         // where it is stored
    QByteArray expected;  // the unit's bytes
    QString success;      // the status line after a stored file
    QStringList failures; // the status lines a plain failure may end with
};

sim::SimOptions soakUnit()
{
    sim::SimOptions options = test::LinkFixture::defaultOptions();
    options.paced = true; // bytes leave at 115200 baud, so faults can hit at any point of a transfer
    options.events = kEvents;
    return options;
}

class Soak {
public:
    explicit Soak(const SoakOptions& options)
        : options_(options)
        , f(soakUnit())
        , rng_(options.seed)
        , w(f.start())
    {
        f.choosePort();
        w.Watchdog->stop();
    }

    SoakReport run()
    {
        const std::int64_t start = f.clock.nowMs();
        for (int n = 1; n <= options_.downloads && !hung_; ++n) {
            const FaultKind kind = nextKind();
            if (pick(kIndexShare) == 0)
                downloadIndex(n, kind);
            else
                downloadEvent(n, kind, pick(kEvents));
            settle();
        }
        report_.linkTimeMs = f.clock.nowMs() - start;
        return report_;
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng_); }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    /// Every kind in turn, in a shuffled order each round, so the counts stay even.
    FaultKind nextKind()
    {
        if (bag_.empty()) {
            for (std::size_t k = 0; k < kFaultKinds; ++k)
                bag_.push_back(static_cast<FaultKind>(k));
            std::shuffle(bag_.begin(), bag_.end(), rng_);
        }
        const FaultKind kind = bag_.back();
        bag_.pop_back();
        return kind;
    }

    /// A fault of the kind at a random point of a file of `bytes` bytes.
    sim::TransferFaults transferFaults(FaultKind kind, int bytes)
    {
        const int lastBlock = bytes / 1024 + 8; // past the tail's small blocks a fault never hits
        const int onTheLine = bytes + bytes / 8 + 300;
        switch (kind) {
        case FaultKind::Clean:
            return {};
        case FaultKind::CorruptBytes: // ten in a row exhaust the receiver
            return {.corruptFromBlock = between(0, lastBlock), .corruptTimes = between(1, 12)};
        case FaultKind::DroppedBytes:
            return {.dropFromBlock = between(0, lastBlock), .dropTimes = between(1, 12), .dropCount = between(1, 64)};
        case FaultKind::Stall:
            return {.stallAfterBytes = between(0, onTheLine), .stallMs = pick(3) == 0 ? -1 : between(50, 15'000)};
        case FaultKind::SenderAbort:
            return {.abortAtBlock = between(0, lastBlock)};
        case FaultKind::PulledCable:
            if (pick(2) == 0)
                return {.disconnectAfterBytes = between(0, onTheLine)};
            pullAfterMs_ = between(0, 4000); // at any moment: the request, the pause or the transfer
            return {};
        }
        return {};
    }

    void downloadIndex(int n, FaultKind kind)
    {
        ++report_.indexDownloads;
        Download d{n, kind, QStringLiteral("the index"), indexPath(), test::toQBytes(f.unit().indexFile()),
                   QStringLiteral("Index file downloaded"), {kTransferFailed}};
        QFile::remove(d.file); // a failure must leave no index at all
        runHandler(d, [this] {
            if (options_.road == SoakRoad::UnitSession)
                w.unit->fetchIndex(f.unitFolder(), QStringLiteral("MR-0101"), UnitSession::IndexRequest::OnRequest);
            else
                w.eventIndex->cmdGetIndex_Click();
        });
    }

    void downloadEvent(int n, FaultKind kind, int slot)
    {
        ++report_.eventDownloads;
        const std::vector<std::uint8_t>& record = f.unit().eventRecord(slot);
        const QString nn = QStringLiteral("%1").arg(slot + 1, 2, 10, QLatin1Char('0'));
        Download d{n, kind, QStringLiteral("event ") + nn, joinPath(f.unitFolder(), test::storedNameOf(record)),
                   test::toQBytes(record), QStringLiteral("Event %1 received").arg(nn),
                   {kTransferFailed, QStringLiteral("Timeout acknowledging request for Event ") + nn}};
        QFile::remove(d.file); // fetched again
        test::writeWhole(indexPath(), test::toQBytes(f.unit().indexFile())); // as the last good fetch left it
        if (options_.road == SoakRoad::WindowHandlers && !test::selectIndexLine(w, slot)) {
            violation(d, QStringLiteral("the index lists no line for it"));
            return;
        }
        runHandler(d, [this, nn] {
            if (options_.road == SoakRoad::UnitSession)
                w.unit->downloadEvent(f.unitFolder(), nn.toStdString());
            else
                w.eventDownload->cmdGetData_Click();
        });
    }

    QString indexPath() const { return joinPath(f.unitFolder(), kIndexName); }

    /// Runs the download with its fault injected, and judges what it left.
    void runHandler(const Download& d, const std::function<void()>& handler)
    {
        pullAfterMs_.reset();
        f.unit().faults() = {};
        f.unit().faults().transfer = transferFaults(d.kind, static_cast<int>(d.expected.size())); // whichever transfer
        f.clearWire();
        f.dialogs.clear();
        const std::int64_t start = f.clock.nowMs();
        const int watch = f.clock.addPump([this, start] {
            const std::int64_t now = f.clock.nowMs();
            if (pullAfterMs_ && now - start >= *pullAfterMs_ && !f.unit().lineLost(now))
                f.unit().disconnect(now);
            if (now - start > kHungAfterMs)
                throw Hung{};
        });
        try {
            const auto unwatch = qScopeGuard([this, watch] { f.clock.removePump(watch); });
            handler();
        } catch (const Hung&) {
            hung_ = true;
            violation(d, QStringLiteral("still running after %1 s: a wait never ended").arg(kHungAfterMs / 1000));
            return;
        }
        const std::int64_t end = f.clock.nowMs();
        report_.longestDownloadMs = std::max(report_.longestDownloadMs, end - start);
        std::int64_t last = start;
        for (const auto& [at, bytes] : f.writes) {
            noteSilence(d, at - last);
            last = at;
        }
        noteSilence(d, end - last);
        judge(d);
    }

    void noteSilence(const Download& d, std::int64_t ms)
    {
        report_.longestSilenceMs = std::max(report_.longestSilenceMs, ms);
        if (ms > kLongestSilenceMs)
            violation(d, QStringLiteral("the program waited %1 ms without a word").arg(ms));
    }

    /// The outcome: the unit's exact bytes under the file's name, or a plain failure with nothing
    /// left; and the window ready for the next click.
    void judge(const Download& d)
    {
        KindCounts& counts = report_.byKind[static_cast<std::size_t>(d.kind)];
        ++counts.downloads;
        const QString status = w.lblStatus->text();
        const bool stored = QFile::exists(d.file);
        if (stored) {
            ++counts.stored;
            if (test::readWhole(d.file) != d.expected)
                violation(d, QStringLiteral("the stored file differs from the unit's record"));
            if (status != d.success)
                violation(d, QStringLiteral("stored, but the status line reads \"%1\"").arg(status));
        } else {
            ++counts.failed;
            if (!d.failures.contains(status))
                violation(d, QStringLiteral("nothing stored, and the status line reads \"%1\"").arg(status));
            if (d.kind == FaultKind::Clean)
                violation(d, QStringLiteral("a clean download failed (\"%1\")").arg(status));
        }
        const QStringList left = strayFiles();
        if (!left.isEmpty())
            violation(d, QStringLiteral("left behind: ") + left.join(QStringLiteral(", ")));
        if (w.Comm->TransferState() == 4 || w.Comm->WaitTimeout() != 0 || !w.Comm->CaptureFile().isEmpty())
            violation(d, QStringLiteral("the link was left busy"));
        if (!f.dialogs.shown().empty())
            violation(d, QStringLiteral("a message box: ") + f.dialogs.messageTexts().join(QStringLiteral(" / ")));
    }

    /// Files in the unit folder that are neither the index nor a stored event.
    QStringList strayFiles() const
    {
        QStringList files = QDir(f.unitFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        files.removeIf([](const QString& name) { return name == kIndexName || name.endsWith(QStringLiteral(".trg")); });
        return files;
    }

    /// Between downloads: a pulled cable is plugged in again and the port chosen again, as the
    /// engineer does when the watchdog has closed the link; then a second passes.
    void settle()
    {
        f.unit().faults() = {};
        pullAfterMs_.reset();
        if (w.Comm->PortStatus() != portstatus::Connected) {
            if (w.Comm->PortStatus() == portstatus::Canceled)
                w.connection->Watchdog_Timer(); // closes the link: "Cancelled"
            f.choosePort();
        }
        w.Watchdog->stop(); // its ticks are driven above, not by the PC's clock
        f.clock.advance(kPauseBetweenMs);
    }

    void violation(const Download& d, const QString& what)
    {
        report_.violations << QStringLiteral("download %1 (%2, %3): %4")
                                  .arg(d.number)
                                  .arg(d.what, QString::fromLatin1(kindName(d.kind)), what);
    }

    SoakOptions options_;
    test::LinkFixture f;
    std::mt19937_64 rng_;
    frmMaster& w;
    std::vector<FaultKind> bag_;
    std::optional<std::int64_t> pullAfterMs_;
    bool hung_ = false;
    SoakReport report_;
};

} // namespace

SoakReport runLinkSoak(const SoakOptions& options)
{
    const test::QuietWarnings quiet; // every failed reception is logged: hundreds are expected here
    Soak soak(options);
    return soak.run();
}

QString formatReport(const SoakReport& report)
{
    QString text = QStringLiteral("%1 downloads (%2 of the index, %3 of event records), %4 h of link time\n")
                       .arg(report.indexDownloads + report.eventDownloads)
                       .arg(report.indexDownloads)
                       .arg(report.eventDownloads)
                       .arg(static_cast<double>(report.linkTimeMs) / 3'600'000.0, 0, 'f', 1);
    std::vector<test::Row> rows;
    KindCounts all;
    for (std::size_t k = 0; k < kFaultKinds; ++k) {
        const KindCounts& c = report.byKind[k];
        rows.push_back({QString::fromLatin1(kKindNames[k]), {c.downloads, c.stored, c.failed}});
        all = {all.downloads + c.downloads, all.stored + c.stored, all.failed + c.failed};
    }
    rows.push_back({QStringLiteral("all"), {all.downloads, all.stored, all.failed}});
    text += test::tableOf({{QStringLiteral("fault"), 16}, {QStringLiteral("downloads"), 10}, {QStringLiteral("stored"), 8},
                           {QStringLiteral("failed"), 8}},
                          rows);
    text += QStringLiteral("longest silence of the program during a download: %1 ms (bound %2 ms); longest download: %3 s\n")
                .arg(report.longestSilenceMs)
                .arg(kLongestSilenceMs)
                .arg(static_cast<double>(report.longestDownloadMs) / 1000.0, 0, 'f', 1);
    return text + test::listOf(QStringLiteral("violations"), report.violations);
}

} // namespace mr3x::soak
