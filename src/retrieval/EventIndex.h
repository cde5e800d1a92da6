#pragma once
// The unit's event index: fetching it ("Get Index"), listing it in lstIndex with each event's
// stored mark, the per-chain last-index lists, and the rules that keep only events missing on
// the PC selected.
#include "unit/UnitSession.h"
#include "retrieval/IndexLines.h"

#include <QString>

class QListWidget;

namespace mr3x {

class frmMaster;

class EventIndex {
public:
    explicit EventIndex(frmMaster& window) : w(window) {}

    void cmdGetIndex_Click();
    void FILL_INDEX_LIST();
    /// FILL_INDEX_LIST from this index file: the one a fetch has just stored, whichever unit is
    /// chosen now.
    void fillIndexList(const QString& indexFile);
    void FILL_LAST_INDEX(int i);
    void REMARK_INDEX();
    void lstIndex_Click();
    void lstIndex_DblClick();
    void cmdSelectAll_Click();
    void cmdClearAll_Click();

    /// The index file: the master unit's name + ".IDX" in the unit folder (filTST); empty while
    /// no unit folder is chosen.
    QString indexFilePath() const;
    static QString indexFileOf(const QString& folder, const QString& unit);
    /// The folder of the unit whose index lstIndex lists: its marks and "Get Data" go by it.
    QString listedFolder() const { return listedFolder_; }
    /// Whether the event of this name is stored as a ".trg" file in `folder`.
    static bool isStored(const QString& folder, const std::string& eventName);

private:
    using LineForm = std::string (*)(const retrieval::IndexRecord&, bool);
    /// Reads the index file's records for the model into `list`, in descending text order
    /// through the sorted lstBuffer, and makes its first line current.
    void fillFromIndexFile(QListWidget* list, const QString& indexFile, const QString& model, LineForm lineForm);

    frmMaster& w;
    QString listedFolder_;
    bool droppingUnwanted_ = false; // lstIndex_Click's own deselections run it again
};

} // namespace mr3x
