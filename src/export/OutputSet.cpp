#include "export/OutputSet.h"

#include "common/Files.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace mr3x {

namespace {

/// Writes the bytes to a temporary file beside `path` and renames it into place once they are all
/// there, replacing a file of that name. A failed write (a full disk) leaves nothing behind.
/// Exports are made again from their sources at will, so the files are not forced to the disk
/// one by one: that would cost more than the export itself on a folder of a thousand events.
bool writeWhole(const QString& path, const QByteArray& bytes)
{
    const QFileInfo target(path);
    const QString temporary = joinPath(target.absolutePath(), QStringLiteral(".") + target.fileName() + QStringLiteral(".part"));
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    std::error_code error;
    if (written && file.error() == QFileDevice::NoError)
        std::filesystem::rename(temporary.toStdU16String(), path.toStdU16String(), error);
    if (!written || error) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace

QStringList outputPaths(const QString& folder, const std::vector<OutputFile>& files)
{
    QStringList paths;
    for (const OutputFile& file : files)
        paths << joinPath(folder, file.name);
    return paths;
}

OutputOutcome writeOutputSet(const QString& folder, const std::vector<OutputFile>& files, bool replace)
{
    OutputOutcome outcome;
    const QStringList paths = outputPaths(folder, files);
    if (!replace) {
        for (const QString& path : paths)
            if (QFileInfo::exists(path))
                outcome.existing << path;
        if (!outcome.existing.isEmpty())
            return outcome;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QString& path = paths[qsizetype(i)];
        if (replace)
            makeWritable(path);
        if (!writeWhole(path, files[i].bytes)) {
            outcome.failure = path;
            return outcome;
        }
        outcome.written << path;
    }
    return outcome;
}

} // namespace mr3x
