#pragma once
// Moving a received file to its stored name without ever replacing a file already there. The
// check and the move are one step of the file system, so a stored event survives even another
// program (or a second copy of this one) storing the same event at the same moment.
#include <QString>

namespace mr3x {

enum class MoveResult {
    Moved,        // the file now has the new name
    TargetExists, // a file of the new name was there; nothing was touched
    Failed,       // the move was refused (permissions, missing file, ...); nothing was touched
};

MoveResult moveWithoutReplacing(const QString& from, const QString& to);

} // namespace mr3x
