#pragma once
// The note a collector leaves in a unit folder of each file it stored: ".mr3x-collected", one
// line a file, "yyyy-MM-ddTHH:mm:ss<TAB>name". The window reads it to mark the events that came
// in without it as new, and adds "yyyy-MM-ddTHH:mm:ss<TAB>name<TAB>opened" once the user has
// opened one, so that an event fetched overnight is still new when the window starts in the
// morning and is new no longer once it has been looked at, whenever that was.
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace mr3x {

QString collectedNoteOf(const QString& unitFolder);
/// Adds a line for `fileName`; false when the note cannot be written (the file itself is stored).
bool noteCollected(const QString& unitFolder, const QString& fileName, const QDateTime& when);
/// Adds the line that says the user has opened `fileName`; false when it cannot be written.
bool noteOpened(const QString& unitFolder, const QString& fileName, const QDateTime& when);
/// The names the collector stored and nobody has opened since (a file fetched again after it
/// was opened is new again), in the order they were noted; nothing for a missing or unreadable
/// note, and lines that do not read are passed over.
QStringList collectedUnopened(const QString& unitFolder);

} // namespace mr3x
