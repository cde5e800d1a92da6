#include "ui/frmConfig.h"

#include "ui/frmMaster.h"

#include <QGridLayout>

namespace mr3x {

frmConfig::frmConfig(frmMaster& master)
    : QWidget(&master, Qt::Window)
    , w(master)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configuration"));
    auto* layout = new QGridLayout(this);
    grdCFG = named(new QTableWidget(this), QStringLiteral("grdCFG"));
    layout->addWidget(grdCFG, 0, 0, 1, 7);
    auto button = [this, layout](QPushButton*& b, const QString& name, const QString& caption, int column) {
        b = named(new QPushButton(caption, this), name);
        b->setEnabled(false); // the editing operations come with the configuration editor
        layout->addWidget(b, 1, column);
    };
    button(cmdAdd_a_unit, QStringLiteral("cmdAdd_a_unit"), QStringLiteral("Add a unit"), 0);
    button(cmdDelete_a_unit, QStringLiteral("cmdDelete_a_unit"), QStringLiteral("Delete a unit"), 1);
    button(cmdMove_a_Unit, QStringLiteral("cmdMove_a_Unit"), QStringLiteral("Move a unit"), 2);
    button(cmdSet_SIM_No, QStringLiteral("cmdSet_SIM_No"), QStringLiteral("Set SIM No"), 3);
    button(cmdSet_BT_ID, QStringLiteral("cmdSet_BT_ID"), QStringLiteral("Set B/T ID"), 4);
    button(cmdSaveConfig, QStringLiteral("cmdSaveConfig"), QStringLiteral("Save"), 5);
    button(cmdSave_as, QStringLiteral("cmdSave_as"), QStringLiteral("Save as..."), 6);
    resize(900, 360);
}

} // namespace mr3x
