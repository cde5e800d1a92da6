#include "export/AnalyseCommand.h"

#include "common/Files.h"
#include "events/EventRecord.h"
#include "export/AnalyseArguments.h"
#include "export/AnalysisJson.h"
#include "export/EventOrigin.h"
#include "export/ExportCommand.h"
#include "tdr/FaultFinder.h"

#include <QFile>
#include <QFileInfo>

#include <span>
#include <variant>

namespace mr3x {

namespace {

constexpr const char* kName = "mr3x-analyse: ";


/// A file's bytes, or why they cannot be had.
std::variant<QByteArray, QString> bytesOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot be read: ") + file.errorString();
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("cannot be read: ") + file.errorString();
    return bytes;
}

std::span<const std::uint8_t> spanOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())};
}

struct ReadTrace {
    tdr::TraceReading reading;
    bool trs = false;
};

/// A trace file read whole, or why it cannot be.
std::variant<ReadTrace, QString> traceOf(const QString& path, int speed)
{
    if (exports::storedKindOfPath(path.toStdString()) != exports::StoredKind::Trace)
        return QStringLiteral("not a TDR trace file (.TDR, .tst, .ref)");
    const auto bytes = bytesOf(path);
    if (const QString* problem = std::get_if<QString>(&bytes))
        return *problem;
    const QByteArray& data = std::get<QByteArray>(bytes);
    const bool trs = tdr::traceKindOfPath(path.toStdString()) == tdr::TraceKind::Trs;
    const auto tooShort = QStringLiteral("holds %1 bytes, too few for a whole %2 trace").arg(data.size());
    if (trs) {
        const std::optional<tdr::TrsTrace> trace = tdr::readTrsTrace(spanOf(data));
        if (!trace)
            return tooShort.arg(QStringLiteral("TRS"));
        return ReadTrace{tdr::readingOf(*trace, speed), true};
    }
    const std::optional<tdr::TdrTrace> trace = tdr::readTdrTrace(spanOf(data));
    if (!trace)
        return tooShort.arg(QStringLiteral("TDR"));
    return ReadTrace{tdr::readingOf(*trace, speed), false};
}

class Run {
public:
    Run(const exports::AnalyseArguments& a, QTextStream& out, QTextStream& err) : a_(a), out_(out), err_(err) {}

    /// Reads the reference, when one is given; false (having said why) when it cannot be read.
    bool readReference()
    {
        if (a_.reference.empty())
            return true;
        const QString path = QString::fromStdString(a_.reference);
        auto read = traceOf(path, a_.common.speed);
        if (const QString* problem = std::get_if<QString>(&read)) {
            referenceProblem_ = QStringLiteral("the reference %1 %2").arg(nativePath(path), *problem);
            err_ << kName << referenceProblem_ << '\n';
            return false;
        }
        reference_ = std::get<ReadTrace>(std::move(read));
        return true;
    }

    /// Reads one input; false when it was not.
    bool readOne(const QString& input)
    {
        switch (exports::storedKindOfPath(input.toStdString())) {
        case exports::StoredKind::Event: return readEvent(input);
        case exports::StoredKind::Trace: return readTrace(input);
        default: return refuse(input, QStringLiteral("not an event file (.trg, .vlt) or a TDR trace file (.TDR, .tst, .ref)"));
        }
    }

private:
    bool readEvent(const QString& input)
    {
        const auto bytes = bytesOf(input);
        if (const QString* problem = std::get_if<QString>(&bytes))
            return refuse(input, *problem);
        const QByteArray& data = std::get<QByteArray>(bytes);
        const std::optional<events::EventRecord> record = events::readEventRecord(spanOf(data));
        if (!record)
            return refuse(input, QStringLiteral("holds %1 bytes, where an event file holds %2 or %3")
                                     .arg(data.size())
                                     .arg(events::kShortFileBytes)
                                     .arg(events::kLongFileBytes));
        const events::DipMeasurement m = events::measureDips(*record, a_.nominal);
        return say(exports::eventJson(input.toStdString(), m, a_.common.lineFrequency));
    }

    bool readTrace(const QString& input)
    {
        if (!referenceProblem_.isEmpty())
            return refuse(input, QStringLiteral("not read: ") + referenceProblem_);
        auto read = traceOf(input, a_.common.speed);
        if (const QString* problem = std::get_if<QString>(&read))
            return refuse(input, *problem);
        const ReadTrace& trace = std::get<ReadTrace>(read);
        const tdr::TraceFinding finding =
            reference_ ? tdr::findFault(trace.reading.levels,
                                        tdr::ReferenceTrace{reference_->reading.levels, reference_->reading.setup.scale,
                                                            reference_->reading.setup.tdrMode},
                                        trace.reading.setup)
                       : tdr::findFault(trace.reading.levels, trace.reading.setup);
        if (!finding.refusal.empty())
            return refuse(input, QString::fromStdString(finding.refusal));
        return say(exports::traceJson(input.toStdString(), trace.trs, finding));
    }

    bool say(const std::string& line)
    {
        out_ << QString::fromStdString(line) << '\n';
        return true;
    }

    bool refuse(const QString& input, const QString& why)
    {
        err_ << kName << nativePath(input) << ": " << why << '\n';
        return false;
    }

    const exports::AnalyseArguments& a_;
    QTextStream& out_;
    QTextStream& err_;
    std::optional<ReadTrace> reference_;
    QString referenceProblem_;
};

std::vector<std::string> stdArguments(const QStringList& arguments)
{
    std::vector<std::string> out;
    for (const QString& a : arguments)
        out.push_back(a.toStdString());
    return out;
}

} // namespace

int runAnalyseCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const exports::ParsedAnalyseArguments parsed = exports::parseAnalyseArguments(stdArguments(arguments));
    if (!parsed.arguments) {
        err << kName << QString::fromStdString(parsed.problem) << "\nTry mr3x-analyse --help\n";
        err.flush();
        return kExportUsage;
    }
    const exports::AnalyseArguments& a = *parsed.arguments;
    if (a.common.help) {
        out << QString::fromStdString(exports::analyseHelp());
        out.flush();
        return kExportDone;
    }
    Run run(a, out, err);
    bool allDone = run.readReference();
    for (const std::string& input : a.common.files)
        allDone = run.readOne(QString::fromStdString(input)) && allDone;
    out.flush();
    err.flush();
    return allDone ? kExportDone : kExportSomeFailed;
}

} // namespace mr3x
