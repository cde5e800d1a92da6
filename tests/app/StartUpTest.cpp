#include "app/StartUp.h"
#include "support/MasterFixture.h"
#include "ui/frmDummy.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::MasterFixture;

namespace {

// The program folder's files, named relative to it.
struct Start : MasterFixture {
    QString at(const QString& relative) const { return appFolder + QLatin1Char('/') + relative; }
    QByteArray read(const QString& relative) const { return root.read(relative); }
    bool exists(const QString& relative) const { return QFileInfo::exists(at(relative)); }
    void write(const QString& relative, const QStringList& lines) const
    {
        root.writeLines(relative, lines);
    }
    void addSystem(const QString& name, const QStringList& unitLines = {})
    {
        root.mkdirs(QStringLiteral("Systems/") + name);
        if (!unitLines.isEmpty())
            write(name + QStringLiteral(".cfg"), unitLines);
    }
    QByteArray crlf(const QStringList& lines) const
    {
        QByteArray bytes;
        for (const QString& line : lines)
            bytes += line.toUtf8() + "\r\n";
        return bytes;
    }
    QStringList defaultLines() const
    {
        return {QStringLiteral("System Folder = ") + QDir::toNativeSeparators(at(QStringLiteral("Systems"))),
                "Comm port = COM1", "Modem = ", "Dial prefix = ", "Last system = New System", "Last Job = New Job",
                "Last Master = New Master", "Last Slave = New Slave", "Last Connection = ", "Last Mode = TDR"};
    }
    void expectFatal(const QString& text)
    {
        ASSERT_NE(dialogs.last(), nullptr);
        EXPECT_EQ(dialogs.last()->text, text);
        EXPECT_EQ(dialogs.last()->icon, MsgIcon::Critical);
        EXPECT_EQ(dialogs.last()->buttons, MsgButtons::Ok);
        EXPECT_TRUE(lifetime.ended());
        EXPECT_EQ(lifetime.exitCode(), 1);
    }
};

QStringList entries(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

} // namespace

TEST(StartUp, FirstStartMakesTheProgramFolderAndItsDefaults)
{
    Start f;
    ASSERT_TRUE(QDir(f.appFolder).removeRecursively()); // only the parent is there
    frmMaster& w = f.load();

    EXPECT_FALSE(f.lifetime.ended());
    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_EQ(f.read("M-R3X Master.ini"), f.crlf(f.defaultLines()));
    EXPECT_EQ(f.read("M-R3X Master.bak"), f.read("M-R3X Master.ini"));
    EXPECT_TRUE(QFileInfo(f.at("Systems")).isDir());
    EXPECT_FALSE(f.exists("New System.cfg"));
    EXPECT_EQ(w.lstSystems->count(), 0);
    EXPECT_EQ(w.lstSystems->currentRow(), -1);
    EXPECT_EQ(w.windowTitle(), QString("M-R3X Master"));

    EXPECT_EQ(w.program.LastSystem, QString("New System"));
    EXPECT_EQ(w.program.LastMode, QString("TDR"));
    EXPECT_EQ(w.program.CommPortSetting, QString("COM1"));
    EXPECT_EQ(w.program.JobsFolder, f.at("Systems"));
}

TEST(StartUp, TheWindowLoadSetsListsScalesAndLabels)
{
    Start f;
    frmMaster& w = f.load();

    EXPECT_EQ(w.cboThreshold->count(), 24);
    EXPECT_EQ(w.cboThreshold->currentText(), QString("15"));
    EXPECT_EQ(entries(w.cboDuration).first(), QString(" 2"));
    EXPECT_EQ(entries(w.cboDuration).last(), QString(" 10"));
    EXPECT_EQ(w.cboDuration->currentText(), QString(" 3"));
    EXPECT_EQ(entries(w.cboPre_Post), QStringList({"7/1", "6/2", "5/3"}));
    EXPECT_EQ(w.cboPre_Post->currentIndex(), 0);
    // The load and INITIALISATION each append the numbered ports; the start-up window then
    // replaces them with the devices present.
    EXPECT_EQ(w.cboCommports->count(), 2 * 62);
    EXPECT_EQ(w.cboCommports->itemText(61), QString("64"));
    EXPECT_EQ(w.cboCommports->itemText(62), QString("3"));

    EXPECT_EQ(w.picTDR->ScaleRight(), 512);
    EXPECT_EQ(w.picTDR->ScaleBottom(), -1);
    EXPECT_EQ(w.fraTransientViewer->title(), QString("TDR Viewer"));
    EXPECT_EQ(w.filTrig[1]->Pattern(), QString("*.trg;*.vlt"));

    EXPECT_EQ(w.program.ParameterLabels[15], QString("Spare: "));
    EXPECT_EQ(w.program.ParameterLabels[16], QString());
    EXPECT_EQ(w.program.ParameterLabels[17], QString("SIM No: "));
    EXPECT_EQ(w.program.ParameterLabels[18], QString());
}

TEST(StartUp, TheSampleSystemFileIsRenewedOnlyWithANewSettingsFile)
{
    Start f;
    f.write("New System.cfg", {"old"});
    QFile::setPermissions(f.at("New System.cfg"), QFileDevice::ReadOwner);
    f.load();
    EXPECT_EQ(f.read("New System.cfg"), f.crlf({"Unit 1,Phone Number 1,M-R32,Job 1,Location 1,SIM 1",
                                                "Unit 2,Phone Number 2,M-R32,Job 2,Location 2,SIM 2"}));

    Start again; // a settings file is there: the sample is left alone
    again.write("M-R3X Master.ini", again.defaultLines());
    again.write("New System.cfg", {"mine"});
    again.load();
    EXPECT_EQ(again.read("New System.cfg"), QByteArray("mine\r\n"));
}

TEST(StartUp, AReadOnlySettingsFileIsBackedUpAndLaterRewritten)
{
    Start f;
    const QStringList mine{"Last system = Beta", "Comm port = COM4", "Modem = M1"};
    f.write("M-R3X Master.ini", mine);
    f.write("M-R3X Master.bak", {"stale"});
    f.root.mkdirs("Systems");
    for (const char* name : {"M-R3X Master.ini", "M-R3X Master.bak"})
        QFile::setPermissions(f.at(name), QFileDevice::ReadOwner | QFileDevice::ReadUser);
    frmMaster& w = f.load();

    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_EQ(f.read("M-R3X Master.bak"), f.crlf(mine));
    EXPECT_TRUE(QFile::permissions(f.at("M-R3X Master.ini")) & QFileDevice::WriteOwner);
    ASSERT_TRUE(w.startUp->SAVE_SETTINGS());
    EXPECT_TRUE(f.read("M-R3X Master.ini").startsWith("System Folder = "));
    EXPECT_TRUE(f.read("M-R3X Master.ini").contains("Comm port = COM4\r\nModem = M1\r\n"));
}

TEST(StartUp, TheRememberedSystemIsFoundWithoutRegardToCase)
{
    Start f;
    f.addSystem("Alpha", {"A1,1,M-R32,Job,Loc"});
    f.addSystem("Beta", {"B1,1,M-R32,Job,Loc"});
    f.write("M-R3X Master.ini", {"last system = beta"});
    frmMaster& w = f.load();
    EXPECT_EQ(w.lstSystems->currentItem()->text(), QString("Beta"));
    EXPECT_EQ(w.windowTitle(), QString("Beta M-R3X Master"));
    EXPECT_EQ(w.cboUnits[0]->currentText(), QString("B1"));
    // Every listed system gets its jobs folder.
    EXPECT_TRUE(QFileInfo(f.at("Systems/Alpha/Jobs")).isDir());
}

TEST(StartUp, AnUnknownRememberedSystemOpensTheFirst)
{
    Start f;
    f.addSystem("beta");
    f.addSystem("Alpha");
    f.write("M-R3X Master.ini", {"Last system = Gamma"});
    frmMaster& w = f.load();
    EXPECT_EQ(w.lstSystems->currentRow(), 0);
    EXPECT_EQ(w.lstSystems->currentItem()->text(), QString("Alpha"));
    EXPECT_EQ(w.windowTitle(), QString("Alpha M-R3X Master"));
}

TEST(StartUp, AMasterSettingsFileThatCannotBeReadEndsTheProgram)
{
    Start f;
    f.root.mkdirs("M-R3X Master.ini"); // a folder where the file should be
    frmMaster& w = f.load();
    f.expectFatal(QDir::toNativeSeparators(f.at("M-R3X Master.ini")) + " missing");
    EXPECT_EQ(f.dialogs.shown().size(), 1u);
    // Nothing after the failure ran.
    EXPECT_EQ(w.program.ParameterLabels[0], QString());
    EXPECT_EQ(w.program.LastSystem, QString());
}

TEST(StartUp, AMissingSystemsFolderEndsTheProgram)
{
    Start f;
    f.write("Systems", {"a file, not a folder"});
    f.addSystem("Alpha");
    frmMaster& w = f.load();
    f.expectFatal(QDir::toNativeSeparators(f.at("M-R3X Master.ini")) + " missing");
    EXPECT_EQ(w.lstSystems->currentRow(), -1);
}

TEST(StartUp, ABackupThatCannotBeWrittenEndsTheProgram)
{
    Start f;
    f.root.mkdirs("M-R3X Master.bak/inside");
    f.load();
    f.expectFatal(QDir::toNativeSeparators(f.at("M-R3X Master.ini")) + " missing");
}

TEST(StartUp, ARelativeSystemFolderIsMadeInsideTheProgramFolder)
{
    Start f;
    f.write("M-R3X Master.ini", {"System Folder = Data", "Last system = x"});
    f.root.mkdirs("Systems"); // the systems are listed from here whatever the key says
    const QString elsewhere = QDir::currentPath() + "/Data";
    const bool wasThere = QFileInfo::exists(elsewhere);
    frmMaster& w = f.load();
    EXPECT_FALSE(f.lifetime.ended());
    EXPECT_TRUE(QFileInfo(f.at("Data")).isDir());
    EXPECT_EQ(QFileInfo::exists(elsewhere), wasThere);
    EXPECT_EQ(w.program.JobsFolder, f.at("Data"));
}

TEST(StartUp, ExitAsksAndOnYesWritesTheWindowsChoices)
{
    Start f;
    f.addSystem("Alpha", {"A1,1,M-R32,Job 1,Site 1", "A2,2,M-R32,Job 1,Site 2"});
    f.write("M-R3X Master.ini", {"Last system = Alpha", "Comm port = COM7", "Modem = ATZ", "Dial prefix = 9",
                                 "Last Slave = Site 2", "System Folder = " + f.at("Elsewhere")});
    frmMaster& w = f.load();
    ASSERT_FALSE(f.lifetime.ended());
    w.cboCommports->setCurrentIndex(w.cboCommports->findText("12"));
    w.optDisplayMode[1]->setChecked(true);
    const QByteArray before = f.read("M-R3X Master.ini");

    f.dialogs.answer(MsgAnswer::No);
    w.startUp->mnuExit_Click();
    ASSERT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.dialogs.last()->text, QString("Are you sure you wish to exit M-R3X Master?"));
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::YesNo);
    EXPECT_FALSE(f.lifetime.ended());
    EXPECT_EQ(f.read("M-R3X Master.ini"), before);

    w.Comm->setWaitTimeout(5000);
    f.dialogs.answer(MsgAnswer::Yes);
    w.startUp->mnuExit_Click();
    EXPECT_TRUE(f.lifetime.ended());
    EXPECT_EQ(f.lifetime.exitCode(), 0);
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);
    EXPECT_EQ(f.dialogs.shown().size(), 2u);
    EXPECT_EQ(f.read("M-R3X Master.ini"),
              f.crlf({"System Folder = " + QDir::toNativeSeparators(f.at("Systems")), "Comm port = COM7", "Modem = ATZ",
                      "Dial prefix = ", "Last system = Alpha", "Last Job = Job 1", "Last Master = Site 1",
                      "Last Slave = Site 2", "Last Connection = 12", "Last Mode = TRS"}));
}

TEST(StartUp, SavedSettingsHaveNoModeLineWithoutADisplayMode)
{
    Start f;
    frmMaster& w = f.load();
    ASSERT_TRUE(w.startUp->SAVE_SETTINGS());
    const QList<QByteArray> lines = f.read("M-R3X Master.ini").split('\n');
    EXPECT_EQ(lines.size(), 10); // nine lines and the empty rest after the last line end
    EXPECT_EQ(lines[8], QByteArray("Last Connection = \r")); // no port chosen
    EXPECT_EQ(lines[4], QByteArray("Last system = \r"));

    w.optDisplayMode[0]->setChecked(true);
    ASSERT_TRUE(w.startUp->SAVE_SETTINGS());
    EXPECT_TRUE(f.read("M-R3X Master.ini").endsWith("Last Mode = TDR\r\n"));
}

TEST(StartUp, ClosingTheWindowFrameEndsWithoutWritingTheSettings)
{
    Start f;
    frmMaster& w = f.load();
    w.cboCommports->setCurrentIndex(5);
    const QByteArray before = f.read("M-R3X Master.ini");
    w.close();
    EXPECT_TRUE(f.lifetime.ended());
    EXPECT_EQ(f.read("M-R3X Master.ini"), before);
    EXPECT_TRUE(f.dialogs.shown().empty());
}

TEST(StartUp, TheStartUpWindowListsTheDevicesWithNoneChosen)
{
    Start f;
    f.extraDevices = {"Simulated unit"};
    frmMaster& w = f.window();
    frmDummy splash;
    ASSERT_TRUE(splash.Form_Load(w));

    QStringList listed;
    for (int i = 0; i < w.cboCommports->count(); ++i)
        listed << w.cboCommports->itemText(i);
    EXPECT_EQ(listed, w.Comm->DeviceList());
    EXPECT_TRUE(listed.contains("Simulated unit"));
    EXPECT_EQ(w.cboCommports->currentIndex(), -1);
    EXPECT_EQ(splash.lblProgress->text(), QString("Comm port check complete"));
    EXPECT_EQ(splash.lblSystemFolder->text(), "System Path = " + QDir::toNativeSeparators(f.appFolder));
    EXPECT_TRUE(splash.lblVersion->text().startsWith("Version "));
    EXPECT_EQ(splash.lblVersion->text().count('.'), 2);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(splash.isVisible());
    w.hide();
}

TEST(StartUp, TheStartUpWindowStopsWhenTheLoadFails)
{
    Start f;
    f.root.mkdirs("M-R3X Master.ini");
    frmMaster& w = f.window();
    frmDummy splash;
    EXPECT_FALSE(splash.Form_Load(w));
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(f.lifetime.ended());
}

TEST(StartUp, TheProgramFolderIsTheCurrentOneOnlyWhenItIsNamedSo)
{
    EXPECT_EQ(StartUp::appFolderRule("/srv/field/M-R3X Master", "/home/eng"), QString("/srv/field/M-R3X Master"));
    EXPECT_EQ(StartUp::appFolderRule("/srv/field/M-R3X Master/", "/home/eng"), QString("/srv/field/M-R3X Master"));
    EXPECT_EQ(StartUp::appFolderRule("/srv/field/M-R3X Master/Systems", "/home/eng"),
              QString("/home/eng/M-R3X Master"));
    EXPECT_EQ(StartUp::appFolderRule("/srv/m-r3x master", "/home/eng/"), QString("/home/eng/M-R3X Master"));
}

TEST(StartUp, ExitSaysSoWhenTheSettingsCannotBeWritten)
{
    Start f;
    frmMaster& w = f.load();
    ASSERT_TRUE(QFile::remove(f.at("M-R3X Master.ini")));
    f.root.mkdirs("M-R3X Master.ini/locked"); // something in the way of the file
    f.dialogs.answer(MsgAnswer::Yes);
    w.startUp->mnuExit_Click();
    ASSERT_EQ(f.dialogs.shown().size(), 2u);
    EXPECT_EQ(f.dialogs.last()->text, QDir::toNativeSeparators(f.at("M-R3X Master.ini")) +
                                          " could not be written: your last choices are not kept");
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
    EXPECT_TRUE(f.lifetime.ended());
    EXPECT_EQ(f.lifetime.exitCode(), 0);
}
