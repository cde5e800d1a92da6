#include "retrieval/EventDownload.h"

#include "common/Files.h"
#include "events/EventLists.h"
#include "unit/UnitSession.h"
#include "retrieval/EventIndex.h"
#include "retrieval/IndexLines.h"
#include "ui/frmMaster.h"
#include "unitsettings/SettingCommands.h"


namespace mr3x {

namespace {

const QString ManualTriggerTitle = QStringLiteral("AC Check");

} // namespace

QString EventDownload::eventFolder() const
{
    return w.filTrig[0]->Path();
}

void EventDownload::cmdGetData_Click()
{
    if (w.unit->refusesCommand(QStringLiteral("No connection to unit ")))
        return;
    DOWNLOAD_EVENTS();
}

void EventDownload::DOWNLOAD_EVENTS()
{
    const UnitSession::Routine routine(*w.unit);
    w.Watchdog->stop();
    // The events go to the folder of the unit whose index is listed, which is also what the
    // list's marks were read from, whichever unit the chains show now or choose during a
    // reception.
    const QString folder = w.eventIndex->listedFolder();
    // The list may be refilled while a reception lets window events run: count it each time.
    for (int row = 0; row < w.lstIndex->count(); ++row) {
        const QListWidgetItem* item = w.lstIndex->item(row);
        if (!item->isSelected() || !retrieval::lineIsWanted(item->text().toLatin1().toStdString()))
            continue;
        // A time-out or a failed reception ends the whole download; the watchdog stays off.
        if (!fetchEvent(item->text(), folder))
            return;
    }
    w.Watchdog->start();
    w.filTrig[0]->Refresh();
    w.filTrig[1]->Refresh();
}

bool EventDownload::fetchEvent(const QString& line, const QString& folder)
{
    const std::string text = line.toLatin1().toStdString();
    if (folder.isEmpty() || EventIndex::isStored(folder, std::string(retrieval::lineEventName(text))))
        return true;
    if (!w.unit->downloadEvent(folder, retrieval::lineSlotText(text)))
        return false;
    showStored();
    return true;
}

void EventDownload::cmdTrigger_Click()
{
    if (w.unit->refusesCommand(QStringLiteral("No connection to "), ManualTriggerTitle))
        return;
    const UnitSession::Routine routine(*w.unit);
    w.Watchdog->stop();
    const QString folder = eventFolder();
    w.chkFileTransfer->setChecked(true);
    w.settingCommands->SEND_SETTINGS_FOR_MODEL();
    w.clock.DoEvents();
    if (!w.unit->takeManualRecording(folder))
        return; // the watchdog stays off
    showStored();
    w.Watchdog->start();
}

void EventDownload::CONVERT_EVENT_FILE(const QString& name)
{
    w.unit->storeReceivedFile(eventFolder(), name);
    showStored();
}

void EventDownload::showStored()
{
    w.filTrig[0]->Refresh();
    w.filTrig[1]->Refresh();
    w.eventLists->FILL_EVENT_LIST(0);
    w.eventLists->FILL_EVENT_LIST(1);
    w.eventIndex->REMARK_INDEX();
    w.clock.DoEvents();
}

} // namespace mr3x
