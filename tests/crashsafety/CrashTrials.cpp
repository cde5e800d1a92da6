#include "crashsafety/CrashTrials.h"

#include "common/Files.h"
#include "retrieval/EventDownload.h"
#include "retrieval/ReceivedFileRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <random>
#include <thread>

namespace mr3x::crash {

namespace {

constexpr int kReadyWithinMs = 30'000;

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The files of a folder whose names begin with `stem` but are not `stem` itself (a temporary
/// file of a save, or of a reception).
QStringList besides(const QString& folder, const QString& stem)
{
    QStringList found;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name != stem && name.contains(stem))
            found << name;
    return found;
}

/// One kill, and what it left.
class Trial {
public:
    Trial(SaveKind kind, int number, CrashCounts& counts, QStringList& problems)
        : kind_(kind), number_(number), counts_(counts), problems_(problems)
    {
        appFolder_ = root_.path() + QStringLiteral("/M-R3X Master");
        makeProgramFolder(appFolder_);
    }

    void run(const CrashOptions& options, std::mt19937_64& rng)
    {
        ++counts_.trials;
        if (!killWhileSaving(options, rng))
            return;
        judgeFiles();
        judgeNextStart();
    }

private:
    bool killWhileSaving(const CrashOptions& options, std::mt19937_64& rng)
    {
        QProcess child;
        child.setStandardErrorFile(QProcess::nullDevice());
        child.start(options.childProgram, {argumentFor(kind_), appFolder_});
        QByteArray said;
        while (!said.contains("ready\n") && child.waitForReadyRead(kReadyWithinMs))
            said += child.readAllStandardOutput();
        if (!said.contains("ready\n")) {
            problem(QStringLiteral("the saving program did not start (%1)").arg(child.errorString()));
            child.kill();
            child.waitForFinished(5000);
            return false;
        }
        const int delayUs = std::uniform_int_distribution<int>(0, options.longestDelayUs)(rng);
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
        child.kill(); // SIGKILL: no handler, no clean-up, no flush
        child.waitForFinished(5000);
        if (child.exitStatus() != QProcess::CrashExit) {
            problem(QStringLiteral("the saving program ended by itself (exit code %1)").arg(child.exitCode()));
            return false;
        }
        return true;
    }

    void judgeFiles()
    {
        switch (kind_) {
        case SaveKind::MasterSettings:
            judgeTextFile(QStringLiteral("M-R3X Master.ini"));
            break;
        case SaveKind::SystemConfig:
            judgeTextFile(QStringLiteral("Substation.cfg"));
            break;
        case SaveKind::ReceivedEvent:
            judgeEvent();
            break;
        }
    }

    /// The file is the old version or the new one, byte for byte.
    void judgeTextFile(const QString& name)
    {
        const QByteArray now = readFile(joinPath(appFolder_, name));
        if (now == readFile(root_.filePath(QStringLiteral("old.ref"))))
            ++counts_.old;
        else if (now == readFile(root_.filePath(QStringLiteral("new.ref"))))
            ++counts_.newer;
        else
            tornFile(name, now.size());
        noteLeftOvers(besides(appFolder_, name));
    }

    /// The stored event is missing (old) or the unit's record (new); a received file under its
    /// received name is whole or missing; nothing else lies in the unit folder.
    void judgeEvent()
    {
        const QString folder = unitFolderOf(appFolder_);
        const QByteArray record = recordBytes();
        const QString storedName = storedNameOf(record);
        const QString receivedName = QStringLiteral("Event_%1.EVT").arg(kEventSlot + 1, 2, 10, QLatin1Char('0'));
        const QString stored = joinPath(folder, storedName);
        if (!QFile::exists(stored))
            ++counts_.old;
        else if (readFile(stored) == record)
            ++counts_.newer;
        else
            tornFile(storedName, QFileInfo(stored).size());
        const QString received = joinPath(folder, receivedName);
        if (QFile::exists(received)) {
            if (readFile(received) == record)
                ++counts_.receivedOnly;
            else
                tornFile(receivedName, QFileInfo(received).size());
        }
        QStringList others = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        others.removeAll(QStringLiteral("MR-0101.IDX"));
        others.removeAll(storedName);
        others.removeAll(receivedName);
        noteLeftOvers(others);
    }

    /// The program comes up on the folder and opens the system; a received event is fetched
    /// again whole, over whatever the kill left.
    void judgeNextStart()
    {
        Scene scene(appFolder_);
        frmMaster& w = scene.start();
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
        if (kind_ == SaveKind::ReceivedEvent)
            works = fetchAgain(scene);
        if (!scene.dialogs.shown().empty()) {
            works = false;
            problem(QStringLiteral("the next start showed: ") + scene.dialogs.messageTexts().join(QStringLiteral(" / ")));
        }
        if (works)
            ++counts_.startsWorked;
        else
            problem(QStringLiteral("the next start did not read or fetch what it should"));
    }

    bool fetchAgain(Scene& scene)
    {
        scene.openPort();
        scene.selectTheEvent();
        scene.window().eventDownload->cmdGetData_Click();
        const QByteArray record = recordBytes();
        return readFile(joinPath(unitFolderOf(appFolder_), storedNameOf(record))) == record;
    }

    static QByteArray recordBytes()
    {
        const sim::SimUnit unit(unitOptions());
        const std::vector<std::uint8_t>& record = unit.eventRecord(kEventSlot);
        return QByteArray(reinterpret_cast<const char*>(record.data()), static_cast<qsizetype>(record.size()));
    }

    static QString storedNameOf(const QByteArray& record)
    {
        const auto head = std::span(reinterpret_cast<const std::uint8_t*>(record.constData()), retrieval::receivedHeadLength);
        return QString::fromStdString(*retrieval::storedName(head, retrieval::ReceivedKind::EventRecord));
    }

    void tornFile(const QString& name, qint64 size)
    {
        ++counts_.torn;
        problem(QStringLiteral("%1 is torn (%2 bytes)").arg(name).arg(size));
    }

    /// A temporary file a kill left beside the file: never read as the file itself, but counted.
    void noteLeftOvers(const QStringList& names)
    {
        if (!names.isEmpty())
            ++counts_.leftOver;
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
    QString appFolder_;
};

QtMessageHandler previousHandler = nullptr;

/// A fetch after a kill may log a warning or two; the counts say what matters.
void dropWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        previousHandler(type, context, message);
}

} // namespace

CrashReport runCrashTrials(const CrashOptions& options)
{
    previousHandler = qInstallMessageHandler(dropWarnings);
    CrashReport report;
    std::mt19937_64 rng(options.seed);
    for (SaveKind kind : kSaveKinds) {
        CrashCounts& counts = report.byKind[static_cast<std::size_t>(kind)];
        for (int n = 1; n <= options.trials; ++n)
            Trial(kind, n, counts, report.problems).run(options, rng);
    }
    qInstallMessageHandler(previousHandler);
    return report;
}

QString formatReport(const CrashReport& report)
{
    QString text = QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                       .arg(QStringLiteral("save killed"), -26)
                       .arg(QStringLiteral("trials"), 7)
                       .arg(QStringLiteral("old"), 5)
                       .arg(QStringLiteral("new"), 5)
                       .arg(QStringLiteral("torn"), 5)
                       .arg(QStringLiteral("temp left"), 10)
                       .arg(QStringLiteral("next start ok"), 14);
    for (SaveKind kind : kSaveKinds) {
        const CrashCounts& c = report.counts(kind);
        text += QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                    .arg(titleOf(kind), -26)
                    .arg(c.trials, 7)
                    .arg(c.old, 5)
                    .arg(c.newer, 5)
                    .arg(c.torn, 5)
                    .arg(c.leftOver, 10)
                    .arg(c.startsWorked, 14);
    }
    const CrashCounts& event = report.counts(SaveKind::ReceivedEvent);
    text += QStringLiteral("received event: %1 trial(s) left the record whole under its received name, not yet stored\n")
                .arg(event.receivedOnly);
    text += report.problems.isEmpty() ? QStringLiteral("problems: none\n")
                                      : QStringLiteral("problems (%1):\n  ").arg(report.problems.size())
                                            + report.problems.join(QStringLiteral("\n  ")) + QLatin1Char('\n');
    return text;
}

} // namespace mr3x::crash
