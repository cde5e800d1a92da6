#include "retrieval/MoveWithoutReplacing.h"

#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mr3x {

#if defined(Q_OS_WIN)

MoveResult moveWithoutReplacing(const QString& from, const QString& to)
{
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the target exists.
    const auto source = reinterpret_cast<const wchar_t*>(from.utf16());
    const auto target = reinterpret_cast<const wchar_t*>(to.utf16());
    if (MoveFileExW(source, target, 0))
        return MoveResult::Moved;
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? MoveResult::TargetExists : MoveResult::Failed;
}

#else

namespace {

/// A hard link fails when the target exists; once it is made the old name goes.
MoveResult moveByLink(const QByteArray& source, const QByteArray& target)
{
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return MoveResult::Moved;
    }
    return errno == EEXIST ? MoveResult::TargetExists : MoveResult::Failed;
}

} // namespace

MoveResult moveWithoutReplacing(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return MoveResult::Moved;
    if (errno == EEXIST)
        return MoveResult::TargetExists;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return MoveResult::Failed;
    // The file system cannot rename without replacing: a hard link does the same.
#endif
    const MoveResult linked = moveByLink(source, target);
    if (linked != MoveResult::Failed || (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP))
        return linked;
    // A file system without hard links either (FAT): test, then rename, the best it allows.
    if (QFileInfo::exists(to))
        return MoveResult::TargetExists;
    return ::rename(source.constData(), target.constData()) == 0 ? MoveResult::Moved : MoveResult::Failed;
}

#endif

} // namespace mr3x
