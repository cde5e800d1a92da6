#include "common/Files.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::TempFolder;

TEST(Files, TextFilesAreWrittenWithCrLfAndReadWithEitherLineEnd)
{
    TempFolder dir;
    ASSERT_TRUE(writeTextFile(dir("a.txt"), {"one", "", "three"}));
    EXPECT_EQ(dir.read("a.txt"), QByteArray("one\r\n\r\nthree\r\n"));
    EXPECT_EQ(*readTextLines(dir("a.txt")), QStringList({"one", "", "three"}));

    dir.write("lf.txt", "x\ny\n");
    EXPECT_EQ(*readTextLines(dir("lf.txt")), QStringList({"x", "y"}));
    dir.write("nolineend.txt", "x\r\ny");
    EXPECT_EQ(*readTextLines(dir("nolineend.txt")), QStringList({"x", "y"}));
    EXPECT_FALSE(readTextLines(dir("missing.txt")).has_value());
}

TEST(Files, ReadOnlyFilesAreReplacedAndDeleted)
{
    TempFolder dir;
    dir.write("ro.txt", "old");
    QFile::setPermissions(dir("ro.txt"), QFileDevice::ReadOwner);
    dir.write("src.txt", "new");
    ASSERT_TRUE(copyFileOver(dir("src.txt"), dir("ro.txt")));
    EXPECT_EQ(dir.read("ro.txt"), QByteArray("new"));

    QFile::setPermissions(dir("ro.txt"), QFileDevice::ReadOwner);
    EXPECT_TRUE(removeFile(dir("ro.txt")));
    EXPECT_FALSE(dir.exists("ro.txt"));
    EXPECT_TRUE(removeFile(dir("never-there.txt")));
}

TEST(Files, FoldersAreMadeOneLevelAtATime)
{
    TempFolder dir;
    EXPECT_TRUE(ensureFolder(dir("a")));
    EXPECT_TRUE(isFolder(dir("a")));
    EXPECT_FALSE(ensureFolder(dir("x/y"))); // the level above is missing
    EXPECT_TRUE(ensureFolder(dir("a"))); // already there
    EXPECT_EQ(joinPath("a/", "b"), QString("a/b"));
    EXPECT_EQ(joinPath("a", "b"), QString("a/b"));
}
