#pragma once
// The note a collector leaves in a unit folder of each file it stored: ".mr3x-collected", one
// line a file, "yyyy-MM-ddTHH:mm:ss<TAB>name". The window reads it to mark the events that came
// in without it as new until the user looks at them.
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace mr3x {

QString collectedNoteOf(const QString& unitFolder);
/// Adds a line for `fileName`; false when the note cannot be written (the file itself is stored).
bool noteCollected(const QString& unitFolder, const QString& fileName, const QDateTime& when);
/// The names noted at or after `since`, in the order they were noted; nothing for a missing or
/// unreadable note, and lines that do not read are passed over.
QStringList collectedSince(const QString& unitFolder, const QDateTime& since);

} // namespace mr3x
