// Loading an event into a slot, on one window: its parameters on the labels, the plain answers to
// a corrupt file and to one that went missing, and the second slot checked against the first.
#include "ViewerFixture.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::EventFile;
using mr3x::test::ViewerFixture;

namespace {

QStringList labelTexts(const EventSlotView& v)
{
    QStringList texts;
    for (const QLabel* label : {v.lblPhase, v.lblGain, v.lblFSD, v.lblLong_Short, v.lblInternal, v.lblTDR_TRS, v.lblPulseWidth,
                                v.lblOn_Off, v.lblTrigChannel, v.lblTrailerLocation, v.lblTrailerJob, v.lblUnit, v.lblVersion,
                                v.lblDuration, v.lblThreshold, v.lblInjection, v.lblPreTrigger, v.lblMeterFSD})
        texts << label->text();
    return texts;
}

const QStringList kResetMarks = {"-----", "--", "---", "----", "--", "---", "--", "---", "----", "", "", "----", "--",
                                 "-", "--", "----", "---", "---"};

} // namespace

TEST(EventLoad, AClickShowsEveryParameterInBothSlotsACorruptOrVanishedFileEmptiesThemAndAnotherRangeOrModeIsRefused)
{
    ViewerFixture f;
    // Triggered on Ch2(Vy) at "2000A"; test R-N (0) against Y-N (7, as code 2); flags 0xE5: 800 m,
    // pulse off, width 2, pre/post 0/8.
    f.writeEvent("26-12-02 11-00-00.trg",
                 EventFile().head(6, 2).head(7, 3).trailer(6, 0).trailer(11, 7).trailer(7, 12).trailer(8, 0xE5).trailer(9, 33)
                     .trailer(14, 15).trailer(15, 3).injection(1000).text(26, "Feeder 7 Fault          ")
                     .text(51, "North Yard              "));
    f.writeEvent("26-12-01 10-00-00.trg", EventFile().trailer(8, 0).trailer(7, 5), "MR-0102");
    f.writeEvent("26-12-02 11-00-00.trg", EventFile().trailer(8, 1), "MR-0102");                 // 800 m
    f.writeEvent("26-12-03 12-00-00.trg", EventFile().trailer(8, 0).trailer(10, 1), "MR-0102");  // TRS
    frmMaster& w = f.open();
    EXPECT_EQ(labelTexts(w.eventSlot[0]), kResetMarks);
    f.choose(0, 0);

    const EventSlotView& v = w.eventSlot[0];
    EXPECT_EQ(labelTexts(v), QStringList({"R-N=Y-N", "12", "2000A", "800m", "--", "TDR", "2", "Off", "Ch2(Vy)",
                                          "North Yard              ", "Feeder 7 Fault          ", "M-R32", "2", "3", "15",
                                          "1000", "0/8", "2000A"}));
    EXPECT_TRUE(w.optDisplayMode[0]->isChecked());
    // The long range's presets: Plotstart, the zero cursor over the plot's height, the scale.
    EXPECT_EQ(w.tdrView.Plotstart->text(), QString("21"));
    EXPECT_EQ(w.tdrView.ZeroCursor->X1(), 21);
    EXPECT_EQ(w.tdrView.ZeroCursor->Y2(), -1);
    EXPECT_EQ(w.tdrView.lblScale->text(), QString("2"));
    // The master chain and the slave chain show one unit: slot 1 loads the same line.
    EXPECT_EQ(w.eventSlot[1].lstTrig->currentRow(), 0);
    EXPECT_EQ(labelTexts(w.eventSlot[1]), labelTexts(v));
    EXPECT_TRUE(w.tdrView.chkTrace[0]->isChecked() && w.tdrView.chkTrace[1]->isChecked());
    // Slot 0 zooms in on the pulse grid (version 2: from 1080), slot 1 shows the whole event; the
    // measuring point at group 160 with its window of 80.
    EXPECT_EQ(v.cmdZoom->text(), QString("-"));
    EXPECT_EQ(v.picvolts->ScaleLeft(), 1080);
    EXPECT_EQ(v.picvolts->ScaleRight(), 2680);
    EXPECT_EQ(w.eventSlot[1].cmdZoom->text(), QString("+"));
    EXPECT_EQ(w.eventSlot[1].picvolts->ScaleRight(), 8000);
    EXPECT_EQ(w.waveforms->measuringPoint(), 160);
    EXPECT_EQ(v.Measure->X1(), 1600);
    EXPECT_EQ(v.Meter->Left(), 1200);
    EXPECT_EQ(v.Meter->Width(), 800);
    // The markers at the grid's origin.
    EXPECT_TRUE(v.Marker->isVisible());
    EXPECT_EQ(v.Marker->X1(), 1236);
    EXPECT_EQ(v.RefMarker->X1(), 1236);

    // A short file: the trace area reads as zeros, whatever the slot held before.
    f.writeEvent("26-12-03 12-00-00.trg", EventFile(false).trailer(18, 34));
    f.relist(0);
    f.choose(0, 1);
    EXPECT_EQ(w.eventSlot[0].lblVersion->text(), QString("2"));
    for (std::uint8_t sample : w.eventViewer->record(0).traceArea)
        ASSERT_EQ(sample, 0);

    // A corrupt file is deleted only on Yes and a vanished one is said plainly, both leaving the
    // slots empty.
    const QString corrupt = f.writeFile("26-12-04 13-00-00.trg", QByteArray(5000, '\x07'));
    const QString gone = f.writeEvent("26-12-05 14-00-00.trg", EventFile());
    f.relist(0);
    f.relist(1);
    f.dialogs.answer(MsgAnswer::No);
    f.choose(0, 2);
    ASSERT_NE(f.dialogs.last(), nullptr);
    EXPECT_EQ(f.dialogs.last()->text, QString("This file is corrupted and cannot be displayed\r\nDo you want to delete it?"));
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::YesNo);
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Critical);
    EXPECT_TRUE(QFileInfo::exists(corrupt));
    // Nothing of the event shown before stays beside the corrupt file's name.
    EXPECT_EQ(labelTexts(w.eventSlot[0]), kResetMarks);
    EXPECT_FALSE(w.eventViewer->holdsEvent(0));

    f.dialogs.answer(MsgAnswer::Yes);
    f.choose(0, 1);
    f.choose(0, 2);
    EXPECT_FALSE(QFileInfo::exists(corrupt));
    for (int slot = 0; slot < 2; ++slot) {
        EXPECT_TRUE(w.eventSlot[slot].lblEventFile->text().isEmpty()) << slot;
        EXPECT_TRUE(w.eventViewer->filePath(slot).isEmpty()) << slot;
        EXPECT_TRUE(w.eventSlot[slot].picvolts->Runs().empty()) << slot;
        EXPECT_EQ(f.lines(slot), QStringList({"26-12-02 11-00-00 (01)", "26-12-03 12-00-00 (01)", "26-12-05 14-00-00 (01)"}))
            << slot;
    }

    // A file gone since the list was made.
    f.choose(0, 1);
    QFile::remove(gone);
    f.dialogs.clear();
    f.choose(0, 2);
    ASSERT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.dialogs.last()->text, QDir::toNativeSeparators(gone) + "\ncannot be displayed: the file is no longer there");
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
    EXPECT_TRUE(w.eventSlot[0].lblEventFile->text().isEmpty());
    EXPECT_EQ(f.lines(0), QStringList({"26-12-02 11-00-00 (01)", "26-12-03 12-00-00 (01)"}));

    // On the slave chain's own unit, an event of another range or mode than the 400 m TDR one in
    // slot 0 is refused and the earlier one comes back.
    f.choose(0, 1);
    f.chooseSlaveUnit();
    f.choose(1, 0);
    ASSERT_EQ(w.eventSlot[1].lblGain->text(), QString("5"));

    struct Refusal { int row; const char* text; };
    for (const Refusal& r : {Refusal{1, "The selected event files use different ranges"},
                             Refusal{2, "The selected event files use different modes"}}) {
        f.choose(1, r.row);
        EXPECT_EQ(f.dialogs.last()->text, QString(r.text));
        EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
        EXPECT_EQ(w.eventSlot[1].lstTrig->currentRow(), 0) << r.row;
        EXPECT_EQ(w.eventSlot[1].lblGain->text(), QString("5")) << r.row;
        EXPECT_EQ(w.eventViewer->filePath(1), f.unitFolder("MR-0102") + "/26-12-01 10-00-00.trg") << r.row;
    }
}
