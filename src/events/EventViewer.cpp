#include "events/EventViewer.h"

#include "common/Files.h"
#include "events/DipClasses.h"
#include "events/EventLists.h"
#include "events/EventParameters.h"
#include "events/TdrPresets.h"
#include "events/WaveformDisplay.h"
#include "export/Exports.h"
#include "retrieval/EventIndex.h"
#include "tdr/TrsLocator.h"
#include "ui/frmMaster.h"

#include <QFile>
#include <QSignalBlocker>

namespace mr3x {

namespace {

QString latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void setIf(QLabel* label, const std::optional<std::string>& text)
{
    if (text)
        label->setText(latin1(*text));
}

} // namespace

void EventViewer::RESET_PARAMETER_DISPLAY(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    v.lblPhase->setText(QStringLiteral("-----"));
    for (QLabel* label : {v.lblGain, v.lblInternal, v.lblPulseWidth, v.lblVersion, v.lblThreshold})
        label->setText(QStringLiteral("--"));
    for (QLabel* label : {v.lblFSD, v.lblOn_Off, v.lblPreTrigger, v.lblTDR_TRS})
        label->setText(QStringLiteral("---"));
    for (QLabel* label : {v.lblTrigChannel, v.lblUnit, v.lblLong_Short, v.lblInjection})
        label->setText(QStringLiteral("----"));
    v.lblDuration->setText(QStringLiteral("-"));
    v.lblMeterFSD->setText(v.lblFSD->text());
    v.lblDips->clear();
    v.lblDips->setToolTip(QString());
}

void EventViewer::emptySlot(int i)
{
    Slot& slot = loaded_[i];
    slot.record = {};
    slot.holdsEvent = false;
    slot.path.clear();
    RESET_PARAMETER_DISPLAY(i);
    forgetTrailerTexts(i);
    w.eventSlot[i].lblEventFile->clear();
    w.eventSlot[i].picvolts->Cls();
}

void EventViewer::forgetTrailerTexts(int i)
{
    w.eventSlot[i].lblTrailerJob->clear();
    w.eventSlot[i].lblTrailerLocation->clear();
}

void EventViewer::LOAD_EVENT_FILE(int i, const QString& path)
{
    Slot& slot = loaded_[i];
    RESET_PARAMETER_DISPLAY(i);
    forgetTrailerTexts(i);
    w.program.CurrentPulse[i] = 0;
    slot.referencePosition = 0;
    // Nothing of an earlier event stays in a slot that a new one could not fill.
    slot.record = {};
    slot.holdsEvent = false;
    slot.path = path;

    const QString upper = path.toUpper();
    if (!upper.contains(QStringLiteral(".VLT")) && !upper.contains(QStringLiteral(".TRG")))
        return;
    makeWritable(path);
    const std::optional<QByteArray> bytes = readFile(i, path);
    if (!bytes)
        return;
    const auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes->constData()), static_cast<std::size_t>(bytes->size()));
    const std::optional<events::EventRecord> record = events::readEventRecord(data);
    if (!record) {
        askToDeleteCorruptFile(i, path);
        return;
    }
    slot.record = *record;
    slot.holdsEvent = true;
    if (slot.record.trailer.isTrs())
        w.trsLocator->cmdReset_Click();

    SHOW_EVENT_PARAMETERS(i);
    w.clock.DoEvents();
    if (i == 1 && !slotsAgree())
        return;

    slot.rememberedRow = w.eventSlot[i].lstTrig->currentRow();
    w.waveforms->DRAW_EVENT_TRACES(i);
    w.clock.DoEvents();
    showMarkers(i);
}

std::optional<QByteArray> EventViewer::readFile(int i, const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly)) {
        QByteArray bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return bytes;
    }
    // Gone or unreadable since the list was made: say so, and list what is there now.
    const QString reason = file.exists() ? file.errorString() : QStringLiteral("the file is no longer there");
    w.dialogs.message(nativePath(path) + QStringLiteral("\ncannot be displayed: ") + reason, MsgButtons::Ok, MsgIcon::Exclamation);
    emptySlot(i);
    w.filTrig[i]->Refresh();
    w.eventLists->FILL_EVENT_LIST(i);
    return std::nullopt;
}

void EventViewer::askToDeleteCorruptFile(int i, const QString& path)
{
    const MsgAnswer answer = w.dialogs.message(
        QStringLiteral("This file is corrupted and cannot be displayed\r\nDo you want to delete it?"), MsgButtons::YesNo,
        MsgIcon::Critical);
    if (answer != MsgAnswer::Yes) {
        // The file stays, and the slot shows none: the same question is not put again for the
        // other slot of the same unit.
        w.eventSlot[i].lblEventFile->clear();
        return;
    }
    if (!removeFile(path))
        w.dialogs.message(nativePath(path) + QStringLiteral("\ncould not be deleted"), MsgButtons::Ok, MsgIcon::Exclamation);
    for (int slot = 0; slot < 2; ++slot) {
        emptySlot(slot);
        w.filTrig[slot]->Refresh();
        w.eventLists->FILL_EVENT_LIST(slot);
    }
    // The deleted event's index line ends in "-" again.
    w.eventIndex->FILL_INDEX_LIST();
}

bool EventViewer::slotsAgree()
{
    if (w.eventSlot[0].lstTrig->currentRow() < 0 || w.eventSlot[1].lstTrig->currentRow() < 0)
        return true;
    const events::RecordTrailer& master = loaded_[0].record.trailer;
    const events::RecordTrailer& slave = loaded_[1].record.trailer;
    if (master.longRange() != slave.longRange()) {
        refuseSlot1(QStringLiteral("The selected event files use different ranges"));
        return false;
    }
    if ((master.mode() & 2) != (slave.mode() & 2)) {
        refuseSlot1(QStringLiteral("The selected event files use different modes"));
        return false;
    }
    return true;
}

void EventViewer::refuseSlot1(const QString& message)
{
    w.dialogs.message(message, MsgButtons::Ok, MsgIcon::Exclamation);
    const int back = loaded_[1].rememberedRow;
    QListWidget* list = w.eventSlot[1].lstTrig;
    if (back >= 0 && back < list->count() && back != list->currentRow()) {
        // Choosing the earlier line loads the earlier event again.
        list->setCurrentRow(back);
        return;
    }
    // No earlier event to go back to (or its line is the refused one): the slot shows nothing
    // rather than an event that does not go with the master's.
    emptySlot(1);
    loaded_[1].rememberedRow = -1;
    {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(-1);
    }
    // The refused event chose its own display mode on loading: the master's comes back.
    if (loaded_[0].holdsEvent)
        w.optDisplayMode[loaded_[0].record.trailer.isTrs() ? 1 : 0]->setChecked(true);
}

void EventViewer::showMarkers(int i)
{
    const bool tdrMode = w.optDisplayMode[0]->isChecked();
    if (tdrMode) {
        w.eventSlot[i].Marker->show();
        w.eventSlot[0].RefMarker->show();
    } else if (w.optDisplayMode[1]->isChecked()) {
        for (const EventSlotView& v : w.eventSlot) {
            v.Marker->hide();
            v.RefMarker->hide();
        }
        w.trsLocator->DRAW_TRS_VIEW();
    }
}

void EventViewer::showDips(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    const events::DipMeasurement m = events::measureDips(loaded_[i].record);
    const std::vector<std::string> lines = events::dipLines(m, w.exports->lineFrequency());
    // The reference they are read against first, then one line a phase's dip.
    QStringList shown;
    for (std::size_t k = 1; k < lines.size(); ++k)
        shown << latin1(lines[k]);
    v.lblDips->setText(shown.join(QLatin1Char('\n')));
    v.lblDips->setToolTip(latin1(lines.front()));
}

void EventViewer::SHOW_EVENT_PARAMETERS(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    const events::EventRecord& record = loaded_[i].record;
    const events::EventParameters p = events::describeEvent(record);
    setIf(v.lblUnit, p.unit);
    setIf(v.lblVersion, p.version);
    if (p.fsd) {
        v.lblFSD->setText(latin1(*p.fsd));
        v.lblMeterFSD->setText(v.lblFSD->text());
    }
    setIf(v.lblTrigChannel, p.trigChannel);
    if (p.triggeredByTrs)
        w.trsLocator->cmdReset_Click();
    setIf(v.lblPhase, p.phase);
    setIf(v.lblInternal, p.internal);
    setIf(v.lblGain, p.gain);
    setIf(v.lblLong_Short, p.longShort);
    setIf(v.lblOn_Off, p.onOff);
    setIf(v.lblPulseWidth, p.pulseWidth);
    setIf(v.lblPreTrigger, p.preTrigger);
    setIf(v.lblThreshold, p.threshold);
    setIf(v.lblDuration, p.duration);
    setIf(v.lblInjection, p.injection);
    setIf(v.lblTrailerJob, p.trailerJob);
    setIf(v.lblTrailerLocation, p.trailerLocation);
    setIf(v.lblTDR_TRS, p.mode);
    using Mode = events::EventParameters::DisplayMode;
    if (p.displayMode == Mode::Tdr)
        w.optDisplayMode[0]->setChecked(true);
    else if (p.displayMode == Mode::Trs)
        w.optDisplayMode[1]->setChecked(true);

    showDips(i);

    // The TDR viewer starts where this event's range and model put it.
    const events::TdrPresets presets = events::tdrPresetsFor(record.trailer);
    const TdrViewerView& tdr = w.tdrView;
    tdr.Plotstart->setText(QString::number(presets.plotStart));
    tdr.ZeroCursor->setEnds(presets.cursorX, 256, presets.cursorX, -1);
    tdr.MovingCursor->setEnds(presets.cursorX, 256, presets.cursorX, -1);
    tdr.lblScale->setText(latin1(presets.scale));
    setIf(v.lblLong_Short, presets.longShort);
}

} // namespace mr3x
