#include "app/OutsideTools.h"

#include "app/ToolCommands.h"
#include "common/Files.h"
#include "ui/frmMaster.h"

namespace mr3x {

namespace {

CommandLine toCommandLine(const ToolCommand& command)
{
    CommandLine line{QString::fromStdString(command.program), {}};
    for (const std::string& argument : command.arguments)
        line.arguments << QString::fromStdString(argument);
    return line;
}

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

bool OutsideTools::startFirst(const std::optional<CommandLine>& desktopCommand, const std::vector<ToolCommand>& others)
{
    std::vector<CommandLine> candidates;
    if (desktopCommand)
        candidates.push_back(*desktopCommand);
    for (const ToolCommand& command : others)
        candidates.push_back(toCommandLine(command));
    for (const CommandLine& candidate : candidates) {
        if (w.launcher.isInstalled(candidate.program) && w.launcher.start(candidate.program, candidate.arguments))
            return true;
    }
    return false;
}

void OutsideTools::cannotStart(const QString& text)
{
    w.dialogs.message(text, MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("M-R3X Master"));
}

void OutsideTools::mnuExplorer_Click()
{
    // The folder that holds the unit folders of the current master location.
    const QString folder = w.DirUnits[0]->Path();
    if (!isFolder(folder)) {
        cannotStart(QStringLiteral("There is no location folder to show: choose a system, a job and a location first."));
        return;
    }
    const QString shown = nativePath(folder);
    if (!startFirst(w.launcher.desktopHandler(latin1(kFolderMimeType), shown),
                    fileManagerCommands(shown.toStdString())))
        cannotStart(QStringLiteral("No file manager could be started to show ") + shown
                    + QStringLiteral(".\r\nInstall one, such as Nautilus, Dolphin or Thunar."));
}

void OutsideTools::mnuNotepad_Click()
{
    const QListWidgetItem* system = w.lstSystems->currentItem();
    if (system == nullptr || system->text().isEmpty()) {
        cannotStart(QStringLiteral("No system is open: choose one under \"System Selector\" first."));
        return;
    }
    // Changes made in the editor take effect when the system is next opened.
    const QString file = nativePath(joinPath(w.program.AppFolder, system->text() + QStringLiteral(".cfg")));
    if (!startFirst(w.launcher.desktopHandler(latin1(kPlainTextMimeType), file),
                    textEditorCommands(file.toStdString())))
        cannotStart(QStringLiteral("No text editor could be started to open ") + file
                    + QStringLiteral(".\r\nInstall one, such as GNOME Text Editor, Kate or Mousepad."));
}

void OutsideTools::mnuCalculator_Click()
{
    if (!startFirst(std::nullopt, calculatorCommands()))
        cannotStart(QStringLiteral("No calculator could be started.\r\nInstall one, such as GNOME Calculator or KCalc."));
}

} // namespace mr3x
