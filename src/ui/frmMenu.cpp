// The main window's menu: panels shown and hidden, the configuration editor, the unit settings
// view, the outside tools, the About box, exit.
#include "app/OutsideTools.h"
#include "app/StartUp.h"
#include "systems/Systems.h"
#include "ui/frmAbout.h"
#include "ui/frmMaster.h"
#include "unitsettings/UnitSettings.h"

namespace mr3x {

namespace {

void toggle(QWidget* panel)
{
    panel->setVisible(!panel->isVisible());
}

} // namespace

void frmMaster::wireMenu()
{
    connect(mnuSystem, &QAction::triggered, this, [this] {
        // Back at the system list, no drawing of the system in view stays on screen.
        fraSystems->show();
        eventSlot[0].picvolts->Cls();
        eventSlot[1].picvolts->Cls();
        tdrView.picTDR->Cls();
    });
    connect(mnuConfig, &QAction::triggered, this, [this] { systems->mnuConfig_Click(); });
    connect(mnuComms, &QAction::triggered, this, [this] { toggle(fraSaxComm); });
    connect(mnuControl, &QAction::triggered, this, [this] { toggle(fraControls); });
    connect(mnuSettings, &QAction::triggered, this, [this] { unitSettings->mnuSettings_Click(); });
    connect(mnuDisplay, &QAction::triggered, this, [this] { fraDisplaySettings->show(); });
    connect(mnuMisc, &QAction::triggered, this, [this] { fraMisc->show(); });
    connect(mnuMemo, &QAction::triggered, this, [this] { fraMemo->show(); });
    connect(mnuExplorer, &QAction::triggered, this, [this] { OutsideTools(*this).mnuExplorer_Click(); });
    connect(mnuNotepad, &QAction::triggered, this, [this] { OutsideTools(*this).mnuNotepad_Click(); });
    connect(mnuCalculator, &QAction::triggered, this, [this] { OutsideTools(*this).mnuCalculator_Click(); });
    connect(mnuAbout, &QAction::triggered, this, [this] { frmAbout::showFor(this); });
    connect(mnuExit, &QAction::triggered, this, [this] { startUp->mnuExit_Click(); });
}

} // namespace mr3x
