// The exports through the window: each slot's event and the TDR viewer's traces and view saved
// where the user says, replacements asked first, the speed and cable type in every picture, and
// the cable types beside the speed bar with their calibration.
#include "common/TextLines.h"
#include "events/ViewerFixture.h"
#include "export/Exports.h"
#include "tdr/CableTypes.h"
#include "tdr/CableTypeTable.h"
#include "tdr/TdrTests.h"
#include "tdr/TdrViewer.h"

#include <QDir>
#include <QImage>
#include <QMenu>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::ViewerFixture;
using Kind = ScriptedDialogs::Shown::Kind;

namespace {

/// The window's system with a dated event, the first line of each slot's list, and a folder for
/// the exports.
class ExportFixture : public ViewerFixture {
public:
    ExportFixture()
    {
        writeEvent("26-12-06 12-00-00.trg", mr3x::test::datedEventFile());
        exports = root.mkdirs("exports");
    }
    QString exported(const QString& name) const { return exports + "/" + name; }
    QByteArray read(const QString& name) const { return root.read("exports/" + name); }
    const ScriptedDialogs::Shown& lastOf(Kind kind) const
    {
        static const ScriptedDialogs::Shown none{};
        const auto& shown = dialogs.shown();
        const auto it = std::find_if(shown.rbegin(), shown.rend(), [kind](const auto& s) { return s.kind == kind; });
        return it == shown.rend() ? none : *it;
    }
    /// Calibrates on the cursors, its prompts and message boxes answered in turn.
    void calibrate(const QStringList& prompts, std::initializer_list<MsgAnswer> boxes = {})
    {
        for (const QString& p : prompts)
            dialogs.answerPrompt(p);
        for (const MsgAnswer a : boxes)
            dialogs.answer(a);
        window().cableTypes->cmdCalibrate_Click();
    }
    QString saved(const QStringList& names) const
    {
        return "Saved in " + QDir::toNativeSeparators(exports) + ":\r\n" + names.join("\r\n");
    }

    QString exports;
};

} // namespace

TEST(ExportsWindow, AnEventItsTracesAndPicturesGoOutNamedAfterTheirUnitWithTheirReadOutsAndCalibrationRefusesBadAnswers)
{
    ExportFixture f;
    QByteArray test(629, '\0');
    for (int n = 0; n < 512; ++n)
        test[n] = char(n / 128 + 1);   // block b at level b + 1
    f.writeFile("26-12-05 14-03-09 (R-N=Y-N).TDR", test);
    frmMaster& w = f.open();
    // The shipped cable types are written at the first start, without a word.
    const TdrViewerView& v = w.tdrView;
    const QByteArray shipped = f.root.read("Cable Types.txt");
    EXPECT_EQ(shipped, (toQLines(tdr::shippedCableTable()).join("\r\n") + "\r\n").toUtf8());
    EXPECT_TRUE(f.dialogs.shown().empty());
    ASSERT_EQ(v.cboCableType->count(), 7);
    EXPECT_EQ(v.cboCableType->itemText(0), QString("(no cable type)"));
    EXPECT_EQ(v.cboCableType->currentIndex(), 0);
    // Choosing a type sets its speed; another speed is no longer that cable's.
    v.cboCableType->setCurrentIndex(v.cboCableType->findText("EPR (57.7%)"));
    EXPECT_EQ(v.scrVF->value(), 577);
    EXPECT_EQ(w.cableTypes->cableTypeInUse(), QString("EPR"));
    v.scrVF->setValue(580);
    EXPECT_EQ(v.cboCableType->currentIndex(), 0);
    EXPECT_EQ(w.cableTypes->cableTypeInUse(), QString());

    // No event chosen: nothing to export.
    w.exports->EXPORT_COMTRADE(0, exports::DataFileType::Ascii);
    EXPECT_EQ(f.dialogs.last()->text, QString("Choose an event in the list first: this slot holds none to export"));
    w.exports->enableSlotEntries(1);
    EXPECT_FALSE(w.eventSlot[1].mnuComtrade->isEnabled() || w.eventSlot[1].mnuTraceCsv->isEnabled());

    f.choose(0, 0);
    f.dialogs.clear();
    f.dialogs.answerSaveFile(f.exported("fault"));
    w.exports->EXPORT_COMTRADE(0, exports::DataFileType::Binary);
    EXPECT_EQ(f.lastOf(Kind::SaveFile).defaultAnswer, f.unitFolder() + "/26-12-06 12-00-00.cfg");
    EXPECT_EQ(f.dialogs.last()->text, f.saved({"fault.cfg", "fault.dat", "fault.hdr"}));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Information);
    const QByteArray cfg = f.read("fault.cfg");
    EXPECT_TRUE(cfg.startsWith("North Yard,MR-0101 M-R32,1999\r\n")) << cfg.left(60).toStdString();
    EXPECT_EQ(f.read("fault.dat").size(), 800 * 16);

    // Again at 60 Hz: asked first; No leaves the files, Yes replaces them. The folder used last
    // is offered.
    w.mnuLine60Hz->setChecked(true);
    f.dialogs.answerSaveFile(f.exported("fault.cfg"));
    f.dialogs.answer(MsgAnswer::No);
    w.exports->EXPORT_COMTRADE(0, exports::DataFileType::Binary);
    EXPECT_EQ(f.lastOf(Kind::SaveFile).defaultAnswer, f.exported("26-12-06 12-00-00.cfg"));
    EXPECT_EQ(f.dialogs.last()->text, QString("These files are there already:\r\nfault.cfg\r\nfault.dat\r\nfault.hdr\r\nDo you want to replace them?"));
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::YesNo);
    EXPECT_EQ(f.read("fault.cfg"), cfg);
    f.dialogs.answerSaveFile(f.exported("fault.dat"));
    f.dialogs.answer(MsgAnswer::Yes);
    w.exports->EXPORT_COMTRADE(0, exports::DataFileType::Ascii);
    EXPECT_TRUE(f.read("fault.cfg").contains("\r\n60\r\n1\r\n4800,800\r\n"));
    EXPECT_EQ(f.read("fault.dat").count("\r\n"), 800);

    // Cancel saves nothing and says nothing.
    f.dialogs.clear();
    f.dialogs.cancelSaveFile();
    w.exports->EXPORT_EVENT_CSV(0, false);
    EXPECT_EQ(f.dialogs.shown().size(), 1u);
    // The fault report is one PDF.
    f.dialogs.answerSaveFile(f.exported("report.pdf"));
    w.exports->EXPORT_FAULT_REPORT(0);
    EXPECT_EQ(f.lastOf(Kind::SaveFile).defaultAnswer, f.exported("26-12-06 12-00-00 report.pdf"));
    EXPECT_EQ(f.dialogs.last()->text, f.saved({"report.pdf"}));
    EXPECT_TRUE(f.read("report.pdf").startsWith("%PDF-"));

    w.exports->enableSlotEntries(0);
    EXPECT_TRUE(w.eventSlot[0].mnuComtrade->isEnabled() && w.eventSlot[0].mnuTraceCsv->isEnabled());
    // Every entry is under the window's "Export" menu too.
    EXPECT_EQ(w.mnuExport->actions().at(0)->menu(), w.eventSlot[0].mnuEventExport);
    EXPECT_EQ(w.mnuExport->actions().at(2)->menu(), w.tdrView.mnuTdrExport);

    // Pictures carry their read-outs and the speed in use, and refuse what they cannot be.
    v.cboCableType->setCurrentIndex(v.cboCableType->findText("XLPE (63.2%)"));
    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 125);

    const Picture wave = w.exports->waveformPicture(0);
    EXPECT_EQ(wave.title, QString("26-12-06 12-00-00.trg, unit MR-0101 (M-R32 version 2)"));
    EXPECT_EQ(wave.readouts, QStringList({"Triggered 2026-12-06 12:00:00 by Ch0(I), FSD 1000A, pre/post 7/1",
                                          "Speed 63.2% (v/2=94.8m/us), cable type XLPE"}));
    EXPECT_EQ(wave.legend.size(), 4u);
    const Picture tdr = w.exports->tdrPicture();
    EXPECT_EQ(tdr.title, QString("TDR Viewer"));
    EXPECT_EQ(tdr.readouts, QStringList({"Zero cursor 25, moving cursor 125, difference 100: 95 m",
                                         "Speed 63.2% (v/2=94.8m/us), cable type XLPE"}));
    // Both slots show the event (the chains share the unit), and both traces are ticked.
    ASSERT_EQ(tdr.legend.size(), 2u);
    EXPECT_EQ(tdr.legend[0].name + ", " + tdr.legend[1].name, QString("Master event, pulse 1, Slave event, pulse 1"));
    EXPECT_EQ(tdr.plot.marks.size(), 2u) << "both cursors";

    f.dialogs.answerSaveFile(f.exported("wave.png"));
    f.dialogs.answerPrompt("800x600");
    w.exports->EXPORT_WAVEFORM_PICTURE(0);
    EXPECT_EQ(f.lastOf(Kind::Prompt).text, QString("Picture size in pixels, width x height:"));
    EXPECT_EQ(f.lastOf(Kind::Prompt).defaultAnswer, QString("1600x900"));
    EXPECT_EQ(QImage(f.exported("wave.png")).size(), QSize(800, 600));
    // The size given last is offered next; a name without an extension is a PNG.
    f.dialogs.answerSaveFile(f.exported("view"));
    w.exports->EXPORT_TDR_PICTURE();
    EXPECT_EQ(f.lastOf(Kind::SaveFile).defaultAnswer, f.exported("26-12-06 12-00-00 (TDR Viewer).png"));
    EXPECT_EQ(QImage(f.exported("view.png")).size(), QSize(800, 600));

    f.dialogs.answerSaveFile(f.exported("small.svg"));
    f.dialogs.answerPrompt("50x50");
    w.exports->EXPORT_WAVEFORM_PICTURE(0);
    EXPECT_EQ(f.dialogs.last()->text, QString("\"50x50\" is not a picture size: give the width and the height in pixels, "
                                              "such as 1600x900, each from 200 to 10000"));
    f.dialogs.answerSaveFile(f.exported("wave.bmp"));
    w.exports->EXPORT_WAVEFORM_PICTURE(0);
    EXPECT_EQ(f.dialogs.last()->text, QString("Pictures are saved as .png, .svg or .pdf files: wave.bmp is none of these"));
    EXPECT_EQ(QDir(f.exports).entryList(QDir::Files),
              QStringList({"fault.cfg", "fault.dat", "fault.hdr", "report.pdf", "view.png", "wave.png"}));

    // A view with nothing drawn is not saved.
    v.chkTrace[0]->setChecked(false);
    v.chkTrace[1]->setChecked(false);
    w.exports->EXPORT_TDR_PICTURE();
    EXPECT_EQ(f.dialogs.last()->text, QString("The viewer shows no trace to save: tick a trace first"));

    // Traces go out as CSV from the zero cursor at the speed in use.
    ASSERT_TRUE(w.tdrTests->holdsTrace(2));
    v.scrVF->setValue(540);
    v.chkTrace[0]->setChecked(true);
    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 125);
    w.tdrViewer->picTDR_MouseDown(Qt::RightButton, 125);   // the zero cursor to 125

    f.dialogs.answerSaveFile(f.exported("event.csv"));
    w.exports->EXPORT_TRACE_CSV(0);
    EXPECT_EQ(f.lastOf(Kind::SaveFile).defaultAnswer, f.exported("26-12-06 12-00-00 (TDR pulse 1).csv"));
    QList<QByteArray> rows = f.read("event.csv").split('\n');
    ASSERT_EQ(rows.size(), 514);  // header, 512 points, the empty end
    EXPECT_EQ(rows[0], QByteArray("point,distance (m at 54.0%),level\r"));
    EXPECT_TRUE(rows[125].startsWith("125,0.00,")) << rows[125].toStdString();

    f.dialogs.answerSaveFile(f.exported("test.csv"));
    w.exports->EXPORT_TRACE_CSV(2);
    EXPECT_EQ(f.lastOf(Kind::SaveFile).defaultAnswer, f.exported("26-12-05 14-03-09 (R-N=Y-N).csv"));
    rows = f.read("test.csv").split('\n');
    ASSERT_EQ(rows.size(), 514);
    EXPECT_EQ(rows[1], QByteArray("1,-100.44,4\r"));   // block 3 first; 124 units left of the zero

    w.exports->EXPORT_TRACE_CSV(4);
    EXPECT_EQ(f.dialogs.last()->text, QString("This trace holds nothing to export: choose an event or a test for it first"));

    // Calibration refuses cursors at one point (both are at 125 now) and bad answers, and holds
    // the speed to the bar.
    f.dialogs.clear();
    f.calibrate({});
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList("The cursors are at the same point: put the zero cursor and the moving "
                                                    "cursor on the two ends of a known length first"));
    EXPECT_EQ(f.dialogs.shown().size(), 1u);

    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 225);
    f.calibrate({"about 80"});
    EXPECT_EQ(f.dialogs.last()->text, QString("\"about 80\" is not a length in metres"));
    EXPECT_EQ(v.scrVF->value(), 540);

    f.dialogs.clear();
    f.calibrate({"200"}, {MsgAnswer::Ok, MsgAnswer::No});
    EXPECT_EQ(f.dialogs.messageTexts().front(), QString("200 m between these cursors would take a speed of 133.3%, beyond "
                                                        "the 30.0 to 100.0% the speed bar holds; the speed is set to 100.0%"));
    EXPECT_EQ(v.scrVF->value(), 1000);

    // A name that cannot be a type's, then one already listed.
    f.calibrate({"120", "#7"}, {MsgAnswer::Yes});
    EXPECT_EQ(f.dialogs.last()->text, QString("\"#7\" cannot name a cable type: a name cannot start with \"#\""));
    EXPECT_EQ(f.root.read("Cable Types.txt"), shipped);
    f.calibrate({"81", "xlpe"}, {MsgAnswer::Yes, MsgAnswer::Yes});
    EXPECT_EQ(f.dialogs.last()->text, QString("Change the speed of XLPE from 63.2% to 54.0%?"));
    EXPECT_TRUE(f.root.read("Cable Types.txt").contains("\r\nxlpe,54.0\r\nTR-XLPE,67.0\r\n"));
    EXPECT_EQ(w.cableTypes->cableTypeInUse(), QString("xlpe"));

    // The table as the next start reads it, saved by an editor in its 8-bit code page ("Ölkabel"
    // as Latin-1) with a broken line, which is reported and kept when a calibrated type is saved.
    const QStringList edited = {"# mine", "XLPE,63.2", "Oops no comma", QString::fromLatin1("\xD6lkabel,52.7")};
    f.root.write("Cable Types.txt", edited.join("\r\n").toLatin1() + "\r\n");
    f.dialogs.clear();
    w.cableTypes->LOAD_CABLE_TYPES();
    EXPECT_EQ(f.dialogs.messageTexts(),
              QStringList(QDir::toNativeSeparators(f.root("Cable Types.txt"))
                          + " has lines that name no cable type; they are left in the file as they are:\r\n"
                            "Line 3, \"Oops no comma\": it has no comma between the name and the speed"));
    EXPECT_EQ(v.cboCableType->count(), 3);
    EXPECT_EQ(v.cboCableType->itemText(2), QString::fromLatin1("\xD6lkabel (52.7%)"));

    v.scrVF->setValue(700);
    f.dialogs.clear();
    f.calibrate({"81", "Feeder 7 XLPE"}, {MsgAnswer::Yes});
    ASSERT_EQ(f.dialogs.shown().size(), 3u);
    EXPECT_EQ(f.dialogs.shown()[0].text, QString("Length between the cursors in metres:"));
    EXPECT_EQ(f.dialogs.shown()[0].defaultAnswer, QString("105")) << "the distance shown now";
    EXPECT_EQ(f.dialogs.shown()[1].text, QString("Keep 54.0% as a cable type?"));
    EXPECT_EQ(f.dialogs.shown()[2].text, QString("Name of the cable type:"));
    EXPECT_EQ(v.scrVF->value(), 540);
    EXPECT_EQ(v.lblResult->text(), QString("81 m"));
    // Written back in the code page it was read in, its own lines unchanged.
    EXPECT_EQ(f.root.read("Cable Types.txt"), ((edited + QStringList{"Feeder 7 XLPE,54.0"}).join("\r\n") + "\r\n").toLatin1());
    EXPECT_EQ(v.cboCableType->currentText(), QString("Feeder 7 XLPE (54.0%)"));
    EXPECT_EQ(w.cableTypes->cableTypeInUse(), QString("Feeder 7 XLPE"));
}
