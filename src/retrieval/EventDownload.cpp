#include "retrieval/EventDownload.h"

#include "ui/frmMaster.h"

namespace mr3x {

void EventDownload::cmdGetData_Click() {}
void EventDownload::DOWNLOAD_EVENTS() {}
void EventDownload::cmdTrigger_Click() {}
void EventDownload::CONVERT_EVENT_FILE(const QString&) {}

} // namespace mr3x
