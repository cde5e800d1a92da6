#include "link/FileReception.h"

#include <QDir>
#include <QFileInfo>

namespace mr3x {

namespace {

QByteArray toQBytes(const ymodem::Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

} // namespace

FileReception::FileReception(const QString& folder, const QString& name, ymodem::ReceiverLimits limits)
    : receiver_(limits)
    , target_(QDir(folder).filePath(name))
    , file_(target_)
{
    events_.push_back({ymodem::TransferEvent::Kind::Started, -1, 0, 0, 0, name.toStdString()});
    // The temporary file must sit beside the target so that the final rename replaces it in one
    // step; writing straight into the target would leave a partial file when the link fails.
    file_.setDirectWriteFallback(false);
    if (!QDir(folder).exists())
        fail(QStringLiteral("the folder %1 does not exist").arg(folder));
    else if (!file_.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot write in %1: %2").arg(folder, file_.errorString()));
}

QByteArray FileReception::start(std::int64_t nowMs)
{
    if (!running())
        return {};
    return settle(receiver_.start(nowMs));
}

QByteArray FileReception::receive(const QByteArray& bytes, std::int64_t nowMs, qsizetype& consumed)
{
    consumed = 0;
    if (!running())
        return {};
    std::size_t used = 0;
    const auto answer = receiver_.receive(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())),
        nowMs, &used);
    consumed = static_cast<qsizetype>(used);
    return settle(answer);
}

QByteArray FileReception::tick(std::int64_t nowMs)
{
    if (!running())
        return {};
    return settle(receiver_.tick(nowMs));
}

QByteArray FileReception::cancel(const QString& reason)
{
    if (!running())
        return {};
    const QByteArray answer = toQBytes(receiver_.cancel(reason.toStdString()));
    fail(reason);
    return answer;
}

QByteArray FileReception::settle(const ymodem::Bytes& answer)
{
    const ymodem::Bytes data = receiver_.takeData();
    if (!data.empty()) {
        const auto size = static_cast<qint64>(data.size());
        if (file_.write(reinterpret_cast<const char*>(data.data()), size) != size) {
            const QString reason = QStringLiteral("cannot write %1: %2").arg(target_, file_.errorString());
            QByteArray stop = toQBytes(answer);
            stop += toQBytes(receiver_.cancel(reason.toStdString()));
            fail(reason);
            return stop;
        }
    }
    switch (receiver_.outcome()) {
    case ymodem::Outcome::Running:
        break;
    case ymodem::Outcome::Complete:
        if (static_cast<std::uint64_t>(file_.size()) != receiver_.announcedLength().value_or(0))
            fail(QStringLiteral("the file is not of its announced length"));
        else if (!file_.commit())
            fail(QStringLiteral("cannot store %1: %2").arg(target_, file_.errorString()));
        else
            stored();
        break;
    case ymodem::Outcome::Failed:
        fail(QString::fromStdString(receiver_.failure()));
        break;
    case ymodem::Outcome::Aborted:
        fail(QString::fromStdString(receiver_.failure()));
        state_ = State::Aborted;
        break;
    }
    return toQBytes(answer);
}

std::vector<ymodem::TransferEvent> FileReception::takeEvents()
{
    collectEvents();
    std::vector<ymodem::TransferEvent> taken;
    taken.swap(events_);
    return taken;
}

void FileReception::collectEvents()
{
    for (ymodem::TransferEvent& event : receiver_.takeEvents())
        events_.push_back(std::move(event));
}

void FileReception::stored()
{
    collectEvents();
    state_ = State::Complete;
    const std::uint64_t length = receiver_.announcedLength().value_or(0);
    events_.push_back({ymodem::TransferEvent::Kind::Stored, -1, 0, length, length,
                       QFileInfo(target_).fileName().toStdString()});
}

void FileReception::fail(const QString& reason)
{
    collectEvents();
    state_ = State::Failed;
    failure_ = reason;
    events_.push_back({ymodem::TransferEvent::Kind::Failed, -1, 0, 0, 0, reason.toStdString()});
    // Dropping the unsaved file removes the temporary file; the target is left as it was.
    file_.cancelWriting();
    if (file_.isOpen())
        file_.commit(); // fails after cancelWriting, and removes the temporary file
}

} // namespace mr3x
