#include "retrieval/EventIndex.h"

#include "ui/frmMaster.h"

namespace mr3x {

void EventIndex::cmdGetIndex_Click() {}
void EventIndex::FILL_INDEX_LIST() {}
void EventIndex::FILL_LAST_INDEX(int) {}
void EventIndex::REMARK_INDEX() {}
void EventIndex::lstIndex_Click() {}
void EventIndex::lstIndex_DblClick() {}
void EventIndex::cmdSelectAll_Click() {}
void EventIndex::cmdClearAll_Click() {}

} // namespace mr3x
