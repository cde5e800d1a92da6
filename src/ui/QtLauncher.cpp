#include "ui/QtLauncher.h"

#include "app/ToolCommands.h"
#include "common/Files.h"
#include "common/TextLines.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace mr3x {

namespace {

// The desktop entry name (such as "org.gnome.TextEditor.desktop") of the default application for
// a MIME type, as xdg-mime tells it; empty when it cannot tell within a few seconds.
QString defaultApplication(const QString& mimeType)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        return {};
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

} // namespace

bool QtLauncher::start(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

bool QtLauncher::isInstalled(const QString& program)
{
    if (QFileInfo(program).isAbsolute())
        return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

std::optional<CommandLine> QtLauncher::desktopHandler(const QString& mimeType, const QString& file)
{
    const QString id = defaultApplication(mimeType);
    if (id.isEmpty() || !id.endsWith(QStringLiteral(".desktop")))
        return std::nullopt;
    const QString entryFile = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
    if (entryFile.isEmpty())
        return std::nullopt;
    const std::optional<QStringList> lines = readTextLines(entryFile);
    if (!lines)
        return std::nullopt;
    const DesktopEntry entry = readDesktopEntry(toStdLines(*lines));
    if (entry.terminal)
        return std::nullopt;
    const std::optional<ToolCommand> command = desktopExecCommand(entry.exec, file.toStdString());
    if (!command)
        return std::nullopt;
    CommandLine line{QString::fromStdString(command->program), {}};
    for (const std::string& argument : command->arguments)
        line.arguments << QString::fromStdString(argument);
    return line;
}

} // namespace mr3x
