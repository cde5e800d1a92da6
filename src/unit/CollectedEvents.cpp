#include "unit/CollectedEvents.h"

#include "common/Files.h"

#include <QFile>

namespace mr3x {

namespace {

const QString stampFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

} // namespace

QString collectedNoteOf(const QString& unitFolder)
{
    return joinPath(unitFolder, QStringLiteral(".mr3x-collected"));
}

bool noteCollected(const QString& unitFolder, const QString& fileName, const QDateTime& when)
{
    // Appended a whole line at a time: a note cut short by a kill loses at most its last line.
    QFile note(collectedNoteOf(unitFolder));
    if (!note.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = (when.toString(stampFormat) + QLatin1Char('\t') + fileName + QStringLiteral("\r\n")).toUtf8();
    return note.write(line) == line.size() && note.flush();
}

QStringList collectedSince(const QString& unitFolder, const QDateTime& since)
{
    QFile note(collectedNoteOf(unitFolder));
    QStringList names;
    if (!note.open(QIODevice::ReadOnly))
        return names;
    while (!note.atEnd()) {
        const QString line = QString::fromUtf8(note.readLine()).trimmed();
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0)
            continue;
        const QDateTime when = QDateTime::fromString(line.left(tab), stampFormat);
        const QString name = line.mid(tab + 1);
        if (when.isValid() && when >= since && !name.isEmpty() && !names.contains(name))
            names << name;
    }
    return names;
}

} // namespace mr3x
