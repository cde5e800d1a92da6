// Fetching the unit's index, downloading its event records and manual recordings, and storing
// each under its date and time in the unit folder.
#include "unit/UnitSession.h"

#include "common/Files.h"
#include "retrieval/MoveWithoutReplacing.h"
#include "retrieval/ReceivedFileRules.h"

#include <QFile>
#include <QFileInfo>

#include <span>

namespace mr3x {

namespace {

StoredFile::Kind storedKind(retrieval::ReceivedKind kind)
{
    return kind == retrieval::ReceivedKind::ManualRecording ? StoredFile::Kind::ManualRecording : StoredFile::Kind::Event;
}

} // namespace

QString UnitSession::indexFileOf(const QString& folder, const QString& unit)
{
    if (folder.isEmpty())
        return {};
    return joinPath(folder, QString::fromStdString(commands::receivedFileName(commands::Command::Index, unit.toStdString())));
}

std::vector<retrieval::IndexRecord> UnitSession::readIndex(const QString& indexFile, std::string_view model)
{
    const int count = retrieval::indexRecordCount(model);
    QFile file(indexFile);
    QByteArray bytes;
    if (!indexFile.isEmpty() && file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly))
        bytes = file.read(static_cast<qint64>(count) * static_cast<qint64>(retrieval::indexRecordSize));
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    return retrieval::indexRecords(std::span<const std::uint8_t>(data, static_cast<std::size_t>(bytes.size())), count);
}

bool UnitSession::isEventStored(const QString& folder, const std::string& eventName)
{
    return !folder.isEmpty() && QFileInfo::exists(joinPath(folder, QString::fromLatin1(eventName) + QStringLiteral(".trg")));
}

std::vector<std::string> UnitSession::missingEvents(const QString& folder, const std::vector<retrieval::IndexRecord>& index)
{
    std::vector<std::string> missing;
    for (const retrieval::IndexRecord& record : index)
        if (!retrieval::isEmptySlot(record) && !isEventStored(folder, retrieval::eventName(record)))
            missing.push_back(retrieval::slotText(record));
    return missing;
}

SendOptions UnitSession::indexRequestOptions()
{
    SendOptions options;
    options.clearScreen = false;
    options.releaseTerminal = false;
    options.echo = std::nullopt;
    options.clearPendingBefore = true;
    options.clearPendingAfter = true;
    return options;
}

std::optional<QString> UnitSession::fetchIndex(const QString& folder, const QString& unit, IndexRequest how)
{
    const commands::Exchange request = commands::exchangeFor(commands::Command::Index, {}, unit.toLatin1().toStdString());
    const bool answered = sendCommand(request, indexRequestOptions());
    if (answered)
        observer_.settle();
    // Asked for by the user, the reception is tried even without an answer: the unit may have
    // sent the file anyway. After the settings download no answer ends the road there.
    if (!answered && how == IndexRequest::AfterSettings)
        return std::nullopt;

    ReceiveOptions receive;
    receive.transferMode = 1;
    if (how == IndexRequest::OnRequest)
        receive.transferProtocol = 2;
    const QString name = qtext(request.receivedFile);
    // A failed reception leaves the index of the last fetch in place, and "File transfer failed"
    // on the status line.
    if (!receiveFile(folder, name, receive))
        return std::nullopt;
    report(request.received);
    const QString path = joinPath(folder, name);
    observer_.stored({StoredFile::Kind::Index, path});
    return path;
}

bool UnitSession::downloadEvent(const QString& folder, std::string_view slotText)
{
    const commands::Exchange request = commands::eventRecordRequest(slotText);
    if (!sendCommand(request))
        return false;
    ReceiveOptions receive;
    receive.existing = ExistingFile::Delete;
    receive.deleteOnFailure = true;
    const QString name = qtext(request.receivedFile);
    if (!receiveFile(folder, name, receive))
        return false;
    // The unit keeps the record unconfirmed until it hears the ACK.
    sendOnly(commands::Command::Ack);
    report(request.received);
    storeReceivedFile(folder, name);
    return true;
}

bool UnitSession::takeManualRecording(const QString& folder)
{
    const commands::Exchange request = commands::exchangeFor(commands::Command::ManualTrigger);
    if (!sendCommand(request))
        return false;
    report(request.receiving);
    const QString name = qtext(request.receivedFile);
    link_.Input();
    link_.setTransferMode(1);
    ReceiveOptions receive;
    receive.pauseFirst = false;
    receive.deleteOnFailure = true;
    if (!receiveFile(folder, name, receive))
        return false;
    // A manual recording is not confirmed with an ACK: the unit keeps no record of it.
    report(request.received);
    storeReceivedFile(folder, name);
    return true;
}

std::optional<QString> UnitSession::receiveTrace(const QString& folder, const QString& name)
{
    report(name + QStringLiteral(" test in progress "));
    std::optional<QString> stored;
    ReceiveOptions receive;
    receive.pauseFirst = false;
    // A test of the same name is replaced only by a whole new trace: the reception writes a
    // temporary file and renames it over the old one when complete.
    receive.existing = ExistingFile::MakeWritable;
    receive.transferProtocol = 2;
    if (folder.isEmpty()) {
        report(commands::transferFailedText);
    } else if (receiveFile(folder, name, receive)) {
        report(name + QStringLiteral(" test completed "));
        stored = joinPath(folder, name);
        observer_.stored({StoredFile::Kind::Trace, *stored});
    }
    link_.setWaitTimeout(0);
    return stored;
}

std::optional<QString> UnitSession::storeReceivedFile(const QString& folder, const QString& name)
{
    const auto kind = retrieval::receivedKind(name.toStdString());
    if (folder.isEmpty() || !kind)
        return std::nullopt;
    const QString path = joinPath(folder, name);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        if (file.exists())
            tellStoreFailed(nativePath(path) + QStringLiteral("\ncould not be opened: ") + file.errorString());
        return std::nullopt;
    }
    const QByteArray head = file.read(retrieval::receivedHeadLength);
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(head.constData()), static_cast<std::size_t>(head.size()));
    const std::optional<std::string> storedName = retrieval::storedName(bytes, *kind);
    if (storedName && kind == retrieval::ReceivedKind::ManualRecording) {
        // The last time byte and the trigger source become 0: the recording reads as manual.
        const QByteArray zeros(retrieval::manualZeroLength, '\0');
        if (!file.seek(retrieval::manualZeroOffset) || file.write(zeros) != zeros.size() || !file.flush()) {
            tellStoreFailed(nativePath(path) + QStringLiteral("\ncould not be written: ") + file.errorString());
            return std::nullopt;
        }
    }
    file.close();

    if (!storedName) {
        removeFile(path); // it holds no event
        return std::nullopt;
    }
    const QString target = joinPath(folder, QString::fromLatin1(*storedName));
    switch (moveWithoutReplacing(path, target)) {
    case MoveResult::Moved:
        observer_.stored({storedKind(*kind), target});
        return target;
    case MoveResult::TargetExists:
        removeFile(path); // the event stored first is kept as it is
        return std::nullopt;
    case MoveResult::Failed:
        tellStoreFailed(nativePath(path) + QStringLiteral("\ncould not be stored as ") + nativePath(target));
        return std::nullopt;
    }
    return std::nullopt;
}

void UnitSession::tellStoreFailed(const QString& what)
{
    observer_.ask(what, MsgButtons::Ok, MsgIcon::Exclamation);
}

} // namespace mr3x
