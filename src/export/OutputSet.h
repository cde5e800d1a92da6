#pragma once
// The files one export makes (a .cfg and its .dat, a CSV, a picture ...) written together into a
// folder. An existing file is never replaced unless the caller says so, and then the whole set
// is left unwritten; each file is written to a temporary file and renamed into place when
// complete, so a full disk never leaves half a file under an export's name.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace mr3x {

struct OutputFile {
    QString name;      // the file's name in the folder
    QByteArray bytes;
};

struct OutputOutcome {
    QStringList written;   // paths
    QStringList existing;  // paths that exist, when nothing was written because of them
    QString failure;       // the path that could not be written, when one could not
    bool ok() const { return existing.isEmpty() && failure.isEmpty(); }
};

/// The paths the set's files take in `folder`.
QStringList outputPaths(const QString& folder, const std::vector<OutputFile>& files);

OutputOutcome writeOutputSet(const QString& folder, const std::vector<OutputFile>& files, bool replace);

} // namespace mr3x
