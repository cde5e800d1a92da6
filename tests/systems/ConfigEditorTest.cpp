#include "support/MasterFixture.h"
#include "systems/ConfigEditor.h"
#include "systems/Systems.h"
#include "ui/frmConfig.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::MasterFixture;
using Shown = ScriptedDialogs::Shown;

namespace {

// The system "Grid" with two units, opened at start-up, and its table shown in the editor.
struct Editor : MasterFixture {
    Editor()
    {
        root.writeLines("Grid.cfg", {"Unit 1,bt-one,M-R32,Job 1,Site 1,SIM 1", "Unit 2,Not set,M-S32,Job 1,Site 2"});
        root.writeLines("M-R3X Master.ini", {"Last system = Grid"});
        QDir().mkpath(root("Systems/Grid/Jobs"));
        load();
        window().systems->mnuConfig_Click();
        dialogs.clear();
    }
    frmConfig& c() { return window().config(); }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int col = 0; col < 6; ++col)
            cells << const_cast<Editor*>(this)->c().TextMatrix(r, col);
        return cells;
    }
    void select(int r) { c().grdCFG->setCurrentCell(r - 1, 0); }
    // Answers every prompt of "Add a unit" in turn.
    void addUnit(const QStringList& answers)
    {
        for (const QString& a : answers)
            dialogs.answerPrompt(a);
        c().cmdAdd_a_unit->click();
    }
    std::vector<Shown> messages() const
    {
        std::vector<Shown> out;
        for (const Shown& s : dialogs.shown())
            if (s.kind == Shown::Kind::Message)
                out.push_back(s);
        return out;
    }
    QStringList prompts() const
    {
        QStringList out;
        for (const Shown& s : dialogs.shown())
            if (s.kind == Shown::Kind::Prompt)
                out << s.text + " [" + s.defaultAnswer + "]";
        return out;
    }
};

const QString kInvalidNameMessage = "Names cannot contain the characters:\r\n \\ / : * ? \" < > |";

} // namespace

TEST(ConfigEditor, AddingAUnitChecksEveryAnswerBeforeTheRowIsAdded)
{
    Editor f;
    ASSERT_FALSE(f.lifetime.ended());
    ASSERT_EQ(f.c().Rows(), 3);
    f.addUnit({"unit", "a/b", "Feeder A",  // "unit" occurs within " Unit 1"
               "", "BT-ONE", "Not set",    // an empty B/T ID occurs in every cell; "Not set" is never checked
               "",                         // version
               "",                         // job
               "   ",                      // location: blanks alone are no name
               "SIM 1"});                  // equal to " SIM 1" only with the loaded cell's blank
    ASSERT_EQ(f.c().Rows(), 4);
    EXPECT_EQ(f.row(3), QStringList({"Feeder A", "Not set", "M-R3*", "Job name missing", "Location name missing", "SIM 1"}));
    EXPECT_EQ(f.prompts(), QStringList({
                               "Please enter name of new unit [New Unit]",
                               "Please enter name of new unit [New Unit]",
                               "Please enter name of new unit [New Unit]",
                               "Please enter phone B/T ID of Feeder A (if known) [Not set]",
                               "Please enter phone B/T ID of Feeder A (if known) [Not set]",
                               "Please enter phone B/T ID of Feeder A (if known) [Not set]",
                               "Please enter version of Feeder A [M-R3x]",
                               "Please enter Job name of Feeder A [Feeder A job]",
                               "Please enter new location of Feeder A [Feeder A location]",
                               "Please enter new SIM No for Feeder A (if known) [Not set]",
                           }));
    const std::vector<Shown> refusals = f.messages();
    ASSERT_EQ(refusals.size(), 4u);
    EXPECT_EQ(refusals[0].text, QString("The name unit is already in use"));
    EXPECT_EQ(refusals[0].icon, MsgIcon::Critical);
    EXPECT_EQ(refusals[1].text, kInvalidNameMessage);
    EXPECT_EQ(refusals[1].icon, MsgIcon::Information);
    EXPECT_EQ(refusals[2].text, QString("The B/T ID  is already in use"));
    EXPECT_EQ(refusals[3].text, QString("The B/T ID BT-ONE is already in use"));
    for (const Shown& s : refusals)
        EXPECT_EQ(s.buttons, MsgButtons::Ok);

    // A row added in this editor counts as typed: its job is pointed out, its SIM number refused.
    // Cancel then leaves with nothing added.
    f.dialogs.clear();
    for (const char* answer : {"Feeder B", "Not set", "M-R32", "Job name missing", "Yard", "SIM 1"})
        f.dialogs.answerPrompt(answer);
    f.dialogs.cancelPrompt();
    f.c().cmdAdd_a_unit->click();
    EXPECT_EQ(f.c().Rows(), 4);
    EXPECT_EQ(f.dialogs.messageTexts(),
              QStringList({"The name Job name missing is already in use", "SIM no SIM 1 is already in use"}));
}

TEST(ConfigEditor, NamesThatWouldBreakTheFileAreRefusedAndCancelChangesNothing)
{
    Editor f;
    // Names that cannot be folders, and commas, which would split the file's line; an empty name
    // then ends the operation.
    f.addUnit({"..", "North, yard", ""});
    EXPECT_EQ(f.c().Rows(), 3);
    EXPECT_EQ(f.dialogs.messageTexts(),
              QStringList({kInvalidNameMessage,
                           "Entries cannot contain a comma: the configuration file separates its fields with commas"}));
    EXPECT_EQ(f.prompts().size(), 3);

    // The B/T ID prompt would refuse an empty answer for ever: Cancel leaves it.
    f.dialogs.clear();
    f.dialogs.answerPrompt("Feeder C");
    f.dialogs.cancelPrompt();
    f.c().cmdAdd_a_unit->click();
    EXPECT_EQ(f.c().Rows(), 3);
    EXPECT_EQ(f.prompts().size(), 2);
    EXPECT_TRUE(f.dialogs.messageTexts().isEmpty());
}

TEST(ConfigEditor, DeleteMoveAndTheSettersActOnTheSelectedRow)
{
    Editor f;
    f.select(2);
    f.dialogs.answer(MsgAnswer::No);
    f.c().cmdDelete_a_unit->click();
    ASSERT_EQ(f.c().Rows(), 3);
    EXPECT_EQ(f.dialogs.last()->text, QString("Do you really wish to delete  Unit 2?"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Critical);
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::YesNo);
    f.c().cmdDelete_a_unit->click();
    ASSERT_EQ(f.c().Rows(), 2);
    EXPECT_EQ(f.row(1)[0], QString(" Unit 1"));

    // The last unit stays.
    f.dialogs.clear();
    f.c().cmdDelete_a_unit->click();
    EXPECT_EQ(f.c().Rows(), 2);
    EXPECT_EQ(f.dialogs.last()->text,
              QString("configuration requires a minimum of 1 unit\r\n(add a new unit then delete unwanted unit)"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);

    // Move: the defaults are the row's cells; an empty location becomes "New Location".
    f.dialogs.clear();
    f.dialogs.answerPrompt("Job 9");
    f.dialogs.answerPrompt("");
    f.c().cmdMove_a_Unit->click();
    EXPECT_EQ(f.row(1), QStringList({" Unit 1", " bt-one", " M-R32", "Job 9", "New Location", " SIM 1"}));
    EXPECT_EQ(f.prompts(), QStringList({"Please enter new job of  Unit 1 [ Job 1]",
                                        "Please enter new location of  Unit 1 [ Site 1]"}));
    // Cancel half way moves nothing.
    f.dialogs.answerPrompt("Job 10");
    f.dialogs.cancelPrompt();
    f.c().cmdMove_a_Unit->click();
    EXPECT_EQ(f.row(1)[3], QString("Job 9"));

    // The SIM number takes any answer, even an empty one; Cancel keeps the B/T ID; No asks nothing.
    f.dialogs.clear();
    f.dialogs.answerPrompt("");
    f.c().cmdSet_SIM_No->click();
    f.dialogs.cancelPrompt();
    f.c().cmdSet_BT_ID->click();
    f.dialogs.answer(MsgAnswer::No);
    f.c().cmdSet_BT_ID->click();
    EXPECT_EQ(f.row(1)[5], QString());
    EXPECT_EQ(f.row(1)[1], QString(" bt-one"));
    EXPECT_EQ(f.prompts(), QStringList({"Please enter SIM number of  Unit 1 [ SIM 1]",
                                        "Please enter B/T ID for  Unit 1 [ bt-one]"}));
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList({"Do you really wish to change the SIM number of  Unit 1?",
                                                     "Do you really wish to change the B/T ID of  Unit 1?",
                                                     "Do you really wish to change the B/T ID of  Unit 1?"}));
}

TEST(ConfigEditor, SaveWritesTheGridAndReloadsTheSystemWhileNoDiscardsIt)
{
    Editor f;
    frmMaster& w = f.window();
    f.select(1);
    f.dialogs.answerPrompt("Job 2");
    f.dialogs.answerPrompt("Yard");
    f.c().cmdMove_a_Unit->click();
    f.addUnit({"Feeder A", "0770 900", "M-R32", "Job 2", "Yard", "Not set"});

    // No: the file stays as it is on disk (here edited by hand meanwhile), the editor hides and
    // the system is read again from the file, so the grid's changes are gone.
    const QByteArray byHand = "Unit 1,bt-one,M-R32,Job 1,Site 1,SIM 1\r\nUnit 2,Not set,M-S32,Job 1,Site 2\r\n"
                              "Unit 3,Not set,M-R32,Job 1,Site 2\r\n";
    f.root.write("Grid.cfg", byHand);
    f.dialogs.clear();
    f.dialogs.answer(MsgAnswer::No);
    f.c().cmdSaveConfig->click();
    EXPECT_EQ(f.dialogs.last()->text, QString("Save changes to Grid.cfg?"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Question);
    EXPECT_TRUE(f.c().isHidden());
    EXPECT_EQ(f.root.read("Grid.cfg"), byHand);
    ASSERT_EQ(w.program.Units.size(), 3u);
    EXPECT_TRUE(QFileInfo(f.root("Systems/Grid/Jobs/Job 1/Site 2/Unit 3")).isDir());
    w.systems->mnuConfig_Click();
    EXPECT_EQ(f.c().Rows(), 4);
    EXPECT_EQ(f.row(1)[3], QString(" Job 1"));

    // Yes: the grid's cells are written as they stand and read back to the same table.
    f.select(1);
    f.dialogs.answerPrompt("Job 2");
    f.dialogs.answerPrompt("Yard");
    f.c().cmdMove_a_Unit->click();
    f.addUnit({"Feeder A", "0770 900", "M-R32", "Job 2", "Yard", "Not set"});
    f.c().cmdSaveConfig->click();
    EXPECT_TRUE(f.c().isHidden());
    EXPECT_EQ(f.root.read("Grid.cfg"), QByteArray(" Unit 1, bt-one, M-R32,Job 2,Yard, SIM 1\r\n"
                                                   " Unit 2, Not set, M-S32, Job 1, Site 2, \r\n"
                                                   " Unit 3, Not set, M-R32, Job 1, Site 2, \r\n"
                                                   "Feeder A,0770 900,M-R32,Job 2,Yard,Not set\r\n"));
    ASSERT_EQ(w.program.Units.size(), 4u);
    EXPECT_EQ(w.program.Units[0].Job + "/" + w.program.Units[0].Location, "Job 2/Yard");
    EXPECT_EQ(w.program.Units[1].SimNo, "");
    EXPECT_EQ(w.program.Units[3].BtId, "0770 900");
    // Reopening made the folders of the new place.
    EXPECT_TRUE(QFileInfo(f.root("Systems/Grid/Jobs/Job 2/Yard/Feeder A")).isDir());
    EXPECT_TRUE(QFileInfo(f.root("Systems/Grid/Jobs/Job 2/Yard/Unit 1")).isDir());
}

TEST(ConfigEditor, ATableThatCannotBeWrittenStaysInTheEditorUntilItIs)
{
    Editor f;
    frmMaster& w = f.window();
    // Something holds the file's place, so it cannot be replaced.
    QFile::remove(f.root("Grid.cfg"));
    QDir().mkdir(f.root("Grid.cfg"));
    f.addUnit({"Feeder A", "Not set", "M-R32", "Job 1", "Site 3", "Not set"});

    f.dialogs.clear();
    f.c().cmdSaveConfig->click();
    EXPECT_FALSE(f.c().isHidden());
    EXPECT_EQ(f.c().Rows(), 4);
    ASSERT_EQ(f.dialogs.messageTexts().size(), 2);
    EXPECT_TRUE(f.dialogs.last()->text.startsWith(QDir::toNativeSeparators(f.root("Grid.cfg")) + " could not be written."));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);

    // Closing the editor, or the main window with the editor open, saves; a failed save keeps both.
    EXPECT_FALSE(f.c().close());
    EXPECT_FALSE(w.close());
    EXPECT_FALSE(f.lifetime.ended());
    EXPECT_FALSE(f.c().isHidden());
    EXPECT_EQ(f.c().Rows(), 4);

    // Once the way is clear, the same grid is saved.
    QDir().rmdir(f.root("Grid.cfg"));
    f.c().cmdSaveConfig->click();
    EXPECT_TRUE(f.c().isHidden());
    EXPECT_TRUE(f.root.read("Grid.cfg").endsWith("Feeder A,Not set,M-R32,Job 1,Site 3,Not set\r\n"));
    EXPECT_EQ(w.program.Units.size(), 3u);
}

TEST(ConfigEditor, SaveAsCreatesTheSystemAndReselectsTheRememberedOne)
{
    Editor f;
    frmMaster& w = f.window();
    const QByteArray original = f.root.read("Grid.cfg");
    const int ports = w.cboCommports->count();

    // Cancel on the name leaves: nothing written, the system list not rebuilt.
    f.dialogs.cancelPrompt();
    f.c().cmdSave_as->click();
    EXPECT_EQ(w.cboCommports->count(), ports);
    EXPECT_FALSE(f.c().isHidden());

    f.dialogs.clear();
    for (const char* name : {"", "x|y", "Grid Two"})
        f.dialogs.answerPrompt(name);
    f.c().cmdSave_as->click();
    EXPECT_EQ(f.dialogs.messageTexts(),
              QStringList({"Do you really wish to create a new system?", "New system name is blank\r\nplease enter a valid name",
                           kInvalidNameMessage, "Do you wish to save the new system: Grid Two"}));
    EXPECT_EQ(f.prompts().first(), QString("Please enter new name for Grid [Grid]"));
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
    f.dialogs.clear();
    f.dialogs.answerPrompt("Blocked");
    f.c().cmdSave_as->click();
    EXPECT_FALSE(f.root.exists("Blocked.cfg"));
    EXPECT_FALSE(f.c().isHidden());
    EXPECT_TRUE(f.dialogs.last()->text.startsWith(QDir::toNativeSeparators(f.root("Systems/Blocked")) + " could not be made."));
    EXPECT_EQ(f.c().Rows(), 3);
}

TEST(ConfigEditor, ClosingTheEditorOrTheMainWindowAsksToSave)
{
    Editor f;
    frmMaster& w = f.window();
    f.addUnit({"Feeder A", "Not set", "M-R32", "Job 1", "Site 3", "Not set"});
    f.dialogs.clear();
    f.dialogs.answer(MsgAnswer::No);
    EXPECT_TRUE(f.c().close());
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList({"Save changes to Grid.cfg?"}));
    EXPECT_EQ(w.program.Units.size(), 2u);

    w.systems->mnuConfig_Click();
    f.addUnit({"Feeder B", "Not set", "M-R32", "Job 1", "Site 3", "Not set"});
    f.dialogs.clear();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList({"Save changes to Grid.cfg?"}));
    EXPECT_TRUE(f.root.read("Grid.cfg").endsWith("Feeder B,Not set,M-R32,Job 1,Site 3,Not set\r\n"));
    EXPECT_TRUE(f.lifetime.ended());
}
