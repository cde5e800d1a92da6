// Listing the unit's index, its stored marks, the last-index lists and the selection rules.
#include "RetrievalFixture.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::RetrievalFixture;

namespace {

/// An index file of 18-byte records: slot, 0, date (3), time (3), ten zeros.
QByteArray indexFile(const std::vector<std::array<char, 7>>& records)
{
    QByteArray file;
    for (const auto& r : records)
        file += QByteArray(1, r[0]) + '\0' + QByteArray(r.data() + 1, 6) + QByteArray(10, '\0');
    return file;
}

const QString EmptySlot = "00-00-00 00-00-00 (00)-";

} // namespace

TEST(EventIndex, TheListShowsTheIndexWithStoredMarksOnlyMissingEventsStaySelectedAndGetIndexKeepsTheLastUnanswered)
{
    // The unit does not answer the first request for its index (Get Index, at the end).
    sim::SimOptions options = RetrievalFixture::defaultOptions();
    options.faults.silent.push_back({'p', 1});
    RetrievalFixture f(options);
    frmMaster& w = f.open();
    // Without an index file every slot is empty, and reading does not make the file.
    w.eventIndex->FILL_INDEX_LIST();
    EXPECT_EQ(f.indexLines(), QStringList(20, EmptySlot));
    EXPECT_FALSE(QFile::exists(f.unitFolder() + "/MR-0101.IDX"));

    f.writeUnitFile("MR-0101.IDX", indexFile({{6, 5, 12, 26, 14, 3, 22}, {0, 0, 0, 0, 0, 0, 0},
                                              {7, 26, 11, 30, 9, 15, 0}, {1, 26, 12, 1, 23, 59, 59}}));
    f.writeUnitFile("26-11-30 09-15-00.trg", "stored");
    f.writeUnitFile("26-12-01 23-59-59.vlt", "a manual recording does not count");
    w.eventIndex->FILL_INDEX_LIST();
    const QStringList lines = f.indexLines();
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines.mid(0, 4), QStringList({"26-12-01 23-59-59 (02)-", "26-11-30 09-15-00 (08)+",
                                             "05-12-26 14-03-22 (07)-", EmptySlot}));
    EXPECT_EQ(lines.count(EmptySlot), 17);
    EXPECT_FALSE(w.fraIndex->isHidden());
    EXPECT_TRUE(f.selectedLines().isEmpty());

    // The last-index lists read the model of their own viewer slot, not the connected unit's,
    // in their own line form, and leave the event index alone.
    w.eventSlot[1].lblUnit->setText("M-S32");
    w.eventIndex->FILL_LAST_INDEX(1);
    ASSERT_EQ(w.eventSlot[1].lstLastIndex->count(), 40);
    EXPECT_EQ(w.eventSlot[1].lstLastIndex->item(1)->text(), QString("26-11-30 09-15-00   08 +"));
    w.eventIndex->FILL_LAST_INDEX(0);
    EXPECT_EQ(w.eventSlot[0].lstLastIndex->count(), 20);
    EXPECT_EQ(f.indexLines().size(), 20);

    // Only events missing on the PC stay selected.
    // Three stored events are the newest, so the first line that may be selected is the fourth.
    std::vector<std::array<char, 7>> records;
    for (char day = 1; day <= 8; ++day)
        records.push_back({static_cast<char>(day - 1), 26, 10, day, 12, 0, 0});
    f.writeUnitFile("MR-0101.IDX", indexFile(records));
    for (const char* name : {"26-10-08 12-00-00.trg", "26-10-07 12-00-00.trg", "26-10-06 12-00-00.trg"})
        f.writeUnitFile(name, "stored");
    w.eventIndex->FILL_INDEX_LIST();
    w.lstIndex->setFixedSize(200, 4 * w.lstIndex->sizeHintForRow(0) + 2 * w.lstIndex->frameWidth());
    w.lstIndex->show();

    // A click on a stored line or an empty slot leaves it unselected; others stay.
    for (int row : {0, 19, 3})
        f.select(row);
    EXPECT_EQ(f.selectedLines(), QStringList({"26-10-05 12-00-00 (05)-"}));

    w.eventIndex->cmdSelectAll_Click();
    EXPECT_EQ(f.selectedLines().size(), 5);
    EXPECT_EQ(f.selectedLines().last(), QString("26-10-01 12-00-00 (01)-"));
    EXPECT_EQ(w.lstIndex->indexAt(QPoint(2, 2)).row(), 3); // the first selected line is at the top

    // An event stored since is marked and leaves the selection.
    f.writeUnitFile("26-10-05 12-00-00.trg", "stored");
    w.eventIndex->REMARK_INDEX();
    EXPECT_EQ(f.indexLines().at(3), QString("26-10-05 12-00-00 (05)+"));
    EXPECT_EQ(f.selectedLines().size(), 4);

    w.eventIndex->cmdClearAll_Click();
    EXPECT_TRUE(f.selectedLines().isEmpty());

    // Get Index keeps the last index when the unit does not answer, and otherwise fetches and
    // lists the unit's.
    const QByteArray older = indexFile({{6, 5, 12, 26, 14, 3, 22}});
    f.writeUnitFile("MR-0101.IDX", older);

    w.eventIndex->cmdGetIndex_Click();
    EXPECT_TRUE(f.statusHistory.contains("Timeout acknowledging request for index file"));
    EXPECT_EQ(w.lblStatus->text(), QString("File transfer failed"));
    EXPECT_EQ(f.readUnitFile("MR-0101.IDX"), older);
    EXPECT_EQ(f.otherFiles(), QStringList());
    EXPECT_EQ(f.indexLines().value(0), QString("05-12-26 14-03-22 (07)-"));
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);

    f.clearWire();
    w.eventIndex->cmdGetIndex_Click();
    EXPECT_EQ(f.sent.left(1), QByteArray("p"));
    EXPECT_EQ(f.readUnitFile("MR-0101.IDX"), mr3x::test::bytesOf(f.unit().indexFile()));
    EXPECT_EQ(f.indexLines().count(EmptySlot), 8);
    EXPECT_EQ(f.indexLines().value(0).mid(18), QString("(12)-")); // the unit's newest event is in its last slot
    EXPECT_TRUE(w.cmdGetData->isEnabled());
}
