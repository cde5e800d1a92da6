#include "support/MasterFixture.h"
#include "systems/Systems.h"
#include "ui/frmConfig.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::MasterFixture;
using Shown = ScriptedDialogs::Shown;
using Answers = std::initializer_list<std::optional<QString>>; // std::nullopt: Cancel

namespace {

// The system "Grid" with two units, opened at start-up, and its table shown in the editor.
struct Editor : MasterFixture {
    Editor()
    {
        addSystem("Grid", {"Unit 1,bt-one,M-R32,Job 1,Site 1,SIM 1", "Unit 2,Not set,M-S32,Job 1,Site 2"});
        root.writeLines("M-R3X Master.ini", {"Last system = Grid"});
        load();
        for (int shown = 0; shown < 2; ++shown) // shown again, the grid starts from its header row
            window().systems->mnuConfig_Click();
        dialogs.clear();
    }
    frmConfig& c() { return window().config(); }
    QStringList row(int r)
    {
        QStringList cells;
        for (int col = 0; col < 6; ++col)
            cells << c().TextMatrix(r, col);
        return cells;
    }
    void select(int r) { c().grdCFG->setCurrentCell(r - 1, 0); }
    /// Clicks an editor button, its prompts answered in turn and then its message boxes.
    void click(QPushButton* button, Answers prompts = {}, std::initializer_list<MsgAnswer> boxes = {})
    {
        for (const std::optional<QString>& p : prompts)
            p ? dialogs.answerPrompt(*p) : dialogs.cancelPrompt();
        for (const MsgAnswer a : boxes)
            dialogs.answer(a);
        button->click();
    }
    void addUnit(Answers prompts) { click(c().cmdAdd_a_unit, prompts); }
    std::vector<Shown> shownOf(Shown::Kind kind) const
    {
        std::vector<Shown> out;
        std::copy_if(dialogs.shown().begin(), dialogs.shown().end(), std::back_inserter(out),
                     [kind](const Shown& s) { return s.kind == kind; });
        return out;
    }
    QStringList prompts() const
    {
        QStringList out;
        for (const Shown& s : shownOf(Shown::Kind::Prompt))
            out << s.text + " [" + s.defaultAnswer + "]";
        return out;
    }
};

const QString kInvalidNameMessage = "Names cannot contain the characters:\r\n \\ / : * ? \" < > |";

} // namespace

TEST(ConfigEditor, DeleteMoveAndTheSettersActOnTheSelectedRowAndAddingAUnitChecksEveryAnswerBeforeTheRowIsAdded)
{
    Editor f;
    ASSERT_FALSE(f.lifetime.ended());
    EXPECT_EQ(f.c().windowTitle(), QString("Grid Configuration"));
    EXPECT_EQ(f.c().TextMatrix(0, 5), QString("Sim No"));
    f.select(2);
    f.click(f.c().cmdDelete_a_unit, {}, {MsgAnswer::No});
    ASSERT_EQ(f.c().Rows(), 3);
    EXPECT_EQ(f.dialogs.last()->text, QString("Do you really wish to delete  Unit 2?"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Critical);
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::YesNo);
    f.click(f.c().cmdDelete_a_unit);
    ASSERT_EQ(f.c().Rows(), 2);
    EXPECT_EQ(f.row(1)[0], QString(" Unit 1"));
    // The last unit stays.
    f.click(f.c().cmdDelete_a_unit);
    EXPECT_EQ(f.c().Rows(), 2);
    EXPECT_EQ(f.dialogs.last()->text,
              QString("configuration requires a minimum of 1 unit\r\n(add a new unit then delete unwanted unit)"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);

    // Move: the defaults are the row's cells; an empty location becomes "New Location". Cancel
    // half way moves nothing.
    f.dialogs.clear();
    f.click(f.c().cmdMove_a_Unit, {"Job 9", ""});
    f.click(f.c().cmdMove_a_Unit, {"Job 10", std::nullopt});
    EXPECT_EQ(f.row(1), QStringList({" Unit 1", " bt-one", " M-R32", "Job 9", "New Location", " SIM 1"}));
    EXPECT_EQ(f.prompts().mid(0, 2), QStringList({"Please enter new job of  Unit 1 [ Job 1]",
                                                  "Please enter new location of  Unit 1 [ Site 1]"}));

    // The SIM number takes any answer, even an empty one; Cancel keeps the B/T ID; No asks nothing.
    f.dialogs.clear();
    f.click(f.c().cmdSet_SIM_No, {""});
    f.click(f.c().cmdSet_BT_ID, {std::nullopt});
    f.click(f.c().cmdSet_BT_ID, {}, {MsgAnswer::No});
    EXPECT_EQ(f.row(1)[5], QString());
    EXPECT_EQ(f.row(1)[1], QString(" bt-one"));
    EXPECT_EQ(f.prompts(), QStringList({"Please enter SIM number of  Unit 1 [ SIM 1]",
                                        "Please enter B/T ID for  Unit 1 [ bt-one]"}));
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList({"Do you really wish to change the SIM number of  Unit 1?",
                                                     "Do you really wish to change the B/T ID of  Unit 1?",
                                                     "Do you really wish to change the B/T ID of  Unit 1?"}));

    // Adding a unit checks every answer before the row is added. Refused answers are asked again:
    // "unit" occurs within " Unit 1"; ".." cannot be a folder; a comma would split the file's line;
    // an empty B/T ID occurs in every cell. "Not set" is never checked, empty answers get stand-ins.
    f.dialogs.clear();
    f.addUnit({"unit", "..", "North, yard", "Feeder A", "", "BT-ONE", "Not set", "", "", "   ", "SIM 1"});
    ASSERT_EQ(f.c().Rows(), 3);
    EXPECT_EQ(f.row(2), QStringList({"Feeder A", "Not set", "M-R3*", "Job name missing", "Location name missing", "SIM 1"}));
    QStringList prompts = f.prompts();
    EXPECT_EQ(prompts.size(), 11);
    prompts.removeDuplicates();
    EXPECT_EQ(prompts, QStringList({"Please enter name of new unit [New Unit]",
                                    "Please enter phone B/T ID of Feeder A (if known) [Not set]",
                                    "Please enter version of Feeder A [M-R3x]", "Please enter Job name of Feeder A [Feeder A job]",
                                    "Please enter new location of Feeder A [Feeder A location]",
                                    "Please enter new SIM No for Feeder A (if known) [Not set]"}));
    EXPECT_EQ(f.dialogs.messageTexts(),
              QStringList({"The name unit is already in use", kInvalidNameMessage,
                           "Entries cannot contain a comma: the configuration file separates its fields with commas",
                           "The B/T ID  is already in use", "The B/T ID BT-ONE is already in use"}));
    const std::vector<Shown> refusals = f.shownOf(Shown::Kind::Message);
    EXPECT_EQ(refusals.front().icon, MsgIcon::Critical);
    EXPECT_EQ(refusals[1].icon, MsgIcon::Information);
    for (const Shown& s : refusals)
        EXPECT_EQ(s.buttons, MsgButtons::Ok);

    // The row added counts as well. An empty name ends the operation; the B/T ID prompt, which
    // refuses an empty answer for ever, is left by Cancel. Neither adds a row.
    f.dialogs.clear();
    f.addUnit({"feeder a", ""});
    f.addUnit({"Feeder C", std::nullopt});
    EXPECT_EQ(f.c().Rows(), 3);
    EXPECT_EQ(f.prompts().size(), 4);
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList("The name feeder a is already in use"));
}

TEST(ConfigEditor, SaveAsCreatesTheSystemSaveWritesTheGridAndReloadsItNoDiscardsItAndATableNotWrittenStaysInTheEditor)
{
    Editor f;
    frmMaster& w = f.window();
    const QByteArray original = f.root.read("Grid.cfg");
    const int ports = w.cboCommports->count();
    // Cancel on the name leaves: nothing written, the system list not rebuilt.
    f.click(f.c().cmdSave_as, {std::nullopt});
    EXPECT_EQ(w.cboCommports->count(), ports);
    EXPECT_FALSE(f.c().isHidden());

    // The name of a system that exists is asked about first; No asks for the name again.
    f.dialogs.clear();
    f.click(f.c().cmdSave_as, {"", "x|y", "Grid", "Grid Two"}, {MsgAnswer::Yes, MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::No});
    EXPECT_EQ(f.dialogs.messageTexts(),
              QStringList({"Do you really wish to create a new system?", "New system name is blank\r\nplease enter a valid name",
                           kInvalidNameMessage, "The system Grid exists already.\r\nDo you wish to replace Grid.cfg with this table?",
                           "Do you wish to save the new system: Grid Two"}));
    const Shown& replacing = f.shownOf(Shown::Kind::Message)[3];
    EXPECT_EQ(replacing.icon, MsgIcon::Exclamation);
    EXPECT_EQ(replacing.buttons, MsgButtons::YesNo);
    EXPECT_EQ(f.prompts().first(), QString("Please enter new name for Grid [Grid]"));
    EXPECT_EQ(f.prompts().size(), 4);
    EXPECT_EQ(f.root.read("Grid Two.cfg"), QByteArray(" Unit 1, bt-one, M-R32, Job 1, Site 1, SIM 1\r\n"
                                                       " Unit 2, Not set, M-S32, Job 1, Site 2, \r\n"));
    EXPECT_EQ(f.root.read("Grid.cfg"), original);
    EXPECT_TRUE(f.c().isHidden());
    // INITIALISATION ran again: the new system is listed, the remembered one is open.
    ASSERT_EQ(w.lstSystems->count(), 2);
    EXPECT_EQ(w.lstSystems->item(1)->text(), QString("Grid Two"));
    EXPECT_EQ(w.lstSystems->currentItem()->text(), QString("Grid"));
    EXPECT_EQ(w.windowTitle(), QString("Grid M-R3X Master"));
    EXPECT_GT(w.cboCommports->count(), ports);

    // A folder that cannot be made: said so, nothing written, the editor stays with its grid.
    w.systems->mnuConfig_Click();
    f.root.write("Systems/Blocked", "a file where the folder belongs");
    f.click(f.c().cmdSave_as, {"Blocked"});
    EXPECT_FALSE(f.root.exists("Blocked.cfg"));
    EXPECT_FALSE(f.c().isHidden());
    EXPECT_TRUE(f.dialogs.last()->text.startsWith(QDir::toNativeSeparators(f.root("Systems/Blocked")) + " could not be made."));
    EXPECT_EQ(f.c().Rows(), 3);

    // Save, the editor still open on the remembered system. No: the file stays as it is on disk
    // (here edited by hand meanwhile), the editor hides and the system is read again from the
    // file, so the grid's changes are gone.
    f.addUnit({"Feeder A", "0770 900", "M-R32", "Job 2", "Yard", "Not set"});
    const QByteArray byHand = "Unit 1,bt-one,M-R32,Job 1,Site 1,SIM 1\r\nUnit 2,Not set,M-S32,Job 1,Site 2\r\n"
                              "Unit 3,Not set,M-R32,Job 1,Site 2\r\n";
    f.root.write("Grid.cfg", byHand);
    f.dialogs.clear();
    f.click(f.c().cmdSaveConfig, {}, {MsgAnswer::No});
    EXPECT_EQ(f.dialogs.last()->text, QString("Save changes to Grid.cfg?"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Question);
    EXPECT_TRUE(f.c().isHidden());
    EXPECT_EQ(f.root.read("Grid.cfg"), byHand);
    ASSERT_EQ(w.program.Units.size(), 3u);
    EXPECT_TRUE(QFileInfo(f.root("Systems/Grid/Jobs/Job 1/Site 2/Unit 3")).isDir());

    // Yes: the grid's cells are written as they stand, and the system is read back from them.
    w.systems->mnuConfig_Click();
    ASSERT_EQ(f.c().Rows(), 4);
    f.addUnit({"Feeder A", "0770 900", "M-R32", "Job 2", "Yard", "Not set"});
    f.click(f.c().cmdSaveConfig);
    EXPECT_TRUE(f.c().isHidden());
    EXPECT_EQ(f.root.read("Grid.cfg"), QByteArray(" Unit 1, bt-one, M-R32, Job 1, Site 1, SIM 1\r\n"
                                                   " Unit 2, Not set, M-S32, Job 1, Site 2, \r\n"
                                                   " Unit 3, Not set, M-R32, Job 1, Site 2, \r\n"
                                                   "Feeder A,0770 900,M-R32,Job 2,Yard,Not set\r\n"));
    EXPECT_EQ(w.program.Units.size(), 4u);
    EXPECT_TRUE(QFileInfo(f.root("Systems/Grid/Jobs/Job 2/Yard/Feeder A")).isDir());

    // A table that cannot be written stays in the editor until it is: something holds the file's
    // place, so it cannot be replaced.
    w.systems->mnuConfig_Click();
    QFile::remove(f.root("Grid.cfg"));
    QDir().mkdir(f.root("Grid.cfg"));
    f.addUnit({"Feeder B", "Not set", "M-R32", "Job 1", "Site 3", "Not set"});
    f.dialogs.clear();
    f.click(f.c().cmdSaveConfig);
    EXPECT_FALSE(f.c().isHidden());
    EXPECT_EQ(f.c().Rows(), 6);
    ASSERT_EQ(f.dialogs.messageTexts().size(), 2);
    EXPECT_TRUE(f.dialogs.last()->text.startsWith(QDir::toNativeSeparators(f.root("Grid.cfg")) + " could not be written."));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);

    // Closing the editor, or the main window with the editor open, saves; a failed save keeps both.
    EXPECT_FALSE(f.c().close());
    EXPECT_FALSE(w.close());
    EXPECT_FALSE(f.lifetime.ended());
    EXPECT_FALSE(f.c().isHidden());
    EXPECT_EQ(f.c().Rows(), 6);

    // Once the way is clear, closing the main window saves the same grid and ends the program.
    QDir().rmdir(f.root("Grid.cfg"));
    f.dialogs.clear();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList({"Save changes to Grid.cfg?"}));
    EXPECT_TRUE(f.root.read("Grid.cfg").endsWith("Feeder B,Not set,M-R32,Job 1,Site 3,Not set\r\n"));
    EXPECT_TRUE(f.lifetime.ended());
}
