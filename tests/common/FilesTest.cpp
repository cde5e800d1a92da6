#include "common/Files.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::TempFolder;

TEST(Files, TextFilesUseCrLfReadOnlyOnesAreReplacedAndDeletedAndFoldersAreMadeOneLevelAtATime)
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

    // Read-only files are replaced and deleted.
    dir.write("ro.txt", "old");
    QFile::setPermissions(dir("ro.txt"), QFileDevice::ReadOwner);
    dir.write("src.txt", "new");
    ASSERT_TRUE(copyFileOver(dir("src.txt"), dir("ro.txt")));
    EXPECT_EQ(dir.read("ro.txt"), QByteArray("new"));

    QFile::setPermissions(dir("ro.txt"), QFileDevice::ReadOwner);
    EXPECT_TRUE(removeFile(dir("ro.txt")));
    EXPECT_FALSE(dir.exists("ro.txt"));
    EXPECT_TRUE(removeFile(dir("never-there.txt")));

    // Folders are made one level at a time.
    EXPECT_TRUE(ensureFolder(dir("a")));
    EXPECT_TRUE(isFolder(dir("a")));
    EXPECT_FALSE(ensureFolder(dir("x/y"))); // the level above is missing
    EXPECT_TRUE(ensureFolder(dir("a"))); // already there
    EXPECT_EQ(joinPath("a/", "b"), QString("a/b"));
    EXPECT_EQ(joinPath("a", "b"), QString("a/b"));
}

TEST(Files, AFileFromAWindowsEditorReadsRightAndIsWrittenBackInItsOwnEncodingUtf16Included)
{
    TempFolder dir;
    const QString sued = QStringLiteral("S\u00fcd,M\u00fcllheim");
    dir.write("cp.cfg", "A1,1,M-R32,S\xFC" "d,M\xFCllheim\r\n");
    EXPECT_EQ(*readTextLines(dir("cp.cfg")), QStringList{"A1,1,M-R32," + sued});
    ASSERT_TRUE(writeTextFile(dir("cp.cfg"), {"A1,1,M-R32," + sued, QStringLiteral("A2,2,M-R32,\u20ac,x")}));
    EXPECT_EQ(dir.read("cp.cfg"), QByteArray("A1,1,M-R32,S\xFC" "d,M\xFCllheim\r\nA2,2,M-R32,\x80,x\r\n"));
    // A name the code page cannot hold makes the file UTF-8 rather than lose a character.
    const QString lodz = QStringLiteral("\u0141\u00f3d\u017a");
    ASSERT_TRUE(writeTextFile(dir("cp.cfg"), {lodz, sued}));
    EXPECT_EQ(dir.read("cp.cfg"), (lodz + "\r\n" + sued + "\r\n").toUtf8());
    EXPECT_EQ(*readTextLines(dir("cp.cfg")), QStringList({lodz, sued}));

    // A new file is UTF-8.
    ASSERT_TRUE(writeTextFile(dir("new.ini"), {sued}));
    EXPECT_EQ(dir.read("new.ini"), sued.toUtf8() + "\r\n");

    // A "Unicode" file is read and written back in UTF-16, a character outside the first plane too.
    const QString plug = lodz + " " + QString::fromUtf8("\xF0\x9F\x94\x8C");
    for (const bool bigEndian : {false, true}) {
        // As a Windows editor saves "Unicode": UTF-16 after its byte-order mark.
        const auto utf16 = [bigEndian](const QString& text) {
            return QByteArray(QStringEncoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                                             QStringConverter::Flag::WriteBom)(text));
        };
        dir.write("unicode.cfg", utf16("A1,1,M-R32," + plug + "\r\nA2,2,M-R32,S\u00fcd\n"));
        EXPECT_EQ(*readTextLines(dir("unicode.cfg")), QStringList({"A1,1,M-R32," + plug, QStringLiteral("A2,2,M-R32,S\u00fcd")}));
        ASSERT_TRUE(writeTextFile(dir("unicode.cfg"), {plug, "Nord"}));
        EXPECT_EQ(dir.read("unicode.cfg"), utf16(plug + "\r\nNord\r\n")) << bigEndian;
    }
}
