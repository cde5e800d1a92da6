// The main window's menu: panels shown and hidden, the configuration view, the unit settings
// view, exit.
#include "app/StartUp.h"
#include "systems/Systems.h"
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
    connect(mnuExit, &QAction::triggered, this, [this] { startUp->mnuExit_Click(); });

    // The outside tools and the About box come with the panels and tools work.
    for (QAction* later : {mnuExplorer, mnuNotepad, mnuCalculator, mnuAbout})
        later->setEnabled(false);
}

} // namespace mr3x
