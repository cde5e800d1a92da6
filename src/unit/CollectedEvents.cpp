#include "unit/CollectedEvents.h"

#include "common/Files.h"

#include <QFile>

namespace mr3x {

namespace {

const QString stampFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");
const QString openedMark = QStringLiteral("opened");

bool appendLine(const QString& unitFolder, const QStringList& fields)
{
    // Appended a whole line at a time: the collector and the window may both add to the note,
    // and a note cut short by a kill loses at most its last line.
    QFile note(collectedNoteOf(unitFolder));
    if (!note.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = (fields.join(QLatin1Char('\t')) + QStringLiteral("\r\n")).toUtf8();
    return note.write(line) == line.size() && note.flush();
}

} // namespace

QString collectedNoteOf(const QString& unitFolder)
{
    return joinPath(unitFolder, QStringLiteral(".mr3x-collected"));
}

bool noteCollected(const QString& unitFolder, const QString& fileName, const QDateTime& when)
{
    return appendLine(unitFolder, {when.toString(stampFormat), fileName});
}

bool noteOpened(const QString& unitFolder, const QString& fileName, const QDateTime& when)
{
    return appendLine(unitFolder, {when.toString(stampFormat), fileName, openedMark});
}

QStringList collectedUnopened(const QString& unitFolder)
{
    QFile note(collectedNoteOf(unitFolder));
    QStringList names;
    if (!note.open(QIODevice::ReadOnly))
        return names;
    while (!note.atEnd()) {
        const QStringList fields = QString::fromUtf8(note.readLine()).trimmed().split(QLatin1Char('\t'));
        if (fields.size() < 2 || fields.size() > 3 || !QDateTime::fromString(fields[0], stampFormat).isValid() ||
            fields[1].isEmpty())
            continue;
        names.removeAll(fields[1]);
        if (fields.size() == 2)
            names << fields[1];
        // A third field other than the opened mark is not a line of ours: it changes nothing.
    }
    return names;
}

} // namespace mr3x
