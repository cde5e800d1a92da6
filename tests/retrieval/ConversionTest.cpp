// Storing received files under their date and time: the conversion on its own.
#include "RetrievalFixture.h"

#include "retrieval/EventDownload.h"

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::RetrievalFixture;

namespace {

QByteArray recording(std::initializer_list<unsigned char> head, int length = 3328)
{
    QByteArray bytes(length, '\0');
    int i = 0;
    for (unsigned char b : head)
        bytes[i++] = static_cast<char>(b);
    for (int j = 8; j < length; ++j)
        bytes[j] = static_cast<char>(j * 7);
    return bytes;
}

} // namespace

TEST(Conversion, AManualRecordingIsNamedByTheBytesAsReceivedAndStoredWithItsTimeAndSourceZeroed)
{
    RetrievalFixture f;
    frmMaster& w = f.open();
    const QByteArray received = recording({0x17, 0x03, 0x09, 0x14, 0x25, 0x37, 0x02, 0x01});
    f.writeUnitFile("Manual Trigger.ACT", received);
    w.eventDownload->CONVERT_EVENT_FILE("Manual Trigger.ACT");

    EXPECT_EQ(f.storedFiles(), QStringList({"23-03-09 20-37-55.vlt"}));
    QByteArray expected = received;
    expected[5] = 0;
    expected[6] = 0;
    EXPECT_EQ(f.readUnitFile("23-03-09 20-37-55.vlt"), expected);
    EXPECT_EQ(f.otherFiles(), QStringList());
    EXPECT_EQ(w.filTrig[0]->Files(), QStringList({"23-03-09 20-37-55.vlt"}));
}

TEST(Conversion, AFileWithoutAYearIsDeletedAndAStoredOneIsNeverReplaced)
{
    RetrievalFixture f;
    frmMaster& w = f.open();
    f.writeUnitFile("Event_02.EVT", recording({0, 3, 9, 20, 37, 55, 1, 0}));
    w.eventDownload->CONVERT_EVENT_FILE("Event_02.EVT");
    f.writeUnitFile("Manual Trigger.ACT", recording({0, 3, 9, 20, 37, 55, 0, 0}));
    w.eventDownload->CONVERT_EVENT_FILE("Manual Trigger.ACT");
    f.writeUnitFile("Event_03.EVT", "12345"); // too short to hold a head
    w.eventDownload->CONVERT_EVENT_FILE("Event_03.EVT");
    EXPECT_EQ(f.storedFiles(), QStringList());
    EXPECT_EQ(f.otherFiles(), QStringList());

    f.writeUnitFile("23-03-09 20-37-55.vlt", "the first one");
    f.writeUnitFile("Manual Trigger.ACT", recording({23, 3, 9, 20, 37, 55, 0, 0}));
    w.eventDownload->CONVERT_EVENT_FILE("Manual Trigger.ACT");
    EXPECT_EQ(f.readUnitFile("23-03-09 20-37-55.vlt"), QByteArray("the first one"));
    EXPECT_EQ(f.otherFiles(), QStringList());

    // A name that was never received converts nothing and makes nothing.
    w.eventDownload->CONVERT_EVENT_FILE("Event_09.EVT");
    EXPECT_EQ(f.otherFiles(), QStringList());
    EXPECT_TRUE(f.dialogs.shown().empty());
}
