#include "support/MasterFixture.h"
#include "ui/frmAbout.h"
#include "ui/frmDummy.h"

#include <QCoreApplication>
#include <QDir>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::MasterFixture;

namespace {

// A program folder with the system "Grid System" (a blank in its name) open at start-up.
struct Desktop : MasterFixture {
    Desktop()
    {
        addSystem("Grid System", {"Unit 1,Not set,M-R32,Job 1,North Yard,SIM 1"});
        load().show(); // panels count as shown only in a shown window
    }
    QString cfg() const { return QDir::toNativeSeparators(root("Grid System.cfg")); }
    /// What was started since the last call, each as its command line.
    QStringList started()
    {
        QStringList lines;
        for (const CommandLine& c : launcher.started)
            lines << (QStringList(c.program) + c.arguments).join(' ');
        launcher.started.clear();
        return lines;
    }
};

} // namespace

TEST(Menu, EntriesTogglePanelsAboutShowsOneBoxAndTheOutsideToolsStartTheFirstProgramThatStartsWithoutAShell)
{
    Desktop f;
    frmMaster& w = f.window();
    ASSERT_FALSE(f.lifetime.ended());
    QStringList captions;
    for (const QAction* a : w.menuBar()->actions())
        captions << a->objectName() + "=" + a->text();
    EXPECT_EQ(captions, QStringList({"mnuSystem=System Selector", "mnuConfig=Configuration", "mnuComms=Terminal",
                                     "mnuControl=Control Panel", "=Diagnostic Tools", "=Windows Tools", "=Export",
                                     "mnuAbout=About", "mnuExit=Exit"}));

    for (auto [entry, panel] : {std::pair{w.mnuComms, static_cast<QWidget*>(w.fraSaxComm)}, {w.mnuControl, w.fraControls}}) {
        const bool before = panel->isVisible();
        entry->trigger();
        EXPECT_NE(panel->isVisible(), before) << panel->objectName().toStdString();
        entry->trigger();
        EXPECT_EQ(panel->isVisible(), before) << panel->objectName().toStdString();
    }
    // The panels with an "X" label hide through it; "Misc" has none.
    w.mnuDisplay->trigger();
    w.mnuMemo->trigger();
    EXPECT_TRUE(w.fraDisplaySettings->isVisible() && w.fraMemo->isVisible());
    w.lblHide_Display_Settings->Click();
    w.lblHideMemo->Click();
    EXPECT_FALSE(w.fraDisplaySettings->isVisible() || w.fraMemo->isVisible());
    w.mnuMisc->trigger();
    EXPECT_TRUE(w.fraMisc->isVisible());
    EXPECT_EQ(w.fraMisc->findChildren<EventLabel*>().size(), 0);

    // Opening the system hid the system list; the menu brings it back and blanks all three plots.
    EXPECT_TRUE(w.fraSystems->isHidden());
    PlotSurface* const plots[] = {w.eventSlot[0].picvolts, w.eventSlot[1].picvolts, w.tdrView.picTDR};
    for (PlotSurface* plot : plots)
        plot->Line(1, 1, 100, 100);
    w.mnuSystem->trigger();
    EXPECT_FALSE(w.fraSystems->isHidden());
    for (const PlotSurface* plot : plots)
        EXPECT_TRUE(plot->Runs().empty()) << plot->objectName().toStdString();
    w.lblHideSystemSelector->Click();
    EXPECT_TRUE(w.fraSystems->isHidden());

    // "About" shows the product, the build and the disclaimer, in one box however often chosen.
    w.mnuAbout->trigger();
    w.mnuAbout->trigger();
    const QList<frmAbout*> boxes = w.findChildren<frmAbout*>();
    ASSERT_EQ(boxes.size(), 1);
    QPointer<frmAbout> about(boxes.front());
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->windowTitle() + " / " + about->lblTitle->text(), QString("About M-R3X Master / M-R3X Master"));
    EXPECT_TRUE(QRegularExpression("^Version \\d+\\.\\d+\\.\\d+$").match(about->lblVersion->text()).hasMatch());
    EXPECT_GE(about->lblDisclaimer->text().count("\r\n"), 2);
    EXPECT_FALSE(programIcon().pixmap(64, 64).isNull()); // the pictures are built into the program
    // OK unloads the box.
    about->cmdOK->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());

    // The outside tools: the desktop's handlers come first; the path with its blanks stays one
    // argument, passed without a shell.
    f.launcher.handlers["text/plain"] = {"/usr/bin/gnome-text-editor", {"--new-window"}};
    f.launcher.handlers["inode/directory"] = {"nautilus", {"--new-window"}};
    f.launcher.installed = QStringList{"/usr/bin/gnome-text-editor", "nautilus", "gedit", "kate", "kcalc", "xcalc"};
    w.mnuNotepad->trigger();
    w.mnuExplorer->trigger();
    EXPECT_EQ(f.started(), QStringList({"/usr/bin/gnome-text-editor --new-window " + f.cfg(),
                                        "nautilus --new-window " + QDir::toNativeSeparators(f.root("Systems/Grid System/Jobs/Job 1/North Yard"))}));
    EXPECT_EQ(f.launcher.attempted.front().arguments.back(), f.cfg());

    // Without a handler: the first common program installed; one that fails to start is passed by.
    f.launcher.handlers.clear();
    f.launcher.failing = QStringList{"gedit"};
    w.mnuNotepad->trigger();
    w.mnuCalculator->trigger();
    EXPECT_EQ(f.started(), QStringList({"kate " + f.cfg(), "kcalc"}));
    EXPECT_TRUE(f.dialogs.shown().empty());

    // Nothing to start: a plain message, and the program goes on.
    f.launcher.installed.clear();
    w.mnuNotepad->trigger();
    w.mnuCalculator->trigger();
    w.mnuExplorer->trigger();
    EXPECT_TRUE(f.started().isEmpty());
    const QStringList messages = f.dialogs.messageTexts();
    ASSERT_EQ(messages.size(), 3);
    EXPECT_TRUE(messages[0].startsWith("No text editor could be started to open " + f.cfg()));
    EXPECT_TRUE(messages[1].startsWith("No calculator could be started."));
    EXPECT_TRUE(messages[2].startsWith("No file manager could be started"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
    EXPECT_FALSE(f.lifetime.ended());
}
