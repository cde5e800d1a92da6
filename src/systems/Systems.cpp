#include "systems/Systems.h"

#include "common/Files.h"
#include "common/Text.h"
#include "common/TextLines.h"
#include "events/EventViewer.h"
#include "retrieval/EventIndex.h"
#include "systems/ConfigEditor.h"
#include "systems/SystemConfigFile.h"
#include "systems/SystemFolders.h"
#include "systems/UnitAddresses.h"
#include "tdr/TdrTests.h"
#include "ui/controls/ListFill.h"
#include "ui/frmConfig.h"
#include "ui/frmMaster.h"

#include <algorithm>

namespace mr3x {

namespace {

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

QString systemsFolder(const Program& p)
{
    return mr3x::systemsFolderOf(p.AppFolder);
}

QString jobsFolderOf(const Program& p, const QString& system)
{
    return mr3x::jobsFolderOf(p.AppFolder, system);
}

QString configFileOf(const Program& p, const QString& system)
{
    return mr3x::configFileOf(p.AppFolder, system);
}

// The slave list follows the master's choice only while both list the same number of entries.
void followMaster(QComboBox* master, QComboBox* slave)
{
    if (slave->count() == master->count())
        slave->setCurrentIndex(master->currentIndex());
}

} // namespace

QString Systems::currentSystem() const
{
    const QListWidgetItem* item = w.lstSystems->currentItem();
    return item != nullptr ? item->text() : QString();
}

// --- The system list ---------------------------------------------------------------------------

void Systems::DirSystems_Change()
{
    w.filSystems->Refresh();
    fillListWidget(w.lstSystems, w.DirSystems->Names());
}

void Systems::lstSystems_Click()
{
    const QString name = currentSystem();
    if (name.isEmpty())
        return;
    if (!openSystem(name)) {
        failOpening(name);
        return;
    }
    // Both chains are filled from the jobs folder, the master first; each cascades to its units.
    const QString jobs = jobsFolderOf(w.program, name);
    w.DirJobs[0]->setPath(jobs);
    w.DirJobs[1]->setPath(jobs);
    w.fraSystems->hide();
    w.tdrView.picTDR->Cls();
}

bool Systems::openSystem(const QString& name)
{
    const QString config = configFileOf(w.program, name);
    if (!isSafeName(name.toStdString()))
        return false;
    if (!pathExists(config) && !writeTextFile(config, {text(std::string(kNewSystemUnitLine))}))
        return false;

    w.setWindowTitle(name + QStringLiteral(" M-R3X Master"));
    // No trace of the previous system stays on view.
    w.tdrTests->CLEAR_MANUAL_TESTS();
    w.tdrView.chkTrace[0]->setChecked(false);
    w.tdrView.chkTrace[1]->setChecked(false);
    w.program.JobsFolder = jobsFolderOf(w.program, name) + QLatin1Char('/');

    const std::optional<QStringList> lines = readTextLines(config);
    if (!lines)
        return false;
    ConfigReadResult table = parseSystemConfig(toStdLines(*lines));
    if (table.error)
        return false;
    w.program.Units = std::move(table.units);
    return createUnitFolders(name);
}

bool Systems::createUnitFolders(const QString& name)
{
    // The system's own folders first (normally made at start-up), then one level at a time
    // down to every unit folder.
    const QString system = joinPath(systemsFolder(w.program), name);
    const QString jobs = jobsFolderOf(w.program, name);
    if (!ensureFolder(system) || !ensureFolder(jobs))
        return false;
    for (const UnitEntry& unit : w.program.Units) {
        const QString job = joinPath(jobs, text(unit.Job));
        const QString location = joinPath(job, text(unit.Location));
        if (!ensureFolder(job) || !ensureFolder(location) || !ensureFolder(joinPath(location, text(unit.SerialNo))))
            return false;
    }
    return true;
}

void Systems::failOpening(const QString& name)
{
    w.dialogs.message(nativePath(configFileOf(w.program, name)) + QStringLiteral(" missing"), MsgButtons::Ok,
                      MsgIcon::Critical, QStringLiteral("M-R3X Master"));
    w.lifetime.end(1);
}

// --- Filling the chains ------------------------------------------------------------------------

void Systems::fillFolderChoice(QComboBox* list, const FolderList& folders, std::string UnitEntry::*field,
                               const QString& remembered)
{
    // With "Local Jobs" ticked a folder is listed when some unit's job (or location) occurs in
    // its full path, without regard to case.
    const bool localOnly = w.chkLocalJobs->isChecked();
    QStringList entries;
    for (int k = 0; k < folders.ListCount(); ++k) {
        bool taken = !localOnly;
        for (auto unit = w.program.Units.begin(); !taken && unit != w.program.Units.end(); ++unit)
            taken = folders.List(k).contains(text((*unit).*field), Qt::CaseInsensitive);
        if (taken)
            entries << folders.Name(k);
    }
    const int rememberedAt = static_cast<int>(entries.indexOf(remembered));
    fillComboBox(list, entries, entries.isEmpty() ? -1 : std::max(rememberedAt, 0));
}

void Systems::DirJobs_Change(int i)
{
    fillFolderChoice(w.cboJobs[i], *w.DirJobs[i], &UnitEntry::Job, w.program.LastJob);
}

void Systems::DirLocations_Change(int i)
{
    fillFolderChoice(w.cboLocations[i], *w.DirLocations[i], &UnitEntry::Location,
                     i == 0 ? w.program.LastMaster : w.program.LastSlave);
}

void Systems::DirUnits_Change(int i)
{
    // Unit folders are listed by exact name, unlike jobs and locations.
    const bool localOnly = w.chkLocalJobs->isChecked();
    QStringList entries;
    for (const QString& name : w.DirUnits[i]->Names()) {
        bool taken = !localOnly;
        for (auto unit = w.program.Units.begin(); !taken && unit != w.program.Units.end(); ++unit)
            taken = name == text(unit->SerialNo);
        if (taken)
            entries << name;
    }
    fillComboBox(w.cboUnits[i], entries, entries.isEmpty() ? -1 : 0);
}

// --- Choosing in the chains --------------------------------------------------------------------

void Systems::cboJobs_Click(int i)
{
    w.DirLocations[i]->setPath(joinPath(w.DirJobs[i]->Path(), w.cboJobs[i]->currentText()));
    if (i == 0)
        followMaster(w.cboJobs[0], w.cboJobs[1]);
    w.eventSlot[i].lstLastIndex->clear();
    w.eventIndex->FILL_LAST_INDEX(i);
    w.eventSlot[i].lblTrailerJob->clear();
    w.eventSlot[i].lblTrailerLocation->clear();
}

void Systems::cboLocations_Click(int i)
{
    w.DirUnits[i]->setPath(joinPath(w.DirLocations[i]->Path(), w.cboLocations[i]->currentText()));
    if (i == 0)
        followMaster(w.cboLocations[0], w.cboLocations[1]);
}

void Systems::cboUnits_Click(int i)
{
    const QString unit = w.cboUnits[i]->currentText();
    const QString unitFolder = joinPath(w.DirUnits[i]->Path(), unit);
    if (i == 0) {
        showMasterUnitIdentity(unit);
        w.unitAddresses->chooseAddressOf(unit);
        w.cmdConnect->setText(QStringLiteral("Connect to Local Unit"));
    }
    w.filTrig[i]->setPath(unitFolder);
    w.filTST->setPath(unitFolder);
    w.eventSlot[i].picvolts->Cls();
    w.eventViewer->RESET_PARAMETER_DISPLAY(i);
    if (i != 0)
        return;

    // The slave slot shows the master unit too, until a slave unit is chosen.
    w.tdrView.picTDR->Cls();
    const int slave = w.cboUnits[1]->currentIndex();
    if (slave >= 0)
        w.cboUnits[1]->setItemText(slave, unit);
    w.clock.DoEvents();
    w.filTrig[1]->setPath(unitFolder);
}

void Systems::showMasterUnitIdentity(const QString& unit)
{
    // A unit folder that the table does not name (possible without "Local Jobs") has no
    // identity to show: both lists are left empty.
    QStringList btId;
    QStringList simNo;
    for (const UnitEntry& entry : w.program.Units) {
        if (QString::compare(text(entry.SerialNo), unit, Qt::CaseInsensitive) == 0) {
            btId << text(entry.BtId).toUpper();
            simNo << text(entry.SimNo).toUpper();
            break;
        }
    }
    fillComboBox(w.cboBT_ID, btId, btId.isEmpty() ? -1 : 0);
    fillComboBox(w.cboSIM_No, simNo, simNo.isEmpty() ? -1 : 0);
}

void Systems::chkLocalJobs_Click()
{
    w.DirJobs[0]->Refresh();
    w.DirJobs[1]->Refresh();
    DirJobs_Change(0);
    DirJobs_Change(1);
    w.tdrView.picTDR->Cls();
}

// --- The unit table view -----------------------------------------------------------------------

void Systems::mnuConfig_Click()
{
    frmConfig& editor = w.config();
    editor.resetGrid();
    for (const UnitEntry& unit : w.program.Units) {
        QStringList cells;
        for (const std::string& field : unitFields(unit))
            cells << QLatin1Char(' ') + text(field); // cells loaded from the file carry a leading blank
        editor.addRow(cells);
    }
    editor.editor->openFor(currentSystem());
    editor.setWindowTitle(currentSystem() + QStringLiteral(" Configuration"));
    editor.show();
    editor.raise();
    editor.activateWindow();
}

} // namespace mr3x
