#pragma once
// Downloading event records and manual recordings, and storing them under their date and time.
#include <QString>

namespace mr3x {

class frmMaster;

class EventDownload {
public:
    explicit EventDownload(frmMaster& window) : w(window) {}

    void cmdGetData_Click();
    void DOWNLOAD_EVENTS();
    void cmdTrigger_Click();
    void CONVERT_EVENT_FILE(const QString& name);

private:
    frmMaster& w;
};

} // namespace mr3x
