#include "ui/frmConfig.h"

#include "systems/ConfigEditor.h"
#include "systems/SystemConfigFile.h"
#include "systems/UnitGrid.h"
#include "ui/frmMaster.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>

#include <cmath>

namespace mr3x {

frmConfig::frmConfig(frmMaster& master)
    : QWidget(&master, Qt::Window)
    , editor(std::make_unique<ConfigEditor>(master, *this))
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

    struct Button {
        QPushButton*& control;
        const char* name;
        const char* caption;
        void (ConfigEditor::*handler)();
    };
    const Button buttons[] = {
        {cmdAdd_a_unit, "cmdAdd_a_unit", "Add a unit", &ConfigEditor::cmdAdd_a_unit_Click},
        {cmdDelete_a_unit, "cmdDelete_a_unit", "Delete a unit", &ConfigEditor::cmdDelete_a_unit_Click},
        {cmdMove_a_Unit, "cmdMove_a_Unit", "Move a unit", &ConfigEditor::cmdMove_a_Unit_Click},
        {cmdSet_SIM_No, "cmdSet_SIM_No", "Set SIM No", &ConfigEditor::cmdSet_SIM_No_Click},
        {cmdSet_BT_ID, "cmdSet_BT_ID", "Set B/T ID", &ConfigEditor::cmdSet_BT_ID_Click},
        {cmdSaveConfig, "cmdSaveConfig", "Save", &ConfigEditor::cmdSaveConfig_Click},
        {cmdSave_as, "cmdSave_as", "Save as...", &ConfigEditor::cmdSave_as_Click},
    };
    int column = 0;
    for (const Button& b : buttons) {
        b.control = named(new QPushButton(QString::fromLatin1(b.caption), this), QString::fromLatin1(b.name));
        connect(b.control, &QPushButton::clicked, this, [this, handler = b.handler] { (editor.get()->*handler)(); });
        layout->addWidget(b.control, 1, column++);
    }

    // Unit, job and location names become folder names: the characters no name may hold.
    auto* invalidsRow = new QHBoxLayout;
    invalidsRow->addWidget(new QLabel(QStringLiteral("Names cannot contain:"), this));
    lblInvalids = named(new QLabel(QString::fromStdString(invalidCharactersCaption()), this), QStringLiteral("lblInvalids"));
    invalidsRow->addWidget(lblInvalids);
    invalidsRow->addStretch(1);
    layout->addLayout(invalidsRow, 2, 0, 1, 7);

    resetGrid();
    resize(900, 360);
}

frmConfig::~frmConfig() = default;

void frmConfig::closeEvent(QCloseEvent* event)
{
    if (editor->save())
        event->accept();
    else
        event->ignore();
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

void frmConfig::removeRow(int row)
{
    grdCFG->removeRow(row - 1);
}

int frmConfig::Rows() const
{
    return grdCFG->rowCount() + 1;
}

int frmConfig::Row() const
{
    if (grdCFG->rowCount() == 0)
        return 0;
    return std::max(grdCFG->currentRow(), 0) + 1;
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

void frmConfig::setTextMatrix(int row, int column, const QString& text)
{
    if (QTableWidgetItem* cell = grdCFG->item(row - 1, column))
        cell->setText(text);
    else
        grdCFG->setItem(row - 1, column, new QTableWidgetItem(text));
}

int twipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

} // namespace mr3x
