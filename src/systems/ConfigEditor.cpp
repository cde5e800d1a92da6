#include "systems/ConfigEditor.h"

#include "app/StartUp.h"
#include "common/Files.h"
#include "common/Text.h"
#include "common/TextLines.h"
#include "systems/Systems.h"
#include "ui/frmConfig.h"
#include "ui/frmMaster.h"

#include <QDir>

namespace mr3x {

namespace {

const QString kTitle = QStringLiteral("M-R3X Master");

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

int columnOf(GridColumn column)
{
    return static_cast<int>(column);
}

} // namespace

UnitGrid ConfigEditor::table() const
{
    UnitGrid grid;
    for (int row = 1; row < editor.Rows(); ++row) {
        GridRow cells;
        for (std::size_t c = 0; c < cells.size(); ++c)
            cells[c] = editor.TextMatrix(row, static_cast<int>(c)).toStdString();
        grid.push_back(std::move(cells));
    }
    return grid;
}

// --- Messages ----------------------------------------------------------------------------------

void ConfigEditor::stop(const QString& message)
{
    w.dialogs.message(message, MsgButtons::Ok, MsgIcon::Critical, kTitle);
}

void ConfigEditor::note(const QString& message)
{
    w.dialogs.message(message, MsgButtons::Ok, MsgIcon::Information, kTitle);
}

void ConfigEditor::caution(const QString& message)
{
    w.dialogs.message(message, MsgButtons::Ok, MsgIcon::Exclamation, kTitle);
}

bool ConfigEditor::question(const QString& message)
{
    return w.dialogs.message(message, MsgButtons::YesNo, MsgIcon::Question, kTitle) == MsgAnswer::Yes;
}

bool ConfigEditor::warningQuestion(const QString& message)
{
    return w.dialogs.message(message, MsgButtons::YesNo, MsgIcon::Critical, kTitle) == MsgAnswer::Yes;
}

void ConfigEditor::SHOW_INVALID_NAME()
{
    note(QStringLiteral("Names cannot contain the characters:\r\n") + editor.lblInvalids->text());
}

// --- Prompts -----------------------------------------------------------------------------------

std::optional<QString> ConfigEditor::ask(const QString& prompt, const QString& defaultAnswer, const Check& check)
{
    for (;;) {
        std::optional<QString> answer = w.dialogs.promptOrCancel(prompt, kTitle, defaultAnswer);
        if (!answer)
            return std::nullopt;
        switch (check(*answer)) {
        case Verdict::Take: return answer;
        case Verdict::Leave: return std::nullopt;
        case Verdict::Again: break;
        }
    }
}

bool ConfigEditor::refusesComma(const QString& answer)
{
    if (!breaksTheLine(answer.toStdString()))
        return false;
    note(QStringLiteral("Entries cannot contain a comma: the configuration file separates its fields with commas"));
    return true;
}

bool ConfigEditor::refusesFolderName(QString& answer)
{
    // The name becomes a folder, and the file's reader trims it: it is checked as it will be used.
    answer = QString::fromStdString(folderNameAnswer(answer.toStdString()));
    if (refusesComma(answer))
        return true;
    const std::string name = answer.toStdString();
    if (isInvalidName(name) || (!name.empty() && !isSafeName(name))) {
        SHOW_INVALID_NAME();
        return true;
    }
    return false;
}

std::optional<QString> ConfigEditor::askName(const QString& prompt, const QString& defaultAnswer, const UnitGrid& grid)
{
    return ask(prompt, defaultAnswer, [&](QString& name) {
        if (refusesFolderName(name))
            return Verdict::Again;
        if (name.isEmpty())
            return Verdict::Leave;
        if (unitNameInUse(grid, name.toStdString())) {
            stop(QStringLiteral("The name ") + name + QStringLiteral(" is already in use"));
            return Verdict::Again;
        }
        return Verdict::Take;
    });
}

std::optional<QString> ConfigEditor::askBtId(const QString& name, const UnitGrid& grid)
{
    return askIdentity(QStringLiteral("Please enter phone B/T ID of ") + name + QStringLiteral(" (if known)"),
                       [&](const std::string& id) { return btIdInUse(grid, id); },
                       [&](const QString& id) { stop(QStringLiteral("The B/T ID ") + id + QStringLiteral(" is already in use")); });
}

std::optional<QString> ConfigEditor::askIdentity(const QString& prompt, const std::function<bool(const std::string&)>& inUse,
                                                 const std::function<void(const QString&)>& tellInUse)
{
    return ask(prompt, QStringLiteral("Not set"), [&](QString& answer) {
        if (refusesComma(answer))
            return Verdict::Again;
        const std::string id = answer.toStdString();
        if (isNotSet(id))
            return Verdict::Take;
        if (isInvalidName(id)) {
            SHOW_INVALID_NAME();
            return Verdict::Again;
        }
        if (inUse(id)) {
            tellInUse(answer);
            return Verdict::Again;
        }
        return Verdict::Take;
    });
}

std::optional<QString> ConfigEditor::askPlace(const QString& prompt, const QString& defaultAnswer, GridColumn column,
                                              std::string_view missing, const UnitGrid& grid)
{
    // A job or location other units already have is only pointed out: units share them.
    return ask(prompt, defaultAnswer, [&](QString& place) {
        if (refusesFolderName(place))
            return Verdict::Again;
        for (std::size_t n = rowsEqualTo(grid, column, place.toStdString()); n > 0; --n)
            note(QStringLiteral("The name ") + place + QStringLiteral(" is already in use"));
        if (place.isEmpty())
            place = text(missing);
        return Verdict::Take;
    });
}

std::optional<QString> ConfigEditor::askSimNo(const QString& name, const UnitGrid& grid)
{
    return askIdentity(QStringLiteral("Please enter new SIM No for ") + name + QStringLiteral(" (if known)"),
                       [&](const std::string& sim) { return simNoInUse(grid, sim); },
                       [&](const QString& sim) { note(QStringLiteral("SIM no ") + sim + QStringLiteral(" is already in use")); });
}

std::optional<QString> ConfigEditor::askNewPlace(const QString& prompt, const QString& defaultAnswer,
                                                 std::string_view empty)
{
    return ask(prompt, defaultAnswer, [&](QString& place) {
        if (refusesFolderName(place))
            return Verdict::Again;
        if (place.isEmpty())
            place = text(empty);
        return Verdict::Take;
    });
}

// --- Add, delete, move, change -------------------------------------------------------------------

void ConfigEditor::cmdAdd_a_unit_Click()
{
    const UnitGrid grid = table();
    const std::optional<QString> name =
        askName(QStringLiteral("Please enter name of new unit"), QStringLiteral("New Unit"), grid);
    if (!name)
        return;
    const std::optional<QString> btId = askBtId(*name, grid);
    if (!btId)
        return;
    const std::optional<QString> version =
        ask(QStringLiteral("Please enter version of ") + *name, QStringLiteral("M-R3x"), [&](QString& answer) {
            if (refusesComma(answer))
                return Verdict::Again;
            if (answer.isEmpty())
                answer = text(kUnknownVersion);
            return Verdict::Take;
        });
    if (!version)
        return;
    const std::optional<QString> job = askPlace(QStringLiteral("Please enter Job name of ") + *name,
                                                *name + QStringLiteral(" job"), GridColumn::Job, kJobNameMissing, grid);
    if (!job)
        return;
    const std::optional<QString> location =
        askPlace(QStringLiteral("Please enter new location of ") + *name, *name + QStringLiteral(" location"),
                 GridColumn::Location, kLocationNameMissing, grid);
    if (!location)
        return;
    const std::optional<QString> simNo = askSimNo(*name, grid);
    if (!simNo)
        return;
    editor.addRow({*name, *btId, *version, *job, *location, *simNo});
}

void ConfigEditor::cmdDelete_a_unit_Click()
{
    const int row = editor.Row();
    const QString name = row > 0 ? editor.TextMatrix(row, columnOf(GridColumn::SerialNo)) : QString();
    if (!warningQuestion(QStringLiteral("Do you really wish to delete ") + name + QStringLiteral("?")))
        return;
    if (editor.Rows() >= 3)
        editor.removeRow(row);
    else
        caution(QStringLiteral("configuration requires a minimum of 1 unit\r\n(add a new unit then delete unwanted unit)"));
}

void ConfigEditor::cmdMove_a_Unit_Click()
{
    const int row = editor.Row();
    if (row == 0)
        return; // no unit to move
    const QString name = editor.TextMatrix(row, columnOf(GridColumn::SerialNo));
    if (!warningQuestion(QStringLiteral("Do you really wish to move ") + name + QStringLiteral("?")))
        return;
    const std::optional<QString> job = askNewPlace(QStringLiteral("Please enter new job of ") + name,
                                                   editor.TextMatrix(row, columnOf(GridColumn::Job)), kMovedJob);
    if (!job)
        return;
    const std::optional<QString> location =
        askNewPlace(QStringLiteral("Please enter new location of ") + name,
                    editor.TextMatrix(row, columnOf(GridColumn::Location)), kMovedLocation);
    if (!location)
        return;
    // Only the table changes: the folders of the new place are made when the system is next
    // opened, and the unit's stored files stay where they are.
    editor.setTextMatrix(row, columnOf(GridColumn::Job), *job);
    editor.setTextMatrix(row, columnOf(GridColumn::Location), *location);
}

void ConfigEditor::changeCell(GridColumn column, const QString& questionText, const QString& promptText)
{
    const int row = editor.Row();
    if (row == 0 || !warningQuestion(questionText))
        return;
    // Any answer is taken, even an empty one, but a comma would split the file's line.
    const std::optional<QString> answer = ask(promptText, editor.TextMatrix(row, columnOf(column)), [&](QString& a) {
        return refusesComma(a) ? Verdict::Again : Verdict::Take;
    });
    if (answer)
        editor.setTextMatrix(row, columnOf(column), *answer);
}

void ConfigEditor::cmdSet_SIM_No_Click()
{
    const QString name = editor.TextMatrix(editor.Row(), columnOf(GridColumn::SerialNo));
    changeCell(GridColumn::SimNo, QStringLiteral("Do you really wish to change the SIM number of ") + name + QStringLiteral("?"),
               QStringLiteral("Please enter SIM number of ") + name);
}

void ConfigEditor::cmdSet_BT_ID_Click()
{
    const QString name = editor.TextMatrix(editor.Row(), columnOf(GridColumn::SerialNo));
    changeCell(GridColumn::BtId, QStringLiteral("Do you really wish to change the B/T ID of ") + name + QStringLiteral("?"),
               QStringLiteral("Please enter B/T ID for ") + name);
}

// --- Save and Save as ----------------------------------------------------------------------------

bool ConfigEditor::writeTable(const QString& file)
{
    makeWritable(file);
    if (writeTextFile(file, toQLines(configFileLines(table()))))
        return true;
    caution(nativePath(file) + QStringLiteral(" could not be written.\r\nThe table is still in the editor: "
                                              "make sure the file is not held open or read-only, then save again."));
    return false;
}

bool ConfigEditor::save()
{
    if (!system_.isEmpty()
        && question(QStringLiteral("Save changes to ") + system_ + QStringLiteral(".cfg") + QStringLiteral("?"))
        && !writeTable(joinPath(w.program.AppFolder, system_ + QStringLiteral(".cfg"))))
        return false;
    reopenSystem();
    return true;
}

void ConfigEditor::reopenSystem()
{
    // Also after No: the grid's changes are dropped and the system is read again from its file.
    w.clock.DoEvents();
    editor.hide();
    w.systems->lstSystems_Click();
    if (w.lifetime.ended())
        return;
    w.clock.DoEvents();
    w.systems->chkLocalJobs_Click();
    w.clock.DoEvents();
}

std::optional<QString> ConfigEditor::askSystemName()
{
    return ask(QStringLiteral("Please enter new name for ") + system_, system_, [&](QString& name) {
        name = name.trimmed();
        const std::string n = name.toStdString();
        if (isInvalidName(n)) {
            SHOW_INVALID_NAME();
            return Verdict::Again;
        }
        if (name.isEmpty()) {
            stop(QStringLiteral("New system name is blank\r\nplease enter a valid name"));
            return Verdict::Again;
        }
        if (!isSafeName(n)) {
            SHOW_INVALID_NAME();
            return Verdict::Again;
        }
        return keepsAnotherSystem(name) ? Verdict::Again : Verdict::Take;
    });
}

bool ConfigEditor::keepsAnotherSystem(const QString& name)
{
    // The name of a system that exists (the open one's, the prompt's default, among them) would
    // replace its table: only when the user says so.
    if (!pathExists(joinPath(w.program.AppFolder, name + QStringLiteral(".cfg"))))
        return false;
    const QString text = QStringLiteral("The system ") + name + QStringLiteral(" exists already.\r\nDo you wish to replace ")
                       + name + QStringLiteral(".cfg with this table?");
    return w.dialogs.message(text, MsgButtons::YesNo, MsgIcon::Exclamation, kTitle) != MsgAnswer::Yes;
}

bool ConfigEditor::createSystem(const QString& name)
{
    // The folder first: a system is listed by its folder, and a file left without one would
    // stay hidden from the system list.
    const QString folder = joinPath(joinPath(w.program.AppFolder, QStringLiteral("Systems")), name);
    const bool made = !pathExists(folder);
    if (!ensureFolder(folder) || !isFolder(folder)) {
        caution(nativePath(folder) + QStringLiteral(" could not be made.\r\nThe table is still in the editor: "
                                                    "check the folder, then try again."));
        return false;
    }
    if (writeTable(joinPath(w.program.AppFolder, name + QStringLiteral(".cfg"))))
        return true;
    if (made)
        QDir().rmdir(folder);
    return false;
}

void ConfigEditor::cmdSave_as_Click()
{
    if (warningQuestion(QStringLiteral("Do you really wish to create a new system?"))) {
        const std::optional<QString> name = askSystemName();
        if (!name)
            return;
        if (question(QStringLiteral("Do you wish to save the new system: ") + *name)) {
            if (!createSystem(*name))
                return;
            editor.hide();
        }
    }
    // The system list is built again, with the new system in it; the one remembered in the
    // master settings file is selected, not the new one.
    w.clock.DoEvents();
    w.startUp->INITIALISATION();
}

} // namespace mr3x
