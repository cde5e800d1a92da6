// Storing a received file never replaces a stored one.
#include "retrieval/MoveWithoutReplacing.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::TempFolder;

TEST(MoveWithoutReplacing, MovesOnlyWhenTheNameIsFree)
{
    TempFolder folder;
    const QString received = folder.write("Event_01.EVT", "new");
    const QString stored = folder.write("26-12-06 11-00-00.trg", "first");

    EXPECT_EQ(moveWithoutReplacing(received, stored), MoveResult::TargetExists);
    EXPECT_EQ(folder.read("26-12-06 11-00-00.trg"), QByteArray("first"));
    EXPECT_EQ(folder.read("Event_01.EVT"), QByteArray("new"));

    EXPECT_EQ(moveWithoutReplacing(received, folder("26-12-06 12-00-00.trg")), MoveResult::Moved);
    EXPECT_FALSE(folder.exists("Event_01.EVT"));
    EXPECT_EQ(folder.read("26-12-06 12-00-00.trg"), QByteArray("new"));

    EXPECT_EQ(moveWithoutReplacing(folder("missing.EVT"), folder("other.trg")), MoveResult::Failed);
    EXPECT_FALSE(folder.exists("other.trg"));
}
