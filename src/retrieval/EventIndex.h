#pragma once
// The unit's event index: fetching it and listing it.
namespace mr3x {

class frmMaster;

class EventIndex {
public:
    explicit EventIndex(frmMaster& window) : w(window) {}

    void cmdGetIndex_Click();
    void FILL_INDEX_LIST();
    void FILL_LAST_INDEX(int i);
    void REMARK_INDEX();
    void lstIndex_Click();
    void lstIndex_DblClick();
    void cmdSelectAll_Click();
    void cmdClearAll_Click();

private:
    frmMaster& w;
};

} // namespace mr3x
