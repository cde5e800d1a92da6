#include "export/ExportCommand.h"

#include "common/Files.h"
#include "export/ExportArguments.h"
#include "export/FileExport.h"
#include "export/OutputSet.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <string>
#include <vector>

namespace mr3x {

namespace {

constexpr const char* kName = "mr3x-export: ";

std::vector<std::string> stdArguments(const QStringList& arguments)
{
    std::vector<std::string> out;
    for (const QString& a : arguments)
        out.push_back(a.toStdString());
    return out;
}

QString names(const QStringList& paths)
{
    QStringList shown;
    for (const QString& path : paths)
        shown << QFileInfo(path).fileName();
    return shown.join(QStringLiteral(", "));
}

class Run {
public:
    Run(const exports::ExportArguments& a, QString folder, QTextStream& out, QTextStream& err)
        : a_(a), folder_(std::move(folder)), out_(out), err_(err)
    {
    }

    /// Exports one input; false when it was not.
    bool exportOne(const QString& input)
    {
        const FileExport exported = exportStoredFile(input, a_);
        if (!exported.problem.isEmpty())
            return refuse(input, exported.problem);
        const QStringList paths = outputPaths(folder_, exported.files);
        // Two inputs of one name (a Master's and a Slave's event of the same second) would write
        // the same files: the second never replaces what the first wrote, --force or not.
        for (const QString& path : paths)
            if (writtenThisRun_.contains(QFileInfo(path).absoluteFilePath()))
                return refuse(input, QStringLiteral("its %1 was already written for another input; give the inputs "
                                                    "different names or export them to different folders")
                                         .arg(QFileInfo(path).fileName()));
        const OutputOutcome outcome = writeOutputSet(folder_, exported.files, a_.force);
        if (!outcome.existing.isEmpty())
            return refuse(input, QStringLiteral("not exported, %1 already there (--force replaces)").arg(names(outcome.existing)));
        for (const QString& path : outcome.written)
            writtenThisRun_.insert(QFileInfo(path).absoluteFilePath());
        if (!outcome.failure.isEmpty())
            return refuse(input, QStringLiteral("%1 could not be written").arg(nativePath(outcome.failure)));
        out_ << nativePath(input) << " -> " << names(outcome.written) << '\n';
        return true;
    }

private:
    bool refuse(const QString& input, const QString& why)
    {
        err_ << kName << nativePath(input) << ": " << why << '\n';
        return false;
    }

    const exports::ExportArguments& a_;
    QString folder_;
    QTextStream& out_;
    QTextStream& err_;
    QSet<QString> writtenThisRun_;
};

} // namespace

int runExportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const exports::ParsedArguments parsed = exports::parseExportArguments(stdArguments(arguments));
    if (!parsed.arguments) {
        err << kName << QString::fromStdString(parsed.problem) << "\nTry mr3x-export --help\n";
        err.flush();
        return kExportUsage;
    }
    const exports::ExportArguments& a = *parsed.arguments;
    if (a.help) {
        out << QString::fromStdString(exports::exportHelp());
        out.flush();
        return kExportDone;
    }
    const QString folder = a.outputFolder.empty() ? QDir::currentPath() : QString::fromStdString(a.outputFolder);
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        err << kName << "the output folder " << nativePath(folder) << " cannot be made\n";
        err.flush();
        return kExportSomeFailed;
    }
    Run run(a, folder, out, err);
    bool allDone = true;
    for (const std::string& input : a.files)
        allDone = run.exportOne(QString::fromStdString(input)) && allDone;
    out.flush();
    err.flush();
    return allDone ? kExportDone : kExportSomeFailed;
}

} // namespace mr3x
