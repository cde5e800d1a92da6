#pragma once
// File and folder operations as the program uses them. Text files are written whole, lines
// ending in CR LF, into a temporary file renamed over the old one, so a crash or a full disk
// never leaves a half-written file. Readers accept CR LF and bare LF, and the encodings a
// hand-edited file may be in.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace mr3x {

/// a + "/" + b (paths are kept with "/" inside the program; shown with native separators).
QString joinPath(const QString& a, const QString& b);
/// The path as the user sees it, with the platform's separators.
QString nativePath(const QString& path);

bool pathExists(const QString& path);
bool isFolder(const QString& path);

/// Writes the lines, each followed by CR LF, replacing the file only once all is written. A file
/// that is there already is written in its own encoding (common/TextEncoding.h), a new one in UTF-8.
bool writeTextFile(const QString& path, const QStringList& lines);
/// The file's lines without their line ends, read as UTF-8 when they are UTF-8 and as
/// Windows-1252 when not; nothing when it cannot be read.
std::optional<QStringList> readTextLines(const QString& path);
/// The lines of an existing file as the unit's 8-bit texts (its settings file, for one); nothing
/// when it is missing or cannot be read.
std::optional<std::vector<std::string>> readLatin1Lines(const QString& path);

/// Clears the read-only attribute so the file can be replaced or deleted.
bool makeWritable(const QString& path);
/// Deletes a file after clearing its read-only attribute; true when no file is left.
bool removeFile(const QString& path);
/// Copies `from` over `to`, replacing it (made writable first); written through a temporary file.
bool copyFileOver(const QString& from, const QString& to);

/// Creates one folder level when no file or folder of that name exists; true when the folder is there.
bool ensureFolder(const QString& path);

/// Removes from `folder` the temporary files of text-file saves that a kill or a crash cut short
/// (common/Text.h, isLeftOverSaveName), once no save can still be writing them.
void removeLeftOverSaves(const QString& folder, const QDateTime& now);

} // namespace mr3x
