#pragma once
// The configuration editor: the open system's unit table in a grid whose row 0 is the header
// and rows 1 to Rows() - 1 hold one unit each. The editing buttons come with the editor's own
// work; the grid view is here.
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QWidget>

namespace mr3x {

class frmMaster;

class frmConfig : public QWidget {
    Q_OBJECT
public:
    explicit frmConfig(frmMaster& master);

    /// The grid back to its header row alone, with the columns' titles and widths.
    void resetGrid();
    /// Appends a unit row, cells in column order.
    void addRow(const QStringList& cells);
    /// Rows of the grid, the header row included.
    int Rows() const;
    /// The text of a cell; row 0 is the header row.
    QString TextMatrix(int row, int column) const;

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

/// A width in twips (1440 to the inch) in pixels at the given dots per inch.
int twipsToPixels(int twips, double dpi);

} // namespace mr3x
