#pragma once
// One stored file exported on its own, with no window: an event file (".trg", ".vlt") or a TDR
// trace file (".TDR", and the older ".tst", ".ref") turned into the set of files a format makes.
// What the event viewer would show is worked out from the file alone: its place in the folder
// tree names the unit and location, the distances use the speed given, the trace shown is the
// event's first pulse.
#include "export/Comtrade.h"
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

/// A COMTRADE set under one name: `stem`.cfg, `stem`.dat and `stem`.hdr.
std::vector<OutputFile> eventComtradeFiles(const QString& stem, const exports::ComtradeFiles& files);

} // namespace mr3x
