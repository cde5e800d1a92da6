// The exports' controls: each event slot's "Export..." button and menu, the TDR viewer's, the
// window's "Export" menu that holds them all with the line frequency, and the cable types beside
// the propagation speed.
#include "export/Exports.h"
#include "tdr/CableTypes.h"
#include "ui/frmMaster.h"

#include <QMenu>

namespace mr3x {

void frmMaster::wireExports()
{
    using exports::DataFileType;
    for (int i = 0; i < 2; ++i) {
        const EventSlotView& v = eventSlot[i];
        mnuExport->addMenu(v.mnuEventExport);
        connect(v.mnuEventExport, &QMenu::aboutToShow, this, [this, i] { exports->enableSlotEntries(i); });
        connect(v.cmdExport, &QPushButton::clicked, this, [this, i] { exports->cmdExport_Click(i); });
        connect(v.mnuComtrade, &QAction::triggered, this, [this, i] { exports->EXPORT_COMTRADE(i, DataFileType::Ascii); });
        connect(v.mnuComtradeBinary, &QAction::triggered, this, [this, i] { exports->EXPORT_COMTRADE(i, DataFileType::Binary); });
        connect(v.mnuCsv, &QAction::triggered, this, [this, i] { exports->EXPORT_EVENT_CSV(i, false); });
        connect(v.mnuCsvParameters, &QAction::triggered, this, [this, i] { exports->EXPORT_EVENT_CSV(i, true); });
        connect(v.mnuTraceCsv, &QAction::triggered, this, [this, i] { exports->EXPORT_TRACE_CSV(i); });
        connect(v.mnuPicture, &QAction::triggered, this, [this, i] { exports->EXPORT_WAVEFORM_PICTURE(i); });
        connect(v.mnuFaultReport, &QAction::triggered, this, [this, i] { exports->EXPORT_FAULT_REPORT(i); });
    }
    const TdrViewerView& t = tdrView;
    mnuExport->addMenu(t.mnuTdrExport);
    connect(t.mnuTdrExport, &QMenu::aboutToShow, this, [this] { exports->enableTdrEntries(); });
    connect(t.cmdTdrExport, &QPushButton::clicked, this, [this] { exports->cmdTdrExport_Click(); });
    for (int trace = 0; trace < 5; ++trace)
        connect(t.mnuTdrTraceCsv[trace], &QAction::triggered, this, [this, trace] { exports->EXPORT_TRACE_CSV(trace); });
    connect(t.mnuTdrPicture, &QAction::triggered, this, [this] { exports->EXPORT_TDR_PICTURE(); });

    // COMTRADE and CSV times follow the line frequency: the unit samples 80 times a cycle.
    mnuExport->addSeparator();
    mnuLine60Hz = named(mnuExport->addAction(QStringLiteral("Line frequency 60 Hz")), QStringLiteral("mnuLine60Hz"));
    mnuLine60Hz->setCheckable(true);
    for (const EventSlotView& v : eventSlot) {
        v.mnuEventExport->addSeparator();
        v.mnuEventExport->addAction(mnuLine60Hz);
    }

    connect(t.cboCableType, &QComboBox::currentIndexChanged, this, [this] { cableTypes->cboCableType_Click(); });
    connect(t.scrVF, &QScrollBar::valueChanged, this, [this] { cableTypes->scrVF_Change(); });
    connect(t.cmdCalibrate, &QPushButton::clicked, this, [this] { cableTypes->cmdCalibrate_Click(); });
}

} // namespace mr3x
