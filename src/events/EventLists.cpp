#include "events/EventLists.h"

#include "common/Files.h"
#include "events/EventListLines.h"
#include "events/EventViewer.h"
#include "events/WaveformDisplay.h"
#include "retrieval/EventIndex.h"
#include "unit/CollectedEvents.h"
#include "ui/frmMaster.h"

#include <QBrush>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QListWidgetItem>
#include <QSignalBlocker>

namespace mr3x {

namespace {

/// What a list line needs of a file: its length and, for the two lengths an event has, its
/// trailer. Only the trailer is read, never the whole file: a folder may hold thousands.
struct FileFacts {
    std::uintmax_t length = 0;
    std::optional<events::RecordTrailer> trailer;
};

FileFacts factsOf(const QString& path, bool wantTrailer)
{
    FileFacts facts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly))
        return facts;
    facts.length = static_cast<std::uintmax_t>(file.size());
    const std::optional<std::size_t> offset = events::trailerOffsetForLength(facts.length);
    if (!wantTrailer || !offset || !file.seek(static_cast<qint64>(*offset)))
        return facts;
    const QByteArray bytes = file.read(static_cast<qint64>(events::kTrailerBytes));
    if (bytes.size() == static_cast<qsizetype>(events::kTrailerBytes))
        facts.trailer = events::RecordTrailer::from(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), events::kTrailerBytes));
    return facts;
}

events::EventFilter filterOf(const EventSlotView& v)
{
    if (v.optTrg->isChecked())
        return events::EventFilter::Trg;
    if (v.optVlt->isChecked())
        return events::EventFilter::Vlt;
    return events::EventFilter::All;
}

} // namespace

// --- The list ------------------------------------------------------------------------------------

void EventLists::FILL_EVENT_LIST(int i)
{
    QListWidget* list = w.eventSlot[i].lstTrig;
    {
        // Emptying the list chooses nothing: no handler runs for it.
        const QSignalBlocker quiet(list);
        list->clear();
    }
    list->setEnabled(false);
    list->setUpdatesEnabled(false);
    fillWithFilter(i);
    list->setUpdatesEnabled(true);
    list->setEnabled(true);
}

void EventLists::fillWithFilter(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    const FileList* files = w.filTrig[i];
    const events::EventFilter filter = filterOf(v);
    const QString folder = files->Path();
    const QStringList fresh = newFromCollector(folder);
    for (int k = 0; k < files->ListCount(); ++k) {
        const QString name = files->List(k);
        const std::string latinName = name.toLatin1().toStdString();
        // Only a ".trg" line shows a number from the trailer.
        const bool isTrg = name.toUpper().contains(QStringLiteral(".TRG"));
        if (filter == events::EventFilter::Trg && !isTrg)
            continue;
        const FileFacts facts = factsOf(joinPath(folder, name), isTrg);
        const std::optional<std::string> line =
            events::eventListLine(latinName, facts.length, facts.trailer ? &*facts.trailer : nullptr, filter);
        if (!line)
            continue;
        auto* item = new QListWidgetItem(QString::fromLatin1(line->data(), static_cast<qsizetype>(line->size())));
        item->setData(Qt::UserRole, k);
        if (fresh.contains(name))
            markNew(item);
        v.lstTrig->addItem(item);
    }
}

QString EventLists::fileOfLine(int i, int row) const
{
    const QListWidgetItem* item = w.eventSlot[i].lstTrig->item(row);
    if (item == nullptr)
        return {};
    return w.filTrig[i]->List(item->data(Qt::UserRole).toInt());
}

void EventLists::optAll_Click(int i)
{
    FILL_EVENT_LIST(i);
    if (i == 0)
        w.eventSlot[1].optAll->setChecked(true);
}

void EventLists::optVlt_Click(int i)
{
    FILL_EVENT_LIST(i);
    if (i == 0)
        w.eventSlot[1].optVlt->setChecked(true);
}

void EventLists::optTrg_Click(int i)
{
    FILL_EVENT_LIST(i);
    if (i == 0)
        w.eventSlot[1].optTrg->setChecked(true);
}

void EventLists::filTrig_PathChange(int i)
{
    w.eventSlot[i].lblEventFile->clear();
    if (i == 0) {
        // The manual tests are the master unit's too.
        w.filTST->setPath(w.filTrig[0]->Path());
        w.filTDR->setPath(w.filTrig[0]->Path());
    }
    FILL_EVENT_LIST(i);
}

// --- Choosing an event ---------------------------------------------------------------------------

void EventLists::loadChosenLine(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    v.picvolts->Cls();
    const QString name = fileOfLine(i, v.lstTrig->currentRow());
    if (name.isEmpty())
        return;
    // The file as the user knows it: from the system's jobs folder on.
    const QString jobs = QDir::cleanPath(w.DirJobs[i]->Path());
    const QString folder = QDir::cleanPath(w.filTrig[i]->Path());
    QString relative = folder.startsWith(jobs) ? folder.mid(jobs.size()) : folder;
    if (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    v.lblEventFile->setText(nativePath(joinPath(relative, name)));
    w.eventViewer->LOAD_EVENT_FILE(i, joinPath(folder, name));
    if (i == 1)
        w.tdrView.chkTrace[1]->setChecked(true);
}

QStringList EventLists::newFromCollector(const QString& folder)
{
    QStringList fresh;
    for (const QString& name : collectedUnopened(folder))
        if (!lookedAt_.contains(joinPath(folder, name)))
            fresh << name;
    return fresh;
}

namespace {

constexpr int newEventRole = Qt::UserRole + 1;
// A light highlight rather than bold: a bold line would no longer fit the list, and its slot
// number at the end is what tells the events apart.
const QColor newEventBackground(255, 240, 160);

} // namespace

void EventLists::markNew(QListWidgetItem* item)
{
    item->setData(newEventRole, true);
    item->setBackground(newEventBackground);
    item->setToolTip(QStringLiteral("New: fetched by mr3x-collect"));
}

bool EventLists::isMarkedNew(const QListWidgetItem* item)
{
    return item != nullptr && item->data(newEventRole).toBool();
}

void EventLists::markLookedAt(int i)
{
    QListWidgetItem* item = w.eventSlot[i].lstTrig->currentItem();
    if (!isMarkedNew(item))
        return;
    const QString folder = w.filTrig[i]->Path();
    const QString name = fileOfLine(i, w.eventSlot[i].lstTrig->currentRow());
    // A folder the note cannot be written in still shows the event opened, for this run.
    if (!noteOpened(folder, name, w.clock.currentDateTime()))
        lookedAt_.insert(joinPath(folder, name));
    item->setData(newEventRole, false);
    item->setBackground(QBrush());
    item->setToolTip(QString());
}

void EventLists::lstTrig_Click(int i)
{
    w.clock.DoEvents();
    markLookedAt(i);
    loadChosenLine(i);
    if (i == 0) {
        if (w.eventSlot[0].lblEventFile->text().isEmpty())
            return;
        w.tdrView.chkTrace[0]->setChecked(true);
        const QString master = joinPath(w.DirUnits[0]->Path(), w.cboUnits[0]->currentText());
        const QString slave = joinPath(w.DirUnits[1]->Path(), w.cboUnits[1]->currentText());
        if (master == slave) {
            QListWidget* list = w.eventSlot[1].lstTrig;
            {
                const QSignalBlocker quiet(list);
                list->setCurrentRow(w.eventSlot[0].lstTrig->currentRow());
            }
            loadChosenLine(1);
        }
    }
    w.tdrView.chkTrace[0]->setChecked(true);
    w.tdrView.chkTrace[1]->setChecked(true);

    // Slot 0 chosen: it zooms in on the pulse grid and slot 1 shows its whole event; slot 1
    // chosen: it zooms in.
    WaveformDisplay& waveforms = *w.waveforms;
    w.eventSlot[1].cmdZoom->setText(QStringLiteral("+"));
    if (i == 0) {
        w.eventSlot[0].cmdZoom->setText(QStringLiteral("+"));
        waveforms.cmdZoom_Click(0);
        w.eventSlot[1].cmdZoom->setText(QStringLiteral("-"));
    }
    waveforms.cmdZoom_Click(1);

    w.tdrView.scrAlign[i]->setValue(0);
    waveforms.resetMeasuringPoint(i);
    waveforms.putMarkersAtOrigin(i);
    w.eventSlot[i].picvolts->update();
}

// --- Deleting an event file ----------------------------------------------------------------------

void EventLists::lstTrig_MouseDown(int i, Qt::MouseButton button)
{
    QListWidget* list = w.eventSlot[i].lstTrig;
    if (button != Qt::RightButton || list->currentRow() < 0 || list->selectedItems().isEmpty())
        return;
    // Only a transfer under way holds the files; a failed one that has ended does not.
    if (w.Comm->TransferState() == 4) {
        w.dialogs.message(QStringLiteral("Files cannot be deleted during file transfers"), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    const QString name = fileOfLine(i, list->currentRow());
    if (name.isEmpty())
        return;
    if (w.dialogs.message(QStringLiteral("Do you wish to delete ") + name + QStringLiteral(" ?"), MsgButtons::YesNo,
                          MsgIcon::Question) != MsgAnswer::Yes)
        return;
    if (w.dialogs.message(QStringLiteral("Are you sure you wish to delete ") + name + QStringLiteral(" ?"), MsgButtons::YesNo,
                          MsgIcon::Critical) != MsgAnswer::Yes)
        return;
    const QString path = joinPath(w.filTrig[i]->Path(), name);
    if (!removeFile(path))
        w.dialogs.message(nativePath(path) + QStringLiteral("\ncould not be deleted"), MsgButtons::Ok, MsgIcon::Exclamation);
    for (int slot = 0; slot < 2; ++slot) {
        w.eventSlot[slot].lblEventFile->clear();
        w.eventSlot[slot].picvolts->Cls();
        w.clock.DoEvents();
        w.filTrig[slot]->Refresh();
        FILL_EVENT_LIST(slot);
        w.clock.DoEvents();
    }
    w.eventIndex->FILL_INDEX_LIST();
}

// --- The tabs ------------------------------------------------------------------------------------

void EventLists::tbsEvents_Click(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    switch (v.tbsEvents->currentIndex()) {
    case 2:
        ENTER_METERING(i);
        v.Measure->show();
        v.Marker->hide();
        v.RefMarker->hide();
        return;
    case 3:
        LEAVE_METERING(i);
        w.eventIndex->FILL_LAST_INDEX(i);
        v.Measure->hide();
        v.Marker->hide();
        v.RefMarker->hide();
        return;
    default:
        LEAVE_METERING(i);
        v.Measure->hide();
        v.Marker->show();
        v.RefMarker->show();
        return;
    }
}

void EventLists::ENTER_METERING(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    v.Measure->show();
    v.Meter->show();
    v.chkRaw->setChecked(false);
    v.Marker->hide();
    v.RefMarker->hide();
    v.setOutlineColour(i == 0 ? 0x0040C0 : 0x808000);
    w.waveforms->UPDATE_METERS(i);
}

void EventLists::LEAVE_METERING(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    // Unticked first: its handler shows the rms box again, which leaving the meters hides.
    v.chkRaw->setChecked(false);
    v.Measure->hide();
    v.Meter->hide();
    if (w.optDisplayMode[0]->isChecked()) {
        v.Marker->show();
        v.RefMarker->show();
    }
    v.setOutlineColour(i == 0 ? 0x0080FF : 0xFFFF00);
}

} // namespace mr3x
