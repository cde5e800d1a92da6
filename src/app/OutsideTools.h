#pragma once
// The "Windows Tools" menu on a Linux desktop: "Explorer" shows the master location folder in the
// desktop's file manager, "Notepad" opens the open system's configuration file in a text editor,
// "Calculator" starts a calculator. Each starts the first program that is installed and starts;
// when none does, a message says so and the program goes on.
#include "common/Launcher.h"

#include <optional>
#include <string>
#include <vector>

namespace mr3x {

class frmMaster;
struct ToolCommand;

class OutsideTools {
public:
    explicit OutsideTools(frmMaster& window) : w(window) {}

    void mnuExplorer_Click();
    void mnuNotepad_Click();
    void mnuCalculator_Click();

private:
    /// Starts the desktop's own command, if any, else the first of the others that is installed
    /// and starts. False when nothing started.
    bool startFirst(const std::optional<CommandLine>& desktopCommand, const std::vector<ToolCommand>& others);
    void cannotStart(const QString& text);

    frmMaster& w;
};

} // namespace mr3x
