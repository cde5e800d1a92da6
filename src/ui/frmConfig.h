#pragma once
// The configuration editor: the open system's unit table in a grid whose row 0 is the header
// and rows 1 to Rows() - 1 hold one unit each, with the buttons that add, delete, move and change
// units and save the table. What the buttons do is the ConfigEditor's.
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QWidget>

#include <memory>

namespace mr3x {

class frmMaster;
class ConfigEditor;

class frmConfig : public QWidget {
    Q_OBJECT
public:
    explicit frmConfig(frmMaster& master);
    ~frmConfig() override;

    /// The grid back to its header row alone, with the columns' titles and widths.
    void resetGrid();
    /// Appends a unit row, cells in column order.
    void addRow(const QStringList& cells);
    /// Removes a unit row (1 to Rows() - 1).
    void removeRow(int row);
    /// Rows of the grid, the header row included.
    int Rows() const;
    /// The selected unit row (1 to Rows() - 1): the first unit row when none is selected, 0 when
    /// the grid holds no unit.
    int Row() const;
    /// The text of a cell; row 0 is the header row.
    QString TextMatrix(int row, int column) const;
    void setTextMatrix(int row, int column, const QString& text);

    QTableWidget* grdCFG = nullptr;
    QLabel* lblInvalids = nullptr;
    QPushButton* cmdAdd_a_unit = nullptr;
    QPushButton* cmdDelete_a_unit = nullptr;
    QPushButton* cmdMove_a_Unit = nullptr;
    QPushButton* cmdSet_SIM_No = nullptr;
    QPushButton* cmdSet_BT_ID = nullptr;
    QPushButton* cmdSaveConfig = nullptr;
    QPushButton* cmdSave_as = nullptr;

    std::unique_ptr<ConfigEditor> editor;

protected:
    /// Closing the window saves as "Save" does; a table that could not be written keeps the
    /// window open.
    void closeEvent(QCloseEvent* event) override;
};

/// A width in twips (1440 to the inch) in pixels at the given dots per inch.
int twipsToPixels(int twips, double dpi);

} // namespace mr3x
