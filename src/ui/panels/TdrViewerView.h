#pragma once
// The controls of the TDR / TRS viewer: the plot with its two cursors and pan bar, the cursor
// read-outs, the propagation speed and result, the five trace switches with their alignment bars,
// the three manual-test slots (2 the test trace, 3 and 4 the references) and the TRS locator.
// Slots 0 and 1 of chkTrace and scrAlign are the Master and Slave event traces; cboTest and
// lblTest exist for slots 2 to 4 only (0 and 1 stay empty).
#include "ui/controls/PlotSurface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <array>

class QAction;
class QMenu;

namespace mr3x {

struct TdrViewerView {
    QGroupBox* fraTransientViewer = nullptr;  // "TDR Viewer" / "TRS Viewer"
    PlotSurface* picTDR = nullptr;
    PlotOverlay* ZeroCursor = nullptr;
    PlotOverlay* MovingCursor = nullptr;
    QScrollBar* scrPan = nullptr;             // TRS mode: the window's first sample
    QPushButton* cmdEnlargeTdr = nullptr;     // "Enlarge" / "Back": the viewer in the window's centre

    QLabel* lblZero = nullptr;                // "Zero Cursor"
    QLabel* lblMoving = nullptr;              // "Moving Cursor"
    QLabel* lblDifference = nullptr;          // "Difference"
    QLabel* lblScale = nullptr;               // "Scale": "1" (400 m) or "2" (800 m)
    QLabel* Plotstart = nullptr;              // "Zero Minimum": the first plotted point
    QLabel* lblResult = nullptr;              // the cursor distance in metres
    QPushButton* cmdFind = nullptr;           // "Find": the moving cursor to the fault found
    QLabel* lblFinding = nullptr;             // under the result: what Find found, or why nothing
    QWidget* fraCableLength = nullptr;        // shown in TRS mode: "Cable length (m)" and its field
    QLineEdit* txtCableLength = nullptr;      // the TRS pair's cable length in metres, kept per pair
    PlotOverlay* FoundEdge = nullptr;         // marks on the plot: the fault's edge Find found,
    PlotOverlay* FoundFarEnd = nullptr;       // the far end,
    PlotOverlay* FoundSlaveEcho = nullptr;    // and in a TRS pair the Slave's echo
    QScrollBar* scrVF = nullptr;              // propagation speed, tenths of a percent
    QLabel* lblDielectric = nullptr;          // its caption
    QComboBox* cboCableType = nullptr;        // beside scrVF: choosing a cable type sets its speed
    QPushButton* cmdCalibrate = nullptr;      // "Calibrate...": the speed from a known length

    std::array<QCheckBox*, 5> chkTrace{};
    std::array<QScrollBar*, 5> scrAlign{};
    std::array<QComboBox*, 5> cboTest{};
    std::array<QLabel*, 5> lblTest{};

    QPushButton* cmdLock = nullptr;           // "LOCK"
    QPushButton* cmdReset = nullptr;          // "RESET"
    std::array<QPushButton*, 4> cmdLocation{}; // "Locate #1" (Master, Slave), "Locate #2" (Master, Slave)

    // Exports of the view: the button opens the menu (the window's "Export" menu holds it too).
    QPushButton* cmdTdrExport = nullptr;      // "Export..."
    QMenu* mnuTdrExport = nullptr;            // "TDR viewer"
    std::array<QAction*, 5> mnuTdrTraceCsv{};    // each trace as CSV: Master, Slave, Test, Ref 1, Ref 2
    QAction* mnuTdrPicture = nullptr;         // "Picture..."
};

/// Builds the viewer's controls inside `parent` and returns its frame.
QGroupBox* buildTdrViewerView(TdrViewerView& view, QWidget* parent);

} // namespace mr3x
