// The TDR / TRS viewer across the bottom: the plot with its cursors and pan bar, the cursor
// read-outs, the propagation speed and result, the trace switches and the manual tests, the TRS
// locator.
#include "tdr/FaultFinding.h"
#include "tdr/TdrTests.h"
#include "tdr/TdrViewer.h"
#include "tdr/TrsLocator.h"
#include "ui/controls/PlotEnlarger.h"
#include "ui/frmMaster.h"

#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QVBoxLayout>

namespace mr3x {

namespace {

QLabel* readout(QWidget* parent, const QString& name, const QString& text = QString())
{
    auto* label = named(new QLabel(text, parent), name);
    label->setMinimumWidth(44);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QVBoxLayout* buildPlot(TdrViewerView& v, QWidget* parent)
{
    auto* column = new QVBoxLayout;
    v.picTDR = named(new PlotSurface(parent), QStringLiteral("picTDR"));
    v.picTDR->setMinimumSize(240, 130);
    v.picTDR->Scale(1, 256, 512, -1);
    v.picTDR->setAccessibleName(QStringLiteral("TDR plot"));
    v.picTDR->setToolTip(QStringLiteral("Left button: moving cursor; right button: zero cursor to the moving cursor"));
    using Shape = PlotOverlay::Shape;
    v.ZeroCursor = v.picTDR->addOverlay(QStringLiteral("ZeroCursor"), Shape::Line, QColor(0, 128, 0));
    v.MovingCursor = v.picTDR->addOverlay(QStringLiteral("MovingCursor"), Shape::Line, QColor(200, 0, 0));
    v.ZeroCursor->setEnds(25, 256, 25, -1);
    v.MovingCursor->setEnds(25, 256, 25, -1);
    // What Find found: short ticks from the top of the plot, clear of the traces and the cursors.
    v.FoundEdge = v.picTDR->addOverlay(QStringLiteral("FoundEdge"), Shape::Line, QColor(255, 0, 255));
    v.FoundFarEnd = v.picTDR->addOverlay(QStringLiteral("FoundFarEnd"), Shape::Line, QColor(0, 128, 128));
    v.FoundSlaveEcho = v.picTDR->addOverlay(QStringLiteral("FoundSlaveEcho"), Shape::Line, QColor(0, 160, 255));
    for (PlotOverlay* mark : {v.FoundEdge, v.FoundFarEnd, v.FoundSlaveEcho})
        mark->hide();
    column->addWidget(v.picTDR, 1);
    v.scrPan = named(new QScrollBar(Qt::Horizontal, parent), QStringLiteral("scrPan"));
    v.scrPan->setRange(1, 1);
    auto* panRow = new QHBoxLayout;
    panRow->addWidget(v.scrPan, 1);
    v.cmdEnlargeTdr = named(new QPushButton(QStringLiteral("Enlarge"), parent), QStringLiteral("cmdEnlargeTdr"));
    v.cmdEnlargeTdr->setToolTip(QStringLiteral("Show the viewer large (or double-click the plot); Escape puts it back"));
    panRow->addWidget(v.cmdEnlargeTdr);
    // Under the plot rather than beside the result: the read-outs' column stays narrow and the
    // plot beside it gets the width.
    v.cmdTdrExport = named(new QPushButton(QStringLiteral("Export..."), parent), QStringLiteral("cmdTdrExport"));
    v.cmdTdrExport->setToolTip(QStringLiteral("Save a trace as CSV, or the view as a picture"));
    panRow->addWidget(v.cmdTdrExport);
    column->addLayout(panRow);
    return column;
}

QVBoxLayout* buildReadouts(TdrViewerView& v, QWidget* parent)
{
    auto* column = new QVBoxLayout;
    auto* cursors = new QFormLayout;
    v.lblZero = readout(parent, QStringLiteral("lblZero"));
    v.lblMoving = readout(parent, QStringLiteral("lblMoving"));
    v.lblDifference = readout(parent, QStringLiteral("lblDifference"));
    v.lblScale = readout(parent, QStringLiteral("lblScale"), QStringLiteral("1"));
    v.Plotstart = readout(parent, QStringLiteral("Plotstart"), QStringLiteral("25"));
    cursors->addRow(QStringLiteral("Zero Cursor"), v.lblZero);
    cursors->addRow(QStringLiteral("Moving Cursor"), v.lblMoving);
    cursors->addRow(QStringLiteral("Difference"), v.lblDifference);
    cursors->addRow(QStringLiteral("Scale"), v.lblScale);
    cursors->addRow(QStringLiteral("Zero Minimum"), v.Plotstart);
    column->addLayout(cursors);

    auto* speed = new QGroupBox(QStringLiteral("Propagation speed"), parent);
    speed->setObjectName(QStringLiteral("fraPropagationSpeed"));
    auto* speedLayout = new QVBoxLayout(speed);
    v.scrVF = named(new QScrollBar(Qt::Horizontal, speed), QStringLiteral("scrVF"));
    v.scrVF->setRange(300, 1000);
    v.scrVF->setValue(540);
    v.scrVF->setMinimumWidth(120);
    v.lblDielectric = named(new QLabel(QStringLiteral("54.0% (v/2=81.0m/us)"), speed), QStringLiteral("lblDielectric"));
    speedLayout->addWidget(v.scrVF);
    speedLayout->addWidget(v.lblDielectric);
    auto* cable = new QHBoxLayout;
    v.cboCableType = named(new QComboBox(speed), QStringLiteral("cboCableType"));
    v.cboCableType->setToolTip(QStringLiteral("Cable type: sets the propagation speed"));
    v.cboCableType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    v.cboCableType->setMinimumContentsLength(10);
    v.cmdCalibrate = named(new QPushButton(QStringLiteral("Calibrate..."), speed), QStringLiteral("cmdCalibrate"));
    v.cmdCalibrate->setToolTip(QStringLiteral("With the cursors on both ends of a known length: the speed that reads it"));
    // One above the other: the column stays narrow enough for the control panel beside it.
    speedLayout->addWidget(v.cboCableType);
    cable->addStretch(1);
    cable->addWidget(v.cmdCalibrate);
    speedLayout->addLayout(cable);
    column->addWidget(speed);

    auto* result = new QGroupBox(QStringLiteral("Result"), parent);
    result->setObjectName(QStringLiteral("fraResult"));
    auto* resultLayout = new QVBoxLayout(result);
    auto* resultRow = new QHBoxLayout;
    v.lblResult = readout(result, QStringLiteral("lblResult"));
    v.lblResult->setStyleSheet(QStringLiteral("QLabel { font-size: 15pt; font-weight: bold; }"));
    // Room for the longest reading beside the buttons, so the metres are never cut off.
    QFont shown = v.lblResult->font();
    shown.setPointSize(15);
    shown.setBold(true);
    v.lblResult->setMinimumWidth(QFontMetrics(shown).horizontalAdvance(QStringLiteral("-888 m")));
    resultRow->addWidget(v.lblResult, 1);
    v.cmdFind = named(new QPushButton(QStringLiteral("Find"), result), QStringLiteral("cmdFind"));
    v.cmdFind->setToolTip(QStringLiteral("Put the moving cursor on the fault's reflection (against a ticked reference when there is one)"));
    resultRow->addWidget(v.cmdFind);
    resultLayout->addLayout(resultRow);
    v.lblFinding = named(new QLabel(result), QStringLiteral("lblFinding"));
    v.lblFinding->setWordWrap(true);
    v.lblFinding->setTextInteractionFlags(Qt::TextSelectableByMouse);
    resultLayout->addWidget(v.lblFinding);
    // Both take room only when they have something to say: the line once Find has read a trace,
    // the cable's length in TRS mode.
    v.lblFinding->hide();
    v.fraCableLength = named(new QWidget(result), QStringLiteral("fraCableLength"));
    auto* lengthRow = new QHBoxLayout(v.fraCableLength);
    lengthRow->setContentsMargins(0, 0, 0, 0);
    lengthRow->addWidget(new QLabel(QStringLiteral("Cable length (m)"), v.fraCableLength));
    v.txtCableLength = named(new QLineEdit(v.fraCableLength), QStringLiteral("txtCableLength"));
    v.txtCableLength->setToolTip(QStringLiteral("The cable's length between the TRS pair's units, kept for the pair"));
    v.txtCableLength->setMaximumWidth(80);
    lengthRow->addWidget(v.txtCableLength);
    lengthRow->addStretch(1);
    v.fraCableLength->hide();
    resultLayout->addWidget(v.fraCableLength);
    column->addWidget(result);
    column->addStretch(1);
    return column;
}

void buildExportMenu(TdrViewerView& v, QWidget* parent)
{
    v.mnuTdrExport = named(new QMenu(QStringLiteral("TDR viewer"), parent), QStringLiteral("mnuTdrExport"));
    static const char* const traces[5] = {"Master event trace as CSV...", "Slave event trace as CSV...",
                                          "Test trace as CSV...", "Reference 1 trace as CSV...",
                                          "Reference 2 trace as CSV..."};
    for (int i = 0; i < 5; ++i)
        v.mnuTdrTraceCsv[i] = named(v.mnuTdrExport->addAction(QString::fromLatin1(traces[i])), QStringLiteral("mnuTdrTraceCsv"), i);
    v.mnuTdrExport->addSeparator();
    v.mnuTdrPicture = named(v.mnuTdrExport->addAction(QStringLiteral("Picture...")), QStringLiteral("mnuTdrPicture"));
}

QWidget* buildManualTests(TdrViewerView& v, QWidget* parent)
{
    auto* tests = new QGroupBox(QStringLiteral("Manual Tests"), parent);
    tests->setObjectName(QStringLiteral("fraManualTests"));
    auto* layout = new QVBoxLayout(tests);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    auto* testTrace = new QGroupBox(QStringLiteral("Test Trace"), tests);
    testTrace->setObjectName(QStringLiteral("fraTestTrace"));
    auto* referenceTraces = new QGroupBox(QStringLiteral("Reference Traces"), tests);
    referenceTraces->setObjectName(QStringLiteral("fraReferenceTraces"));
    auto* testLayout = new QGridLayout(testTrace);
    auto* referenceLayout = new QGridLayout(referenceTraces);
    for (QGridLayout* grid : {testLayout, referenceLayout}) {
        grid->setContentsMargins(4, 2, 4, 2);
        grid->setVerticalSpacing(1);
    }
    static const char* const captions[5] = {"", "", "Test", "Ref 1", "Ref 2"};
    for (int i = 2; i <= 4; ++i) {
        QGroupBox* frame = i == 2 ? testTrace : referenceTraces;
        QGridLayout* frameLayout = i == 2 ? testLayout : referenceLayout;
        const int r = i == 2 ? 0 : (i - 3) * 2;
        v.chkTrace[i] = named(new QCheckBox(QString::fromLatin1(captions[i]), frame), QStringLiteral("chkTrace"), i);
        v.cboTest[i] = named(new QComboBox(frame), QStringLiteral("cboTest"), i);
        v.cboTest[i]->setMinimumContentsLength(15);
        v.cboTest[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        v.scrAlign[i] = named(new QScrollBar(Qt::Horizontal, frame), QStringLiteral("scrAlign"), i);
        v.lblTest[i] = named(new QLabel(frame), QStringLiteral("lblTest"), i);
        v.lblTest[i]->setAutoFillBackground(true);
        v.lblTest[i]->setStyleSheet(QStringLiteral("background-color: white;"));
        v.lblTest[i]->setMinimumHeight(28);
        v.lblTest[i]->setContentsMargins(3, 0, 3, 0);
        frameLayout->addWidget(v.chkTrace[i], r, 0);
        frameLayout->addWidget(v.cboTest[i], r, 1);
        frameLayout->addWidget(v.scrAlign[i], r, 2);
        frameLayout->addWidget(v.lblTest[i], r + 1, 0, 1, 3);
    }
    layout->addWidget(testTrace);
    layout->addWidget(referenceTraces);
    layout->addStretch(1);
    return tests;
}

QGroupBox* buildLocator(TdrViewerView& v, QWidget* parent)
{
    auto* locator = new QGroupBox(QStringLiteral("TRS Locator"), parent);
    locator->setObjectName(QStringLiteral("fraTRSLocator"));
    auto* layout = new QGridLayout(locator);
    layout->setContentsMargins(4, 2, 4, 2);
    v.cmdLock = named(new QPushButton(QStringLiteral("LOCK"), locator), QStringLiteral("cmdLock"));
    v.cmdReset = named(new QPushButton(QStringLiteral("RESET"), locator), QStringLiteral("cmdReset"));
    // Two rows of three, narrow enough for the viewer to fit beside the control panel.
    layout->addWidget(v.cmdLock, 0, 0);
    layout->addWidget(v.cmdReset, 1, 0);
    static const char* const captions[4] = {"Locate #1", "Locate #1", "Locate #2", "Locate #2"};
    static const char* const colours[4] = {"rgb(255,192,128)", "rgb(128,255,255)", "rgb(255,192,128)", "rgb(128,255,255)"};
    static const char* const tips[4] = {"Master, first half", "Slave, first half", "Master, second half", "Slave, second half"};
    for (int i = 0; i < 4; ++i) {
        v.cmdLocation[i] = named(new QPushButton(QString::fromLatin1(captions[i]), locator), QStringLiteral("cmdLocation"), i);
        v.cmdLocation[i]->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; }").arg(QString::fromLatin1(colours[i])));
        v.cmdLocation[i]->setToolTip(QString::fromLatin1(tips[i]));
        layout->addWidget(v.cmdLocation[i], i / 2, 1 + i % 2);
    }
    return locator;
}

} // namespace

QGroupBox* buildTdrViewerView(TdrViewerView& v, QWidget* parent)
{
    v.fraTransientViewer = named(new QGroupBox(QStringLiteral("TDR Viewer"), parent), QStringLiteral("fraTransientViewer"));
    auto* layout = new QHBoxLayout(v.fraTransientViewer);
    layout->setContentsMargins(4, 4, 4, 4);

    QVBoxLayout* plotColumn = buildPlot(v, v.fraTransientViewer);
    // The two event traces' switches run along the plot, under its pan bar.
    auto* eventTraces = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        v.chkTrace[i] = named(new QCheckBox(QStringLiteral("Pulse 1"), v.fraTransientViewer), QStringLiteral("chkTrace"), i);
        v.scrAlign[i] = named(new QScrollBar(Qt::Horizontal, v.fraTransientViewer), QStringLiteral("scrAlign"), i);
        eventTraces->addWidget(v.chkTrace[i]);
        eventTraces->addWidget(v.scrAlign[i], 1);
    }
    plotColumn->addLayout(eventTraces);
    // Under the plot, rather than under the manual tests, the locator keeps the viewer low
    // enough for a 768-pixel screen.
    plotColumn->addWidget(buildLocator(v, v.fraTransientViewer));
    layout->addLayout(plotColumn, 1);
    layout->addLayout(buildReadouts(v, v.fraTransientViewer));
    layout->addWidget(buildManualTests(v, v.fraTransientViewer));

    buildExportMenu(v, v.fraTransientViewer);

    for (QScrollBar* bar : v.scrAlign) {
        bar->setRange(-100, 100);
        bar->setValue(0);
        bar->setMinimumWidth(48);
        bar->setToolTip(QStringLiteral("Moves the trace up or down"));
    }
    return v.fraTransientViewer;
}

QWidget* frmMaster::buildTdrViewer()
{
    return buildTdrViewerView(tdrView, this);
}

void frmMaster::wireTdrViewer()
{
    const TdrViewerView& v = tdrView;
    // The unit folder's trace files feed the manual tests.
    connect(filTST, &FileList::PathChange, this, [this] { tdrTests->filTST_PathChange(); });
    connect(filTDR, &FileList::PathChange, this, [this] { tdrTests->filTDR_PathChange(); });
    for (int i = 0; i < 5; ++i) {
        connect(v.chkTrace[i], &QCheckBox::toggled, this, [this, i] { tdrTests->chkTrace_Click(i); });
        connect(v.scrAlign[i], &QScrollBar::valueChanged, this, [this, i] { tdrViewer->scrAlign_Change(i); });
        if (v.cboTest[i] != nullptr)
            connect(v.cboTest[i], &QComboBox::currentIndexChanged, this, [this, i](int row) {
                if (row >= 0)
                    tdrTests->cboTest_Click(i);
            });
    }
    connect(v.scrVF, &QScrollBar::valueChanged, this, [this] { tdrViewer->scrVF_Change(); });
    connect(chkInterlace, &QCheckBox::toggled, this, [this] { tdrViewer->chkInterlace_Click(); });
    for (int i = 0; i < 3; ++i)
        connect(optDisplayMode[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                tdrViewer->optDisplayMode_Click(i);
        });
    connect(v.picTDR, &PlotSurface::MouseDown, this, [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPointF at) {
        tdrViewer->picTDR_MouseDown(button, at.x());
    });
    connect(v.picTDR, &PlotSurface::MouseMove, this, [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers, QPointF at) {
        tdrViewer->picTDR_MouseMove(buttons, at.x());
    });
    connect(v.picTDR, &PlotSurface::KeyDown, this, [this](int key, Qt::KeyboardModifiers modifiers) {
        tdrViewer->picTDR_KeyDown(key, modifiers);
    });
    connect(v.cmdFind, &QPushButton::clicked, this, [this] { faultFinding->cmdFind_Click(); });
    connect(v.txtCableLength, &QLineEdit::editingFinished, this, [this] { faultFinding->txtCableLength_Change(); });
    connect(v.scrPan, &QScrollBar::valueChanged, this, [this] { trsLocator->scrPan_Change(); });
    connect(v.cmdLock, &QPushButton::clicked, this, [this] { trsLocator->cmdLock_Click(); });
    connect(v.cmdReset, &QPushButton::clicked, this, [this] { trsLocator->cmdReset_Click(); });
    for (int i = 0; i < 4; ++i)
        connect(v.cmdLocation[i], &QPushButton::clicked, this, [this, i] { trsLocator->cmdLocation_Click(i); });
    plotEnlarger->addPanel(v.fraTransientViewer, v.picTDR, v.cmdEnlargeTdr);
}

} // namespace mr3x
