#pragma once
// The window on the simulated unit with its port open (the unit already under serial control),
// and what the retrieval tests read back: the index lines, the requests on the wire and the
// files in the master unit's folder.
#include "retrieval/EventIndex.h"
#include "support/LinkFixture.h"
#include "support/LongRun.h"

#include <QDir>
#include <QRegularExpression>

namespace mr3x::test {

class RetrievalFixture : public LinkFixture {
public:
    using LinkFixture::LinkFixture;

    /// Puts the unit's own index file in the unit folder and lists it.
    void listUnitIndex()
    {
        writeUnitFile("MR-0101.IDX", bytesOf(unit().indexFile()));
        window().eventIndex->FILL_INDEX_LIST();
    }
    QByteArray readUnitFile(const QString& name) const { return root.read(relative(name)); }
    void writeUnitFile(const QString& name, const QByteArray& bytes) const { root.write(relative(name), bytes); }

    /// The index list's lines, or only its selected ones.
    QStringList indexLines(bool selectedOnly = false)
    {
        QStringList lines;
        for (int row = 0; row < window().lstIndex->count(); ++row)
            if (!selectedOnly || window().lstIndex->item(row)->isSelected())
                lines << window().lstIndex->item(row)->text();
        return lines;
    }
    QStringList selectedLines() { return indexLines(true); }
    /// The row of the index line for the unit's slot (counted from 0); -1 when there is none.
    int rowOfSlot(int slot) { return indexRowOfSlot(*window().lstIndex, slot); }
    void select(int row) { window().lstIndex->item(row)->setSelected(true); }

    /// The event requests on the wire since the last clearWire(), in order ("f04", ...).
    QStringList requests() const
    {
        QStringList found;
        static const QRegularExpression request(QStringLiteral("f[0-9-][0-9]"));
        for (auto it = request.globalMatch(QString::fromLatin1(sent)); it.hasNext();)
            found << it.next().captured();
        return found;
    }
    /// The stored event files (".trg" and ".vlt") in the unit folder, in name order.
    QStringList storedFiles() const { return QDir(unitFolder()).entryList({"*.trg", "*.vlt"}, QDir::Files, QDir::Name); }
    /// Every other file but the index: what a failed reception or a conversion might leave behind.
    QStringList otherFiles() const
    {
        QStringList others = QDir(unitFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        others.removeIf([](const QString& name) { return name.endsWith(".trg") || name.endsWith(".vlt") || name == "MR-0101.IDX"; });
        return others;
    }
    /// The stored names of the unit's records in these slots, in name order.
    QStringList storedNames(std::initializer_list<int> slotNumbers)
    {
        QStringList names;
        for (int slot : slotNumbers)
            names << storedNameOf(unit().eventRecord(slot));
        names.sort();
        return names;
    }
    QString storedNameOfSlot(int slot) { return storedNames({slot}).front(); }

private:
    QString relative(const QString& name) const { return QDir(appFolder).relativeFilePath(unitFolder() + "/" + name); }
};

} // namespace mr3x::test
