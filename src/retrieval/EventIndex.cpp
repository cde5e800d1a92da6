#include "retrieval/EventIndex.h"

#include "common/Files.h"
#include "unit/UnitSession.h"
#include "link/ConnectionLifecycle.h"
#include "retrieval/EventDownload.h"
#include "ui/frmMaster.h"

#include <QFile>
#include <QFileInfo>
#include <QScopedValueRollback>

#include <vector>

namespace mr3x {

namespace {

std::string latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace

QString EventIndex::indexFileOf(const QString& folder, const QString& unit)
{
    return UnitSession::indexFileOf(folder, unit);
}

QString EventIndex::indexFilePath() const
{
    return indexFileOf(w.filTST->Path(), w.cboUnits[0]->currentText());
}

bool EventIndex::isStored(const QString& folder, const std::string& eventName)
{
    return UnitSession::isEventStored(folder, eventName);
}

void EventIndex::cmdGetIndex_Click()
{
    // No connection check, but the busy check of every unit command: a request sent during a
    // download's reception or between its exchanges would land in the middle of it.
    if (w.unit->linkBusy())
        return;
    const UnitSession::Routine routine(*w.unit);
    // The user may choose another unit while the waits let window events run: the index still
    // belongs to the unit it was asked of, and goes to its folder.
    const QString folder = w.filTST->Path();
    const QString unit = w.cboUnits[0]->currentText();
    w.unit->fetchIndex(folder, unit, UnitSession::IndexRequest::OnRequest);
    // After a failed reception the list shows the index of the last fetch.
    fillIndexList(indexFileOf(folder, unit));
    w.connection->ENABLE_CONTROLS();
}

void EventIndex::FILL_INDEX_LIST()
{
    fillIndexList(indexFilePath());
}

void EventIndex::fillIndexList(const QString& indexFile)
{
    w.lstIndex->clear();
    w.lstBuffer->clear();
    w.fraIndex->show();
    listedFolder_ = indexFile.isEmpty() ? QString() : QFileInfo(indexFile).path();
    fillFromIndexFile(w.lstIndex, indexFile, w.lblHardware->text(), &retrieval::indexLine);
}

void EventIndex::FILL_LAST_INDEX(int i)
{
    w.eventSlot[i].lstLastIndex->clear();
    w.lstBuffer->clear();
    fillFromIndexFile(w.eventSlot[i].lstLastIndex, indexFilePath(), w.eventSlot[i].lblUnit->text(), &retrieval::lastIndexLine);
}

void EventIndex::fillFromIndexFile(QListWidget* list, const QString& indexFile, const QString& model, LineForm lineForm)
{
    // The marks tell what is stored beside the index itself: the folder of the unit it came
    // from, whichever unit the chains show now.
    const QString folder = indexFile.isEmpty() ? QString() : QFileInfo(indexFile).path();
    QStringList lines;
    for (const retrieval::IndexRecord& record : UnitSession::readIndex(indexFile, latin1(model)))
        lines << QString::fromLatin1(lineForm(record, isStored(folder, retrieval::eventName(record))));
    w.lstBuffer->addItems(lines);

    QStringList descending;
    descending.reserve(w.lstBuffer->count());
    for (int row = w.lstBuffer->count() - 1; row >= 0; --row)
        descending << w.lstBuffer->item(row)->text();
    list->addItems(descending);
    // The first line becomes current without being selected: nothing is chosen for download
    // until the user chooses it.
    if (list->count() > 0)
        list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void EventIndex::REMARK_INDEX()
{
    for (int row = 0; row < w.lstIndex->count(); ++row) {
        QListWidgetItem* item = w.lstIndex->item(row);
        const std::string line = latin1(item->text());
        const bool stored = isStored(listedFolder_, std::string(retrieval::lineEventName(line)));
        if (stored)
            item->setSelected(false);
        item->setText(QString::fromLatin1(retrieval::remarkedLine(line, stored)));
    }
}

void EventIndex::lstIndex_Click()
{
    if (droppingUnwanted_)
        return;
    const QScopedValueRollback<bool> guard(droppingUnwanted_, true);
    for (int row = 0; row < w.lstIndex->count(); ++row) {
        QListWidgetItem* item = w.lstIndex->item(row);
        const std::string line = latin1(item->text());
        if (item->isSelected() && (retrieval::lineIsEmptySlot(line) || retrieval::lineIsStored(line)))
            item->setSelected(false);
    }
}

void EventIndex::lstIndex_DblClick()
{
    w.eventDownload->cmdGetData_Click();
}

void EventIndex::cmdSelectAll_Click()
{
    // Selecting runs lstIndex_Click, which leaves only the events missing on the PC selected.
    w.lstIndex->selectAll();
    for (int row = 0; row < w.lstIndex->count(); ++row) {
        if (w.lstIndex->item(row)->isSelected()) {
            w.lstIndex->scrollToItem(w.lstIndex->item(row), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void EventIndex::cmdClearAll_Click()
{
    w.lstIndex->clearSelection();
}

} // namespace mr3x
