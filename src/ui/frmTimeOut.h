#pragma once
// The connection time-out warning: counts down ten seconds, then ends the link unless the user
// chooses "Stay On".
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <cstdint>

namespace mr3x {

class frmMaster;

class frmTimeOut : public QDialog {
    Q_OBJECT
public:
    explicit frmTimeOut(frmMaster& master);

    /// Shows the warning (not modal) and starts the count.
    void Form_Load();
    void TimeExpired_Timer();
    void cmdStayOn_Click();
    void cmdDisconnect_Click();
    /// Closes the window and stops its count.
    void Unload();

    QLabel* lblTimeExpiring = nullptr;
    QPushButton* cmdStayOn = nullptr;
    QPushButton* cmdDisconnect = nullptr;
    QTimer* TimeExpired = nullptr;
    std::int16_t ExpiryTicks = 0;

protected:
    /// Closing the window through its frame or Escape unloads it: the count stops (the watchdog
    /// brings the warning back on its next tick while the link is still idle).
    void reject() override { Unload(); }

private:
    frmMaster& w;
};

} // namespace mr3x
