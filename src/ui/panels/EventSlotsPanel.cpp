// The two event slots side by side: each with its event list, its tabs of parameters, meters and
// last index, and its waveform picture with the channel switches and the zoom.
#include "events/EventLists.h"
#include "events/EventViewer.h"
#include "events/WaveformDisplay.h"
#include "ui/controls/PlotEnlarger.h"
#include "ui/frmMaster.h"

#include <QFormLayout>
#include <QGuiApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QVBoxLayout>

namespace mr3x {

namespace {

const char* const kChannelNames[4] = {"Vr", "Vy", "Vb", "I"};
// The channels' trace colours, as the meters are tinted (red, yellow, blue, grey).
const char* const kChannelTints[4] = {"#ff0000", "#b8a000", "#0000ff", "#808080"};

QLabel* valueLabel(QWidget* parent, const QString& name, int index)
{
    auto* label = named(new QLabel(parent), name, index);
    label->setMinimumWidth(36);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

/// A form of label rows, tight enough for the tabs to sit beside the event list on a laptop.
QFormLayout* compactForm(QWidget* tab)
{
    auto* form = new QFormLayout(tab);
    form->setContentsMargins(6, 4, 6, 2);
    form->setVerticalSpacing(1);
    return form;
}

QGroupBox* buildEventList(EventSlotView& v, int i, QWidget* parent)
{
    v.fraEvents = named(new QGroupBox(QStringLiteral("Triggered events"), parent), QStringLiteral("fraEvents"), i);
    auto* layout = new QVBoxLayout(v.fraEvents);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* filters = new QHBoxLayout;
    filters->setSpacing(2);
    v.optAll = named(new QRadioButton(QStringLiteral("All"), v.fraEvents), QStringLiteral("optAll"), i);
    v.optVlt = named(new QRadioButton(QStringLiteral(".VLT"), v.fraEvents), QStringLiteral("optVlt"), i);
    v.optTrg = named(new QRadioButton(QStringLiteral(".TRG"), v.fraEvents), QStringLiteral("optTrg"), i);
    v.optAll->setChecked(true);
    for (QRadioButton* filter : {v.optAll, v.optVlt, v.optTrg})
        filters->addWidget(filter);
    layout->addLayout(filters);
    v.lstTrig = named(new QListWidget(v.fraEvents), QStringLiteral("lstTrig"), i);
    v.lstTrig->setMinimumWidth(120);
    v.lstTrig->setToolTip(QStringLiteral("Click an event to show it; right-click to delete its file"));
    layout->addWidget(v.lstTrig);
    v.lblEventFile = named(new QLabel(v.fraEvents), QStringLiteral("lblEventFile"), i);
    v.lblEventFile->setWordWrap(true);
    layout->addWidget(v.lblEventFile);
    return v.fraEvents;
}

/// One row of a tab: the label's place in the slot, its name and the caption beside it.
struct LabelRow {
    QLabel* EventSlotView::*label;
    const char* name;
    const char* caption;
};

/// A tab of caption and value rows; the Settings tab's "Pulse" row holds two labels side by side.
QWidget* buildLabelTab(EventSlotView& v, int i, const QString& tabName, std::initializer_list<LabelRow> rows)
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("%1(%2)").arg(tabName).arg(i));
    auto* form = compactForm(tab);
    for (const LabelRow& row : rows)
        v.*row.label = valueLabel(tab, QString::fromLatin1(row.name), i);
    if (v.lblDips != nullptr)
        v.lblDips->setWordWrap(true);
    for (const LabelRow& row : rows) {
        if (row.label == &EventSlotView::lblOn_Off)
            continue; // beside the pulse width
        if (row.label != &EventSlotView::lblPulseWidth) {
            form->addRow(QString::fromLatin1(row.caption), v.*row.label);
            continue;
        }
        auto* pulse = new QHBoxLayout;
        pulse->addWidget(v.lblPulseWidth);
        pulse->addWidget(v.lblOn_Off, 1);
        form->addRow(QString::fromLatin1(row.caption), pulse);
    }
    return tab;
}

QWidget* buildSettingsTab(EventSlotView& v, int i)
{
    return buildLabelTab(v, i, QStringLiteral("fraEventParameters"),
                         {{&EventSlotView::lblPhase, "lblPhase", "Test"},
                          {&EventSlotView::lblGain, "lblGain", "Gain"},
                          {&EventSlotView::lblFSD, "lblFSD", " FSD"},
                          {&EventSlotView::lblLong_Short, "lblLong_Short", "Range"},
                          {&EventSlotView::lblInternal, "lblInternal", "Internal"},
                          {&EventSlotView::lblTDR_TRS, "lblTDR_TRS", "Mode"},
                          {&EventSlotView::lblPulseWidth, "lblPulseWidth", "Pulse"},
                          {&EventSlotView::lblOn_Off, "lblOn_Off", ""},
                          {&EventSlotView::lblTrigChannel, "lblTrigChannel", "Trigger"}});
}

QWidget* buildDetailsTab(EventSlotView& v, int i)
{
    return buildLabelTab(v, i, QStringLiteral("fraDetails"),
                         {{&EventSlotView::lblTrailerLocation, "lblTrailerLocation", "Location"},
                          {&EventSlotView::lblTrailerJob, "lblTrailerJob", "Job"},
                          {&EventSlotView::lblUnit, "lblUnit", "Unit"},
                          {&EventSlotView::lblVersion, "lblVersion", "Version"},
                          {&EventSlotView::lblDuration, "lblDuration", "Duration"},
                          {&EventSlotView::lblThreshold, "lblThreshold", "Threshold"},
                          {&EventSlotView::lblInjection, "lblInjection", "Injection"},
                          {&EventSlotView::lblPreTrigger, "lblPreTrigger", "Pre/Post"},
                          {&EventSlotView::lblDips, "lblDips", "Dips"}});
}

QWidget* buildMeteringTab(EventSlotView& v, int i)
{
    auto* tab = new QWidget;
    auto* form = compactForm(tab);
    v.lblMeterFSD = valueLabel(tab, QStringLiteral("lblMeterFSD"), i);
    v.lblSampleValue = valueLabel(tab, QStringLiteral("lblSampleValue"), i);
    auto* head = new QHBoxLayout;
    head->setSpacing(8);
    head->addWidget(new QLabel(QStringLiteral("FSD"), tab));
    head->addWidget(v.lblMeterFSD, 1);
    head->addWidget(new QLabel(QStringLiteral("Sample"), tab));
    head->addWidget(v.lblSampleValue, 1);
    form->addRow(head);
    const QString meterName = i == 0 ? QStringLiteral("lblMeter0") : QStringLiteral("lblMeter1");
    for (int c = 0; c < 4; ++c) {
        v.lblMeter[c] = valueLabel(tab, meterName, c);
        v.lblMeter[c]->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(QString::fromLatin1(kChannelTints[c])));
        form->addRow(QString::fromLatin1(kChannelNames[c]), v.lblMeter[c]);
    }
    v.chkRaw = named(new QCheckBox(QStringLiteral("Raw Data"), tab), QStringLiteral("chkRaw"), i);
    form->addRow(v.chkRaw);
    return tab;
}

QWidget* buildPicture(EventSlotView& v, int i, QWidget* parent)
{
    v.ACFrame = named(new QFrame(parent), QStringLiteral("ACFrame"), i);
    v.ACFrame->setFrameShape(QFrame::Box);
    v.ACFrame->setLineWidth(2);
    auto* frameLayout = new QVBoxLayout(v.ACFrame);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    v.picvolts = named(new PlotSurface(v.ACFrame), QStringLiteral("picvolts"), i);
    v.picvolts->Scale(0, 266, 8000, -10);
    v.picvolts->setMinimumHeight(100);
    v.picvolts->setAccessibleName(i == 0 ? QStringLiteral("Master waveform") : QStringLiteral("Slave waveform"));
    v.picvolts->setToolTip(QStringLiteral("Settings tab: left click picks this event's pulse, right click the other's; "
                                          "Metering tab: click to measure"));
    frameLayout->addWidget(v.picvolts);
    using Shape = PlotOverlay::Shape;
    const QString suffix = QStringLiteral("(%1)").arg(i);
    // A dark picture: the white pulse grid and the yellow phase show on it.
    v.picvolts->setBackColor(Qt::black);
    v.Measure = v.picvolts->addOverlay(QStringLiteral("Measure") + suffix, Shape::Line, QColor(0, 255, 0));
    v.MeasureRef = v.picvolts->addOverlay(QStringLiteral("MeasureRef") + suffix, Shape::Line, QColor(0, 160, 0));
    v.Meter = v.picvolts->addOverlay(QStringLiteral("Meter") + suffix, Shape::Box, QColor(0, 255, 0));
    v.Marker = v.picvolts->addOverlay(QStringLiteral("Marker") + suffix, Shape::Line, QColor(255, 160, 0));
    v.RefMarker = v.picvolts->addOverlay(QStringLiteral("RefMarker") + suffix, Shape::Line, QColor(255, 0, 255));
    for (PlotOverlay* line : {v.Measure, v.MeasureRef, v.Marker, v.RefMarker}) {
        line->setEnds(0, 266, 0, -10);
        line->hide();
    }
    v.Meter->setBox(1200, 800);
    v.Meter->hide();
    return v.ACFrame;
}

QHBoxLayout* buildWaveControls(EventSlotView& v, int i, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    const QString switchName = i == 0 ? QStringLiteral("chkAC0") : QStringLiteral("chkAC1");
    for (int c = 0; c < 4; ++c) {
        v.chkAC[c] = named(new QCheckBox(QString::fromLatin1(kChannelNames[c]), parent), switchName, c);
        v.chkAC[c]->setChecked(true);
        v.chkAC[c]->setStyleSheet(QStringLiteral("QCheckBox { color: %1; }").arg(QString::fromLatin1(kChannelTints[c])));
        row->addWidget(v.chkAC[c]);
    }
    v.scrZoom = named(new QScrollBar(Qt::Horizontal, parent), QStringLiteral("scrZoom"), i);
    v.scrZoom->setRange(0, 1);
    v.scrZoom->setSingleStep(100);
    v.scrZoom->setPageStep(800);
    row->addWidget(v.scrZoom, 1);
    v.cmdZoom = named(new QPushButton(QStringLiteral("+"), parent), QStringLiteral("cmdZoom"), i);
    v.cmdZoom->setMaximumWidth(32);
    v.cmdZoom->setToolTip(QStringLiteral("Zoom in on the pulse grid, or back to the whole event"));
    row->addWidget(v.cmdZoom);
    v.cmdExport = named(new QPushButton(QStringLiteral("Export..."), parent), QStringLiteral("cmdExport"), i);
    v.cmdExport->setToolTip(QStringLiteral("Save this event as COMTRADE, CSV, a picture or a fault report"));
    row->addWidget(v.cmdExport);
    return row;
}

void buildExportMenu(EventSlotView& v, int i, QWidget* parent)
{
    v.mnuEventExport = named(new QMenu(i == 0 ? QStringLiteral("Master event") : QStringLiteral("Slave event"), parent),
                             QStringLiteral("mnuEventExport"), i);
    const auto entry = [&](const QString& name, const QString& caption) {
        return named(v.mnuEventExport->addAction(caption), name, i);
    };
    v.mnuComtrade = entry(QStringLiteral("mnuComtrade"), QStringLiteral("COMTRADE (ASCII)..."));
    v.mnuComtradeBinary = entry(QStringLiteral("mnuComtradeBinary"), QStringLiteral("COMTRADE (binary)..."));
    v.mnuCsv = entry(QStringLiteral("mnuCsv"), QStringLiteral("CSV..."));
    v.mnuCsvParameters = entry(QStringLiteral("mnuCsvParameters"), QStringLiteral("CSV with parameters..."));
    v.mnuTraceCsv = entry(QStringLiteral("mnuTraceCsv"), QStringLiteral("TDR trace as CSV..."));
    v.mnuEventExport->addSeparator();
    v.mnuPicture = entry(QStringLiteral("mnuPicture"), QStringLiteral("Picture..."));
    v.mnuFaultReport = entry(QStringLiteral("mnuFaultReport"), QStringLiteral("Fault report..."));
}

} // namespace

void EventSlotView::setOutlineColour(unsigned bgr) const
{
    const QColor colour(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
    ACFrame->setStyleSheet(QStringLiteral("QFrame#%1 { border: 2px solid %2; }").arg(ACFrame->objectName().replace('(', "\\(").replace(')', "\\)"), colour.name()));
}

QWidget* buildEventSlotView(EventSlotView& v, int i, QWidget* parent)
{
    auto* slot = new QGroupBox(i == 0 ? QStringLiteral("Master event") : QStringLiteral("Slave event"), parent);
    slot->setObjectName(QStringLiteral("fraEventSlot(%1)").arg(i));
    v.fraEventSlot = slot;
    auto* grid = new QGridLayout(slot);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->addWidget(buildEventList(v, i, slot), 0, 0);

    v.tbsEvents = named(new QTabWidget(slot), QStringLiteral("tbsEvents"), i);
    v.tbsEvents->addTab(buildSettingsTab(v, i), QStringLiteral("Settings"));
    v.tbsEvents->addTab(buildDetailsTab(v, i), QStringLiteral("Details"));
    v.tbsEvents->addTab(buildMeteringTab(v, i), QStringLiteral("Metering"));
    v.lstLastIndex = named(new QListWidget, QStringLiteral("lstLastIndex"), i);
    v.lstLastIndex->setFont(QFont(QStringLiteral("Monospace")));
    v.tbsEvents->addTab(v.lstLastIndex, QStringLiteral("Last index"));
    grid->addWidget(v.tbsEvents, 0, 1);
    // Beside the tabs, where it widens nothing: the row under the picture is the slot's widest.
    v.cmdEnlarge = named(new QPushButton(QStringLiteral("Enlarge"), v.tbsEvents), QStringLiteral("cmdEnlarge"), i);
    v.cmdEnlarge->setToolTip(QStringLiteral("Show this event large (or double-click the picture); Escape puts it back"));
    v.tbsEvents->setCornerWidget(v.cmdEnlarge, Qt::TopRightCorner);

    grid->addWidget(buildPicture(v, i, slot), 1, 0, 1, 2);
    grid->addLayout(buildWaveControls(v, i, slot), 2, 0, 1, 2);
    buildExportMenu(v, i, slot);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 2);
    grid->setRowStretch(1, 3);
    return slot;
}

QWidget* frmMaster::buildEventSlots()
{
    auto* slotsRow = new QWidget(this);
    slotsRow->setObjectName(QStringLiteral("fraEventSlots"));
    auto* row = new QHBoxLayout(slotsRow);
    row->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 2; ++i)
        row->addWidget(buildEventSlotView(eventSlot[i], i, slotsRow), 1);
    return slotsRow;
}

void frmMaster::wireEventSlots()
{
    for (int i = 0; i < 2; ++i) {
        const EventSlotView& v = eventSlot[i];
        // A filter runs its handler when it becomes the chosen one, whoever chose it.
        connect(v.optAll, &QRadioButton::toggled, this, [this, i](bool on) { if (on) eventLists->optAll_Click(i); });
        connect(v.optVlt, &QRadioButton::toggled, this, [this, i](bool on) { if (on) eventLists->optVlt_Click(i); });
        connect(v.optTrg, &QRadioButton::toggled, this, [this, i](bool on) { if (on) eventLists->optTrg_Click(i); });
        // A click loads the line clicked, even the one already chosen; the keyboard and the
        // program choose a line without a click, and that loads it too.
        connect(v.lstTrig, &QListWidget::itemClicked, this, [this, i] { eventLists->lstTrig_Click(i); });
        connect(v.lstTrig, &QListWidget::currentRowChanged, this, [this, i](int row) {
            if (row >= 0 && QGuiApplication::mouseButtons() == Qt::NoButton)
                eventLists->lstTrig_Click(i);
        });
        v.lstTrig->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(v.lstTrig, &QWidget::customContextMenuRequested, this, [this, i] { eventLists->lstTrig_MouseDown(i, Qt::RightButton); });
        connect(v.tbsEvents, &QTabWidget::currentChanged, this, [this, i] { eventLists->tbsEvents_Click(i); });

        connect(v.picvolts, &PlotSurface::MouseDown, this, [this, i](Qt::MouseButton button, Qt::KeyboardModifiers, QPointF at) {
            waveforms->picvolts_MouseDown(i, button, at.x());
        });
        connect(v.picvolts, &PlotSurface::MouseMove, this, [this, i](Qt::MouseButtons buttons, Qt::KeyboardModifiers, QPointF at) {
            waveforms->picvolts_MouseMove(i, buttons, at.x());
        });
        connect(v.picvolts, &PlotSurface::KeyDown, this, [this, i](int key, Qt::KeyboardModifiers modifiers) {
            waveforms->picvolts_KeyDown(i, key, modifiers);
        });
        connect(v.picvolts, &PlotSurface::GotFocus, this, [this, i] { waveforms->picvolts_GotFocus(i); });
        connect(v.picvolts, &PlotSurface::LostFocus, this, [this, i] { waveforms->picvolts_LostFocus(i); });
        for (int c = 0; c < 4; ++c)
            connect(v.chkAC[c], &QCheckBox::toggled, this, [this, i] { waveforms->chkAC_Click(i); });
        connect(v.chkRaw, &QCheckBox::toggled, this, [this, i] { waveforms->chkRaw_Click(i); });
        connect(v.cmdZoom, &QPushButton::clicked, this, [this, i] { waveforms->cmdZoom_Click(i); });
        connect(v.scrZoom, &QScrollBar::valueChanged, this, [this, i] { waveforms->scrZoom_Change(i); });
        plotEnlarger->addPanel(v.fraEventSlot, v.picvolts, v.cmdEnlarge);
    }
}

} // namespace mr3x
