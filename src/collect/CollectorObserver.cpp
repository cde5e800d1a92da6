#include "collect/CollectorObserver.h"

namespace mr3x::collect {

void CollectorObserver::status(const QString& text)
{
    lastStatus_ = text;
    log_(text);
}

MsgAnswer CollectorObserver::ask(const QString& text, MsgButtons buttons, MsgIcon, const QString&)
{
    const QString oneLine = QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
    messages_ << oneLine;
    log_(QStringLiteral("Told: ") + oneLine);
    // Nothing the session asks may change the unit: a batch is never sent by the collector, and
    // a question it might meet is answered by going no further.
    switch (buttons) {
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::OkCancel: return MsgAnswer::Cancel;
    default: return MsgAnswer::Ok;
    }
}

void CollectorObserver::stored(const StoredFile& file)
{
    log_(QStringLiteral("Stored ") + file.path);
    if (file.kind == StoredFile::Kind::Event || file.kind == StoredFile::Kind::ManualRecording)
        storedEvents_ << file.path;
}

QStringList CollectorObserver::takeMessages()
{
    QStringList taken;
    taken.swap(messages_);
    return taken;
}

} // namespace mr3x::collect
