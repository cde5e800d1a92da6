// The TDR / TRS viewer across the bottom: the plot with its pan bar, the cursor read-outs, the
// propagation speed and result, the trace switches and the manual tests, the TRS locator.
#include "ui/frmMaster.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace mr3x {

QWidget* frmMaster::buildTdrViewer()
{
    fraTransientViewer = named(new QGroupBox(QStringLiteral("TDR Viewer"), this), QStringLiteral("fraTransientViewer"));
    auto* layout = new QHBoxLayout(fraTransientViewer);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* plotColumn = new QVBoxLayout;
    picTDR = named(new PlotSurface(fraTransientViewer), QStringLiteral("picTDR"));
    picTDR->setMinimumSize(220, 140);
    plotColumn->addWidget(picTDR, 1);
    scrPan = named(new QScrollBar(Qt::Horizontal, fraTransientViewer), QStringLiteral("scrPan"));
    scrPan->setRange(1, 1);
    plotColumn->addWidget(scrPan);
    layout->addLayout(plotColumn, 1);

    // Cursor read-outs, speed and result.
    auto* readouts = new QVBoxLayout;
    auto* cursors = new QFormLayout;
    lblZero = named(new QLabel(fraTransientViewer), QStringLiteral("lblZero"));
    lblMoving = named(new QLabel(fraTransientViewer), QStringLiteral("lblMoving"));
    lblDifference = named(new QLabel(fraTransientViewer), QStringLiteral("lblDifference"));
    lblScale = named(new QLabel(QStringLiteral("1"), fraTransientViewer), QStringLiteral("lblScale"));
    Plotstart = named(new QLabel(QStringLiteral("25"), fraTransientViewer), QStringLiteral("Plotstart"));
    cursors->addRow(QStringLiteral("Zero Cursor"), lblZero);
    cursors->addRow(QStringLiteral("Moving Cursor"), lblMoving);
    cursors->addRow(QStringLiteral("Difference"), lblDifference);
    cursors->addRow(QStringLiteral("Scale"), lblScale);
    cursors->addRow(QStringLiteral("Zero Minimum"), Plotstart);
    readouts->addLayout(cursors);
    auto* speed = new QGroupBox(QStringLiteral("Propagation speed"), fraTransientViewer);
    speed->setObjectName(QStringLiteral("fraPropagationSpeed"));
    auto* speedLayout = new QVBoxLayout(speed);
    scrVF = named(new QScrollBar(Qt::Horizontal, speed), QStringLiteral("scrVF"));
    scrVF->setRange(300, 1000);
    scrVF->setValue(540);
    lblDielectric = named(new QLabel(QStringLiteral("54.0% (v/2=81.0m/us)"), speed), QStringLiteral("lblDielectric"));
    speedLayout->addWidget(scrVF);
    speedLayout->addWidget(lblDielectric);
    readouts->addWidget(speed);
    auto* result = new QGroupBox(QStringLiteral("Result"), fraTransientViewer);
    result->setObjectName(QStringLiteral("fraResult"));
    auto* resultLayout = new QVBoxLayout(result);
    lblResult = named(new QLabel(result), QStringLiteral("lblResult"));
    lblResult->setStyleSheet(QStringLiteral("QLabel { font-size: 15pt; font-weight: bold; }"));
    resultLayout->addWidget(lblResult);
    readouts->addWidget(result);
    readouts->addStretch(1);
    layout->addLayout(readouts);

    // Traces and manual tests.
    auto* traces = new QGridLayout;
    static const char* const traceCaptions[5] = {"Pulse 1", "Pulse 1", "Test", "Ref 1", "Ref 2"};
    for (int i = 0; i < 5; ++i) {
        chkTrace[i] = named(new QCheckBox(QString::fromLatin1(traceCaptions[i]), fraTransientViewer), QStringLiteral("chkTrace"), i);
        scrAlign[i] = named(new QScrollBar(Qt::Horizontal, fraTransientViewer), QStringLiteral("scrAlign"), i);
        scrAlign[i]->setRange(-100, 100);
        scrAlign[i]->setValue(0);
        scrAlign[i]->setMinimumWidth(48);
    }
    // The two event traces' switches run along the plot, under its pan bar.
    auto* eventTraces = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        eventTraces->addWidget(chkTrace[i]);
        eventTraces->addWidget(scrAlign[i], 1);
    }
    plotColumn->addLayout(eventTraces);
    auto* testTrace = new QGroupBox(QStringLiteral("Test Trace"), fraTransientViewer);
    testTrace->setObjectName(QStringLiteral("fraTestTrace"));
    auto* referenceTraces = new QGroupBox(QStringLiteral("Reference Traces"), fraTransientViewer);
    referenceTraces->setObjectName(QStringLiteral("fraReferenceTraces"));
    auto* testLayout = new QGridLayout(testTrace);
    auto* referenceLayout = new QGridLayout(referenceTraces);
    for (int i = 2; i <= 4; ++i) {
        QGroupBox* frame = i == 2 ? testTrace : referenceTraces;
        QGridLayout* frameLayout = i == 2 ? testLayout : referenceLayout;
        const int r = i == 2 ? 0 : (i - 3) * 2;
        cboTest[i] = named(new QComboBox(frame), QStringLiteral("cboTest"), i);
        cboTest[i]->setMinimumContentsLength(12);
        cboTest[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        lblTest[i] = named(new QLabel(frame), QStringLiteral("lblTest"), i);
        lblTest[i]->setStyleSheet(QStringLiteral("background-color: white;"));
        lblTest[i]->setMinimumHeight(30);
        chkTrace[i]->setParent(frame);
        scrAlign[i]->setParent(frame);
        frameLayout->addWidget(chkTrace[i], r, 0);
        frameLayout->addWidget(cboTest[i], r, 1);
        frameLayout->addWidget(scrAlign[i], r, 2);
        frameLayout->addWidget(lblTest[i], r + 1, 0, 1, 3);
    }
    traces->addWidget(testTrace, 2, 0, 1, 2);
    traces->addWidget(referenceTraces, 3, 0, 1, 2);

    auto* locator = new QGroupBox(QStringLiteral("TRS Locator"), fraTransientViewer);
    locator->setObjectName(QStringLiteral("fraTRSLocator"));
    auto* locatorLayout = new QGridLayout(locator);
    cmdLock = named(new QPushButton(QStringLiteral("LOCK"), locator), QStringLiteral("cmdLock"));
    cmdReset = named(new QPushButton(QStringLiteral("RESET"), locator), QStringLiteral("cmdReset"));
    locatorLayout->setContentsMargins(4, 2, 4, 2);
    locatorLayout->addWidget(cmdLock, 0, 0);
    locatorLayout->addWidget(cmdReset, 1, 0);
    static const char* const locateCaptions[4] = {"Locate #1", "Locate #1", "Locate #2", "Locate #2"};
    static const char* const locateColours[4] = {"rgb(255,192,128)", "rgb(128,255,255)", "rgb(255,192,128)", "rgb(128,255,255)"};
    for (int i = 0; i < 4; ++i) {
        cmdLocation[i] = named(new QPushButton(QString::fromLatin1(locateCaptions[i]), locator), QStringLiteral("cmdLocation"), i);
        cmdLocation[i]->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; }").arg(QString::fromLatin1(locateColours[i])));
        locatorLayout->addWidget(cmdLocation[i], i / 2, 1 + i % 2);
    }
    // Under the plot, rather than under the manual tests, the locator keeps the viewer low
    // enough for a 768-pixel screen.
    plotColumn->addWidget(locator);
    layout->addLayout(traces);
    return fraTransientViewer;
}

void frmMaster::wireTdrViewer()
{
}

} // namespace mr3x
