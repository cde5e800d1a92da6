#pragma once
// Downloading event records and manual recordings, and storing them under their date and time
// in the master unit's folder (the event folder).

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

    /// Where events are received and stored: the master chain's unit folder (filTrig(0)).
    QString eventFolder() const;

private:
    /// Fetches and stores the event of one index line in `folder`; false ends the whole download.
    bool fetchEvent(const QString& line, const QString& folder);
    /// Refreshes what lists the stored events and marks the index anew.
    void showStored();

    frmMaster& w;
};

} // namespace mr3x
