#include "ui/frmConfig.h"

#include "systems/SystemConfigFile.h"
#include "ui/frmMaster.h"

#include <QGridLayout>
#include <QHeaderView>

#include <cmath>

namespace mr3x {

frmConfig::frmConfig(frmMaster& master)
    : QWidget(&master, Qt::Window)
    , w(master)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configuration"));
    auto* layout = new QGridLayout(this);
    grdCFG = named(new QTableWidget(this), QStringLiteral("grdCFG"));
    // Units are changed through the buttons, never typed into the cells.
    grdCFG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdCFG->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdCFG->setSelectionMode(QAbstractItemView::SingleSelection);
    grdCFG->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdCFG->horizontalHeader()->setStretchLastSection(true);
    grdCFG->verticalHeader()->setDefaultSectionSize(grdCFG->fontMetrics().height() + 6);
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
    resetGrid();
    resize(900, 360);
}

void frmConfig::resetGrid()
{
    grdCFG->clear();
    grdCFG->setRowCount(0);
    grdCFG->setColumnCount(static_cast<int>(kUnitTableColumns.size()));
    QStringList titles;
    for (const UnitTableColumn& column : kUnitTableColumns)
        titles << QString::fromUtf8(column.title.data(), static_cast<qsizetype>(column.title.size()));
    grdCFG->setHorizontalHeaderLabels(titles);
    const double dpi = grdCFG->logicalDpiX();
    for (int c = 0; c < grdCFG->columnCount(); ++c)
        grdCFG->setColumnWidth(c, twipsToPixels(kUnitTableColumns[static_cast<std::size_t>(c)].widthTwips, dpi));
}

void frmConfig::addRow(const QStringList& cells)
{
    const int row = grdCFG->rowCount();
    grdCFG->insertRow(row);
    for (int c = 0; c < cells.size() && c < grdCFG->columnCount(); ++c)
        grdCFG->setItem(row, c, new QTableWidgetItem(cells[c]));
}

int frmConfig::Rows() const
{
    return grdCFG->rowCount() + 1;
}

QString frmConfig::TextMatrix(int row, int column) const
{
    if (row == 0) {
        const QTableWidgetItem* header = grdCFG->horizontalHeaderItem(column);
        return header != nullptr ? header->text() : QString();
    }
    const QTableWidgetItem* cell = grdCFG->item(row - 1, column);
    return cell != nullptr ? cell->text() : QString();
}

int twipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

} // namespace mr3x
