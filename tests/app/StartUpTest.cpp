#include "app/StartUp.h"
#include "support/MasterFixture.h"
#include "systems/UnitAddresses.h"
#include "ui/frmDummy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <functional>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::MasterFixture;

namespace {

const QString Ini = QStringLiteral("M-R3X Master.ini");

struct Start : MasterFixture {
    QString native(const QString& relative) const { return QDir::toNativeSeparators(root(relative)); }
};

/// The lines, each ended by CR LF, one byte a character (as a Windows editor saves them).
QByteArray crlf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

} // namespace

TEST(StartUp, FirstStartMakesTheProgramFolderAndItsDefaultsAndListsTheDevices)
{
    Start f;
    ASSERT_TRUE(QDir(f.appFolder).removeRecursively()); // only the parent is there
    f.extraDevices = {"Simulated unit"};
    frmMaster& w = f.window();
    frmDummy splash;
    ASSERT_TRUE(splash.Form_Load(w));
    // The start-up window lists the devices with none chosen, and gives way to the main window.
    EXPECT_GE(w.cboCommports->findText("Simulated unit"), 0);
    EXPECT_EQ(w.cboCommports->currentIndex(), -1);
    EXPECT_EQ(splash.lblProgress->text(), QString("Comm port check complete"));
    EXPECT_EQ(splash.lblSystemFolder->text(), "System Path = " + QDir::toNativeSeparators(f.appFolder));
    EXPECT_TRUE(w.isVisible() && !splash.isVisible());

    EXPECT_FALSE(f.lifetime.ended());
    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_EQ(f.root.read(Ini), crlf({"System Folder = " + f.native("Systems"), "Comm port = COM1", "Modem = ",
                                      "Dial prefix = ", "Last system = New System", "Last Job = New Job",
                                      "Last Master = New Master", "Last Slave = New Slave", "Last Connection = ",
                                      "Last Mode = TDR"}));
    EXPECT_EQ(f.root.read("M-R3X Master.bak"), f.root.read(Ini));
    EXPECT_FALSE(f.root.exists("New System.cfg"));
    EXPECT_EQ(w.windowTitle(), QString("M-R3X Master"));
    // The unit addresses are written with their notes alone.
    const QByteArray addresses = f.root.read("Unit Addresses.txt");
    EXPECT_TRUE(addresses.startsWith("# ") && addresses.endsWith("\r\n"));
    EXPECT_TRUE(w.unitAddresses->table().addresses.empty() && w.unitAddresses->table().broken.empty());

    // Until a display mode and a port are chosen, the saved settings end with an empty port and
    // no mode line.
    ASSERT_TRUE(w.startUp->SAVE_SETTINGS());
    const QByteArray saved = f.root.read(Ini);
    EXPECT_TRUE(saved.endsWith("Last Slave = \r\nLast Connection = \r\n"));

    // Closing the window frame ends the program without a question and without writing.
    w.cboCommports->setCurrentIndex(5);
    w.close();
    EXPECT_TRUE(f.lifetime.ended());
    EXPECT_EQ(f.root.read(Ini), saved);
    EXPECT_TRUE(f.dialogs.shown().empty());
}

TEST(StartUp, TheSampleIsRenewedOnlyWithNewSettingsSavesCutShortLeaveNothingAndExitSaysWhenItCannotWrite)
{
    Start f;
    f.root.writeLines("New System.cfg", {"old"});
    QFile::setPermissions(f.root("New System.cfg"), QFileDevice::ReadOwner);
    // The temporary files of saves a kill cut short, beside others that are not.
    const QDateTime now = f.clock.currentDateTime();
    const auto leave = [&f](const QString& name, const QDateTime& written) {
        QFile file(f.root.write(name, "half a file"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
    };
    const QStringList leftOver = {"Substation.cfg.AbCdEf", "M-R3X Master.ini.QwErTy", "M-R3X Master.bak.xYzAbC",
                                  "Cable Types.txt.KlmNop"};
    // A suffix a person would type is an engineer's own copy; a fresh one may be a save under way
    // in another window.
    const QStringList kept = {"Grid.cfg.backup", "Grid.cfg.Before", "Grid.cfg.OLDONE", "Grid.cfg.AbC123",
                              "Notes.doc.AbCdEf", "Grid.cfg.GhIjKl"};
    for (const QString& name : leftOver + kept)
        leave(name, now.addSecs(-11 * 60));
    leave("Grid.cfg.GhIjKl", now.addSecs(-60));
    frmMaster& w = f.load();
    ASSERT_FALSE(f.lifetime.ended());
    EXPECT_EQ(f.root.read("New System.cfg"), crlf({"Unit 1,Phone Number 1,M-R32,Job 1,Location 1,SIM 1",
                                                   "Unit 2,Phone Number 2,M-R32,Job 2,Location 2,SIM 2"}));
    for (const QString& name : leftOver)
        EXPECT_FALSE(f.root.exists(name)) << name.toStdString();
    for (const QString& name : kept)
        EXPECT_TRUE(f.root.exists(name)) << name.toStdString();

    // Exit says so when the settings cannot be written.
    ASSERT_TRUE(QFile::remove(f.root(Ini)));
    f.root.mkdirs(Ini + "/locked"); // something in the way of the file
    f.dialogs.answer(MsgAnswer::Yes);
    w.startUp->mnuExit_Click();
    EXPECT_EQ(f.dialogs.messageTexts().value(1), f.native(Ini) + " could not be written: your last choices are not kept");
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
    EXPECT_TRUE(f.lifetime.ended());
    EXPECT_EQ(f.lifetime.exitCode(), 0);

    // A settings file is there, read-only, as is its backup: the sample is left alone, the
    // backup renewed and the settings file later rewritten.
    Start again;
    const QStringList mine{"Last system = Beta", "Comm port = COM4", "Modem = M1"};
    again.root.writeLines(Ini, mine);
    again.root.writeLines("M-R3X Master.bak", {"stale"});
    again.root.writeLines("New System.cfg", {"mine"});
    again.root.mkdirs("Systems");
    for (const QString& name : {Ini, QString("M-R3X Master.bak")})
        QFile::setPermissions(again.root(name), QFileDevice::ReadOwner | QFileDevice::ReadUser);
    again.load();
    EXPECT_TRUE(again.dialogs.shown().empty());
    EXPECT_EQ(again.root.read("New System.cfg"), QByteArray("mine\r\n"));
    EXPECT_EQ(again.root.read("M-R3X Master.bak"), crlf(mine));
    ASSERT_TRUE(again.window().startUp->SAVE_SETTINGS());
    EXPECT_TRUE(again.root.read(Ini).startsWith("System Folder = "));
}

TEST(StartUp, TheRememberedSystemIsFoundWithoutRegardToCaseOrReplacedByTheFirst)
{
    const std::pair<QString, QString> cases[] = {{"beta", "Beta"}, {"Gamma", "Alpha"}};
    for (const auto& [remembered, opened] : cases) {
        Start f;
        f.addSystem("Beta", {"B1,1,M-R32,Job,Loc"});
        f.addSystem("Alpha", {"A1,1,M-R32,Job,Loc"});
        f.root.writeLines(Ini, {"last system = " + remembered});
        frmMaster& w = f.load();
        ASSERT_NE(w.lstSystems->currentItem(), nullptr) << remembered.toStdString();
        EXPECT_EQ(w.lstSystems->currentItem()->text(), opened);
        EXPECT_EQ(w.windowTitle(), opened + " M-R3X Master");
        // Every listed system gets its jobs folder, opened or not.
        EXPECT_TRUE(QFileInfo(f.root("Systems/Alpha/Jobs")).isDir());
        EXPECT_TRUE(QFileInfo(f.root("Systems/Beta/Jobs")).isDir());
    }
}

TEST(StartUp, ASettingsFileBackupOrSystemsFolderInTheWayEndsTheProgram)
{
    const std::pair<const char*, std::function<void(Start&)>> cases[] = {
        {"a folder where the settings file belongs", [](Start& f) { f.root.mkdirs(Ini); }},
        {"a file where the systems folder belongs",
         [](Start& f) { f.root.writeLines(Ini, {"System Folder = Data"}); f.root.writeLines("Systems", {"a file"}); }},
        {"a backup that cannot be written", [](Start& f) { f.root.mkdirs("M-R3X Master.bak/inside"); }}};
    for (const auto& [name, arrange] : cases) {
        SCOPED_TRACE(name);
        Start f;
        arrange(f);
        frmMaster& w = f.window();
        frmDummy splash;
        EXPECT_FALSE(splash.Form_Load(w));
        EXPECT_FALSE(w.isVisible());
        ASSERT_EQ(f.dialogs.shown().size(), 1u);
        EXPECT_EQ(f.dialogs.last()->text, f.native(Ini) + " missing");
        EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Critical);
        // The program's end goes to the caller; nothing after the failure ran.
        EXPECT_TRUE(f.lifetime.ended());
        EXPECT_EQ(f.lifetime.exitCode(), 1);
        EXPECT_EQ(w.program.ParameterLabels[0], QString());
    }
}

TEST(StartUp, ARelativeSystemFolderIsMadeInsideTheProgramFolderAndExitAsksAndOnYesWritesTheWindowsChoices)
{
    // The files as a Windows editor saves them, one byte a character: "Süd", "Müllheim" keep
    // their names in the folders and their encoding in the settings written back.
    Start f;
    f.addSystem("Alpha");
    f.root.write("Alpha.cfg", "A1,1,M-R32,S\xFC" "d,M\xFCllheim,SIM 1\r\nA2,2,M-R32,S\xFC" "d,Nord,SIM 2\r\n");
    f.root.write(Ini, "Last system = Alpha\r\nComm port = COM7\r\nModem = ATZ\r\nDial prefix = 9\r\nLast Job = S\xFC"
                      "d\r\nLast Master = M\xFCllheim\r\nLast Slave = Nord\r\nSystem Folder = Data\r\n");
    const bool inCurrentFolder = QFileInfo::exists(QDir::currentPath() + "/Data");
    frmMaster& w = f.load();
    ASSERT_FALSE(f.lifetime.ended());
    EXPECT_TRUE(QFileInfo(f.root("Data")).isDir());
    EXPECT_EQ(QFileInfo::exists(QDir::currentPath() + "/Data"), inCurrentFolder);
    const QString location = f.root(QStringLiteral("Systems/Alpha/Jobs/S\u00fcd/M\u00fcllheim/A1"));
    EXPECT_TRUE(QFileInfo(location).isDir());
    EXPECT_EQ(w.filTrig[0]->Path(), location);
    w.cboCommports->setCurrentIndex(w.cboCommports->findText("12"));
    w.optDisplayMode[1]->setChecked(true);
    const QByteArray before = f.root.read(Ini);

    f.dialogs.answer(MsgAnswer::No);
    w.startUp->mnuExit_Click();
    ASSERT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.dialogs.last()->text, QString("Are you sure you wish to exit M-R3X Master?"));
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::YesNo);
    EXPECT_FALSE(f.lifetime.ended());
    EXPECT_EQ(f.root.read(Ini), before);

    w.Comm->setWaitTimeout(5000);
    f.dialogs.answer(MsgAnswer::Yes);
    w.startUp->mnuExit_Click();
    EXPECT_TRUE(f.lifetime.ended());
    EXPECT_EQ(f.lifetime.exitCode(), 0);
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);
    EXPECT_EQ(f.dialogs.shown().size(), 2u);
    EXPECT_EQ(f.root.read(Ini),
              crlf({"System Folder = " + f.native("Systems"), "Comm port = COM7", "Modem = ATZ", "Dial prefix = ",
                    "Last system = Alpha", QStringLiteral("Last Job = S\u00fcd"),
                    QStringLiteral("Last Master = M\u00fcllheim"), "Last Slave = Nord", "Last Connection = 12",
                    "Last Mode = TRS"}));
}

TEST(StartUp, TheProgramFolderIsTheCurrentOneOnlyWhenItIsNamedSo)
{
    EXPECT_EQ(StartUp::appFolderRule("/srv/field/M-R3X Master/", "/home/eng"), QString("/srv/field/M-R3X Master"));
    EXPECT_EQ(StartUp::appFolderRule("/srv/field/M-R3X Master/Systems", "/home/eng"),
              QString("/home/eng/M-R3X Master"));
    EXPECT_EQ(StartUp::appFolderRule("/srv/m-r3x master", "/home/eng/"), QString("/home/eng/M-R3X Master"));
}
