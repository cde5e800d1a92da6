#pragma once
// The configuration editor: the open system's unit table in a grid. The editing buttons come
// with the configuration editor work; the grid view is here.
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

namespace mr3x {

class frmMaster;

class frmConfig : public QWidget {
    Q_OBJECT
public:
    explicit frmConfig(frmMaster& master);

    QTableWidget* grdCFG = nullptr;
    QPushButton* cmdAdd_a_unit = nullptr;
    QPushButton* cmdDelete_a_unit = nullptr;
    QPushButton* cmdMove_a_Unit = nullptr;
    QPushButton* cmdSet_SIM_No = nullptr;
    QPushButton* cmdSet_BT_ID = nullptr;
    QPushButton* cmdSaveConfig = nullptr;
    QPushButton* cmdSave_as = nullptr;

private:
    [[maybe_unused]] frmMaster& w;
};

} // namespace mr3x
