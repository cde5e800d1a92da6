#pragma once
// One stored file exported on its own, with no window: an event file (".trg", ".vlt") or a TDR
// trace file (".TDR", and the older ".tst", ".ref") turned into the set of files a format makes.
// What the event viewer would show is worked out from the file alone: its place in the folder
// tree names the unit and location, the distances use the speed given, the trace shown is the
// event's first pulse.
#include "export/ExportArguments.h"
#include "export/OutputSet.h"

#include <QString>

#include <vector>

namespace mr3x {

struct FileExport {
    std::vector<OutputFile> files;
    QString problem;   // why nothing can be exported; names no file (the caller does)
};

FileExport exportStoredFile(const QString& path, const exports::ExportArguments& settings);

/// A COMTRADE pair under one name: `stem`.cfg and `stem`.dat.
std::vector<OutputFile> eventComtradeFiles(const QString& stem, const std::vector<std::uint8_t>& dat, const std::string& cfg);

} // namespace mr3x
