#pragma once
// The window on the simulated unit with its port open (the unit already under serial control),
// and what the retrieval tests read back: the index lines, the requests on the wire and the
// files in the master unit's folder.
#include "support/LinkFixture.h"

#include <QStringList>

namespace mr3x::test {

class RetrievalFixture : public LinkFixture {
public:
    explicit RetrievalFixture(sim::SimOptions options = defaultOptions());

    /// Loads the window and opens the simulated port; nothing is sent.
    frmMaster& open();
    /// Puts the unit's own index file in the unit folder and lists it.
    void listUnitIndex();

    QStringList indexLines() const;
    /// The row of the index line for the unit's slot (counted from 0); -1 when there is none.
    int rowOfSlot(int slot) const;
    QStringList selectedLines() const;
    void select(int row, bool selected = true);

    /// The event requests on the wire since the last clearWire(), in order ("f04", ...).
    QStringList requests() const;
    /// The stored event files (".trg" and ".vlt") in the unit folder, in name order.
    QStringList storedFiles() const;
    /// Every other file in the unit folder except the index: what a failed reception or a
    /// conversion might leave behind.
    QStringList otherFiles() const;
    QByteArray readUnitFile(const QString& name) const;
    void writeUnitFile(const QString& name, const QByteArray& bytes) const;

    /// The stored name of the unit's record in a slot: its date and time + ".trg".
    QString storedNameOfSlot(int slot);
    static QByteArray bytes(const std::vector<std::uint8_t>& data);
};

} // namespace mr3x::test
