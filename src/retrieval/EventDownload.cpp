#include "retrieval/EventDownload.h"

#include "common/Files.h"
#include "events/EventLists.h"
#include "unit/UnitSession.h"
#include "retrieval/EventIndex.h"
#include "retrieval/IndexLines.h"
#include "retrieval/MoveWithoutReplacing.h"
#include "ui/frmMaster.h"
#include "unitsettings/SettingCommands.h"

#include <QFile>

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
    // The user may choose another unit while a reception lets window events run: the events
    // still go to the folder of the unit they were asked of.
    const QString folder = eventFolder();
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
    const QString target = joinPath(folder, QString::fromLatin1(retrieval::lineEventName(text)) + QStringLiteral(".trg"));
    if (folder.isEmpty() || pathExists(target))
        return true;

    const commands::Exchange request = commands::eventRecordRequest(retrieval::lineSlotText(text));
    if (!w.unit->sendCommand(request))
        return false;
    ReceiveOptions receive;
    receive.existing = ExistingFile::Delete;
    receive.deleteOnFailure = true;
    const QString name = qtext(request.receivedFile);
    if (!w.unit->receiveFile(folder, name, receive))
        return false;
    // The unit keeps the record unconfirmed until it hears the ACK.
    w.unit->sendOnly(commands::Command::Ack);
    w.lblStatus->setText(qtext(request.received));
    convertEventFile(folder, name);
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

    const commands::Exchange request = commands::exchangeFor(commands::Command::ManualTrigger);
    if (!w.unit->sendCommand(request))
        return; // the watchdog stays off
    w.lblStatus->setText(qtext(request.receiving));
    const QString name = qtext(request.receivedFile);
    w.Comm->Input();
    w.Comm->setTransferMode(1);
    ReceiveOptions receive;
    receive.pauseFirst = false;
    receive.deleteOnFailure = true;
    if (!w.unit->receiveFile(folder, name, receive))
        return; // the watchdog stays off
    // A manual recording is not confirmed with an ACK: the unit keeps no record of it.
    w.lblStatus->setText(qtext(request.received));
    convertEventFile(folder, name);
    w.Watchdog->start();
}

void EventDownload::CONVERT_EVENT_FILE(const QString& name)
{
    convertEventFile(eventFolder(), name);
}

void EventDownload::convertEventFile(const QString& folder, const QString& name)
{
    const auto kind = retrieval::receivedKind(name.toStdString());
    if (!folder.isEmpty() && kind)
        storeReceivedFile(folder, name, *kind);
    w.filTrig[0]->Refresh();
    w.filTrig[1]->Refresh();
    w.eventLists->FILL_EVENT_LIST(0);
    w.eventLists->FILL_EVENT_LIST(1);
    w.eventIndex->REMARK_INDEX();
    w.clock.DoEvents();
}

void EventDownload::storeReceivedFile(const QString& folder, const QString& name, retrieval::ReceivedKind kind)
{
    const QString path = joinPath(folder, name);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        if (file.exists())
            tellStoreFailed(nativePath(path) + QStringLiteral("\ncould not be opened: ") + file.errorString());
        return;
    }
    const QByteArray head = file.read(retrieval::receivedHeadLength);
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(head.constData()), static_cast<std::size_t>(head.size()));
    const std::optional<std::string> storedName = retrieval::storedName(bytes, kind);
    if (storedName && kind == retrieval::ReceivedKind::ManualRecording) {
        // The last time byte and the trigger source become 0: the recording reads as manual.
        const QByteArray zeros(retrieval::manualZeroLength, '\0');
        if (!file.seek(retrieval::manualZeroOffset) || file.write(zeros) != zeros.size() || !file.flush()) {
            tellStoreFailed(nativePath(path) + QStringLiteral("\ncould not be written: ") + file.errorString());
            return;
        }
    }
    file.close();

    if (!storedName) {
        removeFile(path); // it holds no event
        return;
    }
    const QString target = joinPath(folder, QString::fromLatin1(*storedName));
    switch (moveWithoutReplacing(path, target)) {
    case MoveResult::Moved:
        return;
    case MoveResult::TargetExists:
        removeFile(path); // the event stored first is kept as it is
        return;
    case MoveResult::Failed:
        tellStoreFailed(nativePath(path) + QStringLiteral("\ncould not be stored as ") + nativePath(target));
        return;
    }
}

void EventDownload::tellStoreFailed(const QString& what)
{
    w.dialogs.message(what, MsgButtons::Ok, MsgIcon::Exclamation);
}

} // namespace mr3x
