#pragma once
// "Unit Addresses.txt" in the program folder, read as the window and the collector use it. The
// file is the user's: reading never changes it, and the program writes it only where there is
// none, with notes that say what to write.
#include "systems/UnitAddressTable.h"

#include <QString>
#include <QStringList>

namespace mr3x {

struct UnitAddressReading {
    UnitAddressTable table;
    bool found = false;    // false when the folder holds no such file (the table is empty then)
    /// One text a line that gives no address ("Line 4, \"MR-0101,COM3,19.2\": ..."), or why the
    /// file could not be read at all; empty when every line was read.
    QStringList problems;
};

QString unitAddressFilePath(const QString& programFolder);

/// The addresses in the program folder's file. A file in an 8-bit code page reads as such.
UnitAddressReading readUnitAddresses(const QString& programFolder);

/// Writes the file with its notes and examples when the program folder has none; an existing
/// file is never touched. False when one was due and could not be written.
bool writeUnitAddressFileIfMissing(const QString& programFolder);

} // namespace mr3x
