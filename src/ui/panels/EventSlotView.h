#pragma once
// The controls of one event slot (0 the master, 1 the slave): its list of stored events with the
// file-type filter, its tabs of parameters, meters and last index, and its waveform picture with
// the lines placed on it. The main window holds two; each control keeps its name as objectName,
// with the slot's index ("lstTrig(1)"; the meter labels and channel switches keep their own
// names, "lblMeter1(2)", "chkAC1(2)").
#include "ui/controls/PlotSurface.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>

#include <array>

class QAction;
class QMenu;

namespace mr3x {

struct EventSlotView {
    QGroupBox* fraEventSlot = nullptr;        // "Master event" / "Slave event": the whole slot
    // The stored events of the chain's unit folder, filtered by type.
    QGroupBox* fraEvents = nullptr;           // "Triggered events"
    QListWidget* lstTrig = nullptr;           // one line per event file; item data: its index in filTrig
    QRadioButton* optAll = nullptr;           // "All"
    QRadioButton* optVlt = nullptr;           // ".VLT"
    QRadioButton* optTrg = nullptr;           // ".TRG"
    QLabel* lblEventFile = nullptr;           // the loaded file, relative to the jobs folder

    // The tabs: "Settings", "Details", "Metering", "Last index".
    QTabWidget* tbsEvents = nullptr;
    QLabel* lblPhase = nullptr;               // Settings: "Test"
    QLabel* lblGain = nullptr;
    QLabel* lblFSD = nullptr;
    QLabel* lblLong_Short = nullptr;          // "Range"
    QLabel* lblInternal = nullptr;
    QLabel* lblTDR_TRS = nullptr;             // "Mode"
    QLabel* lblPulseWidth = nullptr;          // "Pulse", with lblOn_Off
    QLabel* lblOn_Off = nullptr;
    QLabel* lblTrigChannel = nullptr;         // "Trigger"
    QLabel* lblTrailerLocation = nullptr;     // Details: "Location"
    QLabel* lblTrailerJob = nullptr;
    QLabel* lblUnit = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDuration = nullptr;
    QLabel* lblThreshold = nullptr;
    QLabel* lblInjection = nullptr;
    QLabel* lblPreTrigger = nullptr;          // "Pre/Post"
    QLabel* lblDips = nullptr;                // "Dips": a line a dip, swell or interruption
    QLabel* lblMeterFSD = nullptr;            // Metering: repeats lblFSD
    QLabel* lblSampleValue = nullptr;         // the measuring point
    std::array<QLabel*, 4> lblMeter{};        // one a channel, tinted like its trace
    QCheckBox* chkRaw = nullptr;              // "Raw Data"
    QListWidget* lstLastIndex = nullptr;      // Last index

    // The waveform picture and the lines on it.
    QFrame* ACFrame = nullptr;                // the outline round the picture; its colour shows focus
    PlotSurface* picvolts = nullptr;
    PlotOverlay* Measure = nullptr;           // the measuring point
    PlotOverlay* MeasureRef = nullptr;        // 80 groups earlier, in raw mode
    PlotOverlay* Meter = nullptr;             // the 80 groups of the rms window
    PlotOverlay* Marker = nullptr;            // the pulse shown for this slot's event
    PlotOverlay* RefMarker = nullptr;         // the pulse picked here for the other slot's event
    std::array<QCheckBox*, 4> chkAC{};        // the channels shown
    QPushButton* cmdZoom = nullptr;           // "+" full view shown, "-" zoomed
    QScrollBar* scrZoom = nullptr;            // the zoomed window's left edge
    QPushButton* cmdEnlarge = nullptr;        // "Enlarge" / "Back": the slot in the window's centre

    // Exports of the slot's event: the button opens the menu (the window's "Export" menu holds
    // it too). The picture's and the list's right buttons keep their own work (the other slot's
    // pulse, deleting a file), so the menu is not a right-click one.
    QPushButton* cmdExport = nullptr;         // "Export..."
    QMenu* mnuEventExport = nullptr;          // "Master event" / "Slave event"
    QAction* mnuComtrade = nullptr;           // "COMTRADE (ASCII)..."
    QAction* mnuComtradeBinary = nullptr;     // "COMTRADE (binary)..."
    QAction* mnuCsv = nullptr;                // "CSV..."
    QAction* mnuCsvParameters = nullptr;      // "CSV with parameters..."
    QAction* mnuTraceCsv = nullptr;           // "TDR trace as CSV..."
    QAction* mnuPicture = nullptr;            // "Picture..."
    QAction* mnuFaultReport = nullptr;        // "Fault report..."

    /// Sets the outline colour of ACFrame (0xBBGGRR).
    void setOutlineColour(unsigned bgr) const;
};

/// Builds slot `index`'s controls inside `parent` and returns the slot's frame.
QWidget* buildEventSlotView(EventSlotView& view, int index, QWidget* parent);

} // namespace mr3x
