#include "crashsafety/CrashTrials.h"

#include "common/Files.h"
#include "retrieval/EventDownload.h"
#include "support/LongRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

namespace mr3x::crash {

namespace {

constexpr int kReadyWithinMs = 30'000;

/// One kill, and what it left.
class Trial {
public:
    Trial(SaveKind kind, int number, CrashCounts& counts, QStringList& problems)
        : kind_(kind), number_(number), counts_(counts), problems_(problems)
    {
        test::makeSubstation(appFolder_);
    }

    void run(const CrashOptions& options, std::mt19937_64& rng)
    {
        ++counts_.trials;
        if (!killWhileSaving(options, rng))
            return;
        if (kind_ == SaveKind::ReceivedEvent)
            judgeEvent();
        else
            judgeTextFile();
        judgeNextStart();
    }

private:
    bool killWhileSaving(const CrashOptions& options, std::mt19937_64& rng)
    {
        QProcess child;
        child.setStandardErrorFile(QProcess::nullDevice());
        child.start(options.childProgram, {QString::fromLatin1(namesOf(kind_).argument), appFolder_});
        QByteArray said;
        while (!said.contains("ready\n") && child.waitForReadyRead(kReadyWithinMs))
            said += child.readAllStandardOutput();
        if (!said.contains("ready\n")) {
            problem(QStringLiteral("the saving program did not start (%1)").arg(child.errorString()));
            child.kill();
            child.waitForFinished(5000);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, options.longestDelayUs)(rng)));
        child.kill(); // SIGKILL: no handler, no clean-up, no flush
        child.waitForFinished(5000);
        if (child.exitStatus() != QProcess::CrashExit) {
            problem(QStringLiteral("the saving program ended by itself (exit code %1)").arg(child.exitCode()));
            return false;
        }
        return true;
    }

    /// The file is the old version (for an event not yet stored: no file) or the new one, byte
    /// for byte.
    void judgeFile(const QString& path, const std::optional<QByteArray>& older, const QByteArray& newer)
    {
        const std::optional<QByteArray> now = QFile::exists(path) ? std::optional(test::readWhole(path)) : std::nullopt;
        if (now == older)
            ++counts_.old;
        else if (now == newer)
            ++counts_.newer;
        else
            tornFile(QFileInfo(path).fileName(), QFileInfo(path).size());
    }

    /// A temporary file a kill left beside the file (a name that holds the file's) is never read
    /// as the file itself, but counted.
    void judgeTextFile()
    {
        const QString name = QString::fromLatin1(namesOf(kind_).file);
        judgeFile(savedFile(appFolder_, kind_), test::readWhole(root_.filePath(QStringLiteral("old.ref"))),
                  test::readWhole(root_.filePath(QStringLiteral("new.ref"))));
        const QStringList files = QDir(appFolder_).entryList(QDir::Files | QDir::Hidden | QDir::System);
        if (std::ranges::any_of(files, [&name](const QString& file) { return file != name && file.contains(name); }))
            ++counts_.leftOver;
    }

    /// The stored event is missing (old) or the unit's record (new); a received file under its
    /// received name is whole or missing; nothing else lies in the unit folder.
    void judgeEvent()
    {
        const QString folder = test::substationUnitFolder(appFolder_);
        const QString receivedName = QStringLiteral("Event_%1.EVT").arg(kEventSlot + 1, 2, 10, QLatin1Char('0'));
        const QString received = joinPath(folder, receivedName);
        judgeFile(joinPath(folder, storedName_), std::nullopt, record_);
        if (QFile::exists(received) && test::readWhole(received) == record_)
            ++counts_.receivedOnly;
        else if (QFile::exists(received))
            tornFile(receivedName, QFileInfo(received).size());
        QStringList others = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString& known : {QStringLiteral("MR-0101.IDX"), storedName_, receivedName})
            others.removeAll(known);
        if (!others.isEmpty())
            ++counts_.leftOver;
    }

    /// The program comes up on the folder and opens the system; a received event is fetched
    /// again whole, over whatever the kill left.
    void judgeNextStart()
    {
        Scene scene(appFolder_);
        frmMaster& w = scene.load();
        if (scene.lifetime.ended() || w.lstSystems->currentItem() == nullptr
            || w.lstSystems->currentItem()->text() != QStringLiteral("Substation")
            || w.cboUnits[0]->currentText() != QStringLiteral("MR-0101")) {
            problem(QStringLiteral("the next start failed: ") + scene.dialogs.messageTexts().join(QStringLiteral(" / ")));
            return;
        }
        bool works = true;
        if (kind_ == SaveKind::MasterSettings)
            works = w.program.LastConnection == QStringLiteral("3")
                 || w.program.LastConnection == QStringLiteral("Simulated unit (M-R32)");
        if (kind_ == SaveKind::SystemConfig)
            works = w.program.Units.size() == 1 || w.program.Units.size() == 2;
        if (kind_ == SaveKind::ReceivedEvent) {
            scene.choosePort();
            test::selectIndexLine(w, kEventSlot);
            w.eventDownload->cmdGetData_Click();
            works = test::readWhole(joinPath(test::substationUnitFolder(appFolder_), storedName_)) == record_;
        }
        if (!scene.dialogs.shown().empty()) {
            works = false;
            problem(QStringLiteral("the next start showed: ") + scene.dialogs.messageTexts().join(QStringLiteral(" / ")));
        }
        if (works)
            ++counts_.startsWorked;
        else
            problem(QStringLiteral("the next start did not read or fetch what it should"));
    }

    void tornFile(const QString& name, qint64 size)
    {
        ++counts_.torn;
        problem(QStringLiteral("%1 is torn (%2 bytes)").arg(name).arg(size));
    }

    void problem(const QString& what)
    {
        problems_ << QStringLiteral("%1, trial %2: %3").arg(titleOf(kind_)).arg(number_).arg(what);
    }

    SaveKind kind_;
    int number_;
    CrashCounts& counts_;
    QStringList& problems_;
    QTemporaryDir root_;
    QString appFolder_ = root_.path() + QStringLiteral("/M-R3X Master");
    const std::vector<std::uint8_t> unitRecord_ = sim::SimUnit(unitOptions()).eventRecord(kEventSlot);
    const QByteArray record_ = test::toQBytes(unitRecord_);
    const QString storedName_ = test::storedNameOf(unitRecord_);
};

} // namespace

CrashReport runCrashTrials(const CrashOptions& options)
{
    const test::QuietWarnings quiet; // a fetch after a kill may log a warning or two; the counts say what matters
    CrashReport report;
    std::mt19937_64 rng(options.seed);
    for (SaveKind kind : kSaveKinds)
        for (int n = 1; n <= options.trials; ++n)
            Trial(kind, n, report.byKind[static_cast<std::size_t>(kind)], report.problems).run(options, rng);
    return report;
}

QString formatReport(const CrashReport& report)
{
    std::vector<test::Row> rows;
    for (SaveKind kind : kSaveKinds) {
        const CrashCounts& c = report.counts(kind);
        rows.push_back({titleOf(kind), {c.trials, c.old, c.newer, c.torn, c.leftOver, c.startsWorked}});
    }
    return test::tableOf({{QStringLiteral("save killed"), 26}, {QStringLiteral("trials"), 7}, {QStringLiteral("old"), 5},
                          {QStringLiteral("new"), 5}, {QStringLiteral("torn"), 5}, {QStringLiteral("temp left"), 10},
                          {QStringLiteral("next start ok"), 14}},
                         rows)
         + QStringLiteral("received event: %1 trial(s) left the record whole under its received name, not yet stored\n")
               .arg(report.counts(SaveKind::ReceivedEvent).receivedOnly)
         + test::listOf(QStringLiteral("problems"), report.problems);
}

} // namespace mr3x::crash
