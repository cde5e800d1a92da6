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
        root.writeLines("Grid System.cfg", {"Unit 1,Not set,M-R32,Job 1,North Yard,SIM 1"});
        QDir().mkpath(root("Systems/Grid System/Jobs"));
        load().show(); // panels count as shown only in a shown window
    }
    QString cfg() const { return QDir::toNativeSeparators(root("Grid System.cfg")); }
};

QStringList captions(const QList<QAction*>& actions)
{
    QStringList out;
    for (const QAction* a : actions)
        out << a->objectName() + "=" + a->text();
    return out;
}

} // namespace

TEST(Menu, EntriesTogglePanelsAndTheSystemSelectorBlanksThePlots)
{
    Desktop f;
    frmMaster& w = f.window();
    ASSERT_FALSE(f.lifetime.ended());
    EXPECT_EQ(captions(w.menuBar()->actions()),
              QStringList({"mnuSystem=System Selector", "mnuConfig=Configuration", "mnuComms=Terminal",
                           "mnuControl=Control Panel", "=Diagnostic Tools", "=Windows Tools", "=Export",
                           "mnuAbout=About", "mnuExit=Exit"}));
    EXPECT_EQ(captions(w.mnuTools->actions()), QStringList({"mnuSettings=Unit Settings", "mnuDisplay=Display Settings",
                                                            "mnuMisc=Misc", "mnuMemo=Memo window"}));
    EXPECT_EQ(captions(w.mnuWindowsTools->actions()),
              QStringList({"mnuExplorer=Explorer", "mnuNotepad=Notepad", "mnuCalculator=Calculator"}));

    for (auto [entry, panel] : {std::pair{w.mnuComms, static_cast<QWidget*>(w.fraSaxComm)}, {w.mnuControl, w.fraControls}}) {
        const bool before = panel->isVisible();
        entry->trigger();
        EXPECT_NE(panel->isVisible(), before) << panel->objectName().toStdString();
        entry->trigger();
        EXPECT_EQ(panel->isVisible(), before) << panel->objectName().toStdString();
    }

    // The panels with an "X" label hide through it; "Misc" has none.
    const std::pair<QAction*, QWidget*> shown[] = {{w.mnuDisplay, w.fraDisplaySettings}, {w.mnuMemo, w.fraMemo}};
    for (auto [entry, panel] : shown) {
        entry->trigger();
        EXPECT_TRUE(panel->isVisible()) << panel->objectName().toStdString();
    }
    w.lblHide_Display_Settings->Click();
    w.lblHideMemo->Click();
    EXPECT_FALSE(w.fraDisplaySettings->isVisible());
    EXPECT_FALSE(w.fraMemo->isVisible());
    w.mnuMisc->trigger();
    EXPECT_TRUE(w.fraMisc->isVisible());
    EXPECT_EQ(w.fraMisc->findChildren<EventLabel*>().size(), 0);

    // Opening the system hid the system list; the menu brings it back and blanks all three plots.
    EXPECT_TRUE(w.fraSystems->isHidden());
    for (PlotSurface* plot : {w.eventSlot[0].picvolts, w.eventSlot[1].picvolts, w.tdrView.picTDR})
        plot->Line(1, 1, 100, 100);
    w.mnuSystem->trigger();
    EXPECT_FALSE(w.fraSystems->isHidden());
    for (PlotSurface* plot : {w.eventSlot[0].picvolts, w.eventSlot[1].picvolts, w.tdrView.picTDR})
        EXPECT_TRUE(plot->Runs().empty()) << plot->objectName().toStdString();
    w.lblHideSystemSelector->Click();
    EXPECT_TRUE(w.fraSystems->isHidden());
}

TEST(Menu, TheOutsideToolsStartTheFirstProgramThatStartsWithoutAShell)
{
    Desktop f;
    frmMaster& w = f.window();
    auto started = [&f] {
        QStringList lines;
        for (const CommandLine& c : f.launcher.started)
            lines << (QStringList(c.program) + c.arguments).join(' ');
        f.launcher.started.clear();
        return lines;
    };

    // The desktop's handlers come first; the path with its blanks stays one argument.
    f.launcher.handlers["text/plain"] = {"/usr/bin/gnome-text-editor", {"--new-window"}};
    f.launcher.handlers["inode/directory"] = {"nautilus", {"--new-window"}};
    f.launcher.installed = QStringList{"/usr/bin/gnome-text-editor", "nautilus", "gedit", "kate", "kcalc", "xcalc"};
    w.mnuNotepad->trigger();
    w.mnuExplorer->trigger();
    EXPECT_EQ(started(), QStringList({"/usr/bin/gnome-text-editor --new-window " + f.cfg(),
                                      "nautilus --new-window " + QDir::toNativeSeparators(f.root("Systems/Grid System/Jobs/Job 1/North Yard"))}));

    // Without a handler: the first common program installed; one that fails to start is passed by.
    f.launcher.handlers.clear();
    f.launcher.failing = QStringList{"gedit"};
    w.mnuNotepad->trigger();
    w.mnuCalculator->trigger();
    EXPECT_EQ(started(), QStringList({"kate " + f.cfg(), "kcalc"}));
    EXPECT_TRUE(f.dialogs.shown().empty());

    // Nothing to start: a plain message, and the program goes on.
    f.launcher.installed.clear();
    w.mnuNotepad->trigger();
    w.mnuCalculator->trigger();
    w.mnuExplorer->trigger();
    EXPECT_TRUE(started().isEmpty());
    ASSERT_EQ(f.dialogs.messageTexts().size(), 3);
    EXPECT_TRUE(f.dialogs.messageTexts()[0].startsWith("No text editor could be started to open " + f.cfg()));
    EXPECT_TRUE(f.dialogs.messageTexts()[1].startsWith("No calculator could be started."));
    EXPECT_TRUE(f.dialogs.messageTexts()[2].startsWith("No file manager could be started"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
    EXPECT_FALSE(f.lifetime.ended());
}

TEST(Menu, TheAboutBoxShowsTheProductTheBuildAndTheDisclaimerOnce)
{
    Desktop f;
    frmMaster& w = f.window();
    w.mnuAbout->trigger();
    w.mnuAbout->trigger();
    const QList<frmAbout*> boxes = w.findChildren<frmAbout*>();
    ASSERT_EQ(boxes.size(), 1);
    frmAbout* about = boxes.front();
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->windowTitle(), QString("About M-R3X Master"));
    EXPECT_EQ(about->lblTitle->text(), QString("M-R3X Master"));
    EXPECT_TRUE(QRegularExpression("^Version \\d+\\.\\d+\\.\\d+$").match(about->lblVersion->text()).hasMatch());
    EXPECT_GE(about->lblDisclaimer->text().count("\r\n"), 2);
    EXPECT_FALSE(programIcon().pixmap(64, 64).isNull()); // the pictures are built into the program

    // OK unloads the box.
    QPointer<frmAbout> closing(about);
    about->cmdOK->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
}
