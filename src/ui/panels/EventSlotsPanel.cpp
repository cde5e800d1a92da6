// The two event slotsRow side by side: each with its event list, its tabs of parameters, meters and
// last index, and its waveform picture.
#include "retrieval/EventIndex.h"
#include "ui/frmMaster.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace mr3x {

namespace {

QLabel* valueLabel(QWidget* parent, const QString& name, int index)
{
    auto* label = named(new QLabel(parent), name, index);
    label->setMinimumWidth(36);
    return label;
}

} // namespace

QWidget* frmMaster::buildEventSlots()
{
    auto* slotsRow = new QWidget(this);
    slotsRow->setObjectName(QStringLiteral("fraEventSlots"));
    auto* row = new QHBoxLayout(slotsRow);
    row->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 2; ++i) {
        auto* slot = new QGroupBox(i == 0 ? QStringLiteral("Master event") : QStringLiteral("Slave event"), slotsRow);
        slot->setObjectName(QStringLiteral("fraEventSlot(%1)").arg(i));
        auto* grid = new QGridLayout(slot);
        grid->setContentsMargins(4, 4, 4, 4);

        // The list of stored events with its file-type filter.
        fraEvents[i] = named(new QGroupBox(QStringLiteral("Triggered events"), slot), QStringLiteral("fraEvents"), i);
        auto* eventsLayout = new QVBoxLayout(fraEvents[i]);
        eventsLayout->setContentsMargins(4, 2, 4, 2);
        auto* filters = new QHBoxLayout;
        optAll[i] = named(new QRadioButton(QStringLiteral("All"), fraEvents[i]), QStringLiteral("optAll"), i);
        optVlt[i] = named(new QRadioButton(QStringLiteral(".VLT"), fraEvents[i]), QStringLiteral("optVlt"), i);
        optTrg[i] = named(new QRadioButton(QStringLiteral(".TRG"), fraEvents[i]), QStringLiteral("optTrg"), i);
        optAll[i]->setChecked(true);
        filters->addWidget(optAll[i]);
        filters->addWidget(optVlt[i]);
        filters->addWidget(optTrg[i]);
        eventsLayout->addLayout(filters);
        lstTrig[i] = named(new QListWidget(fraEvents[i]), QStringLiteral("lstTrig"), i);
        lstTrig[i]->setMinimumWidth(120);
        eventsLayout->addWidget(lstTrig[i]);
        lblEventFile[i] = named(new QLabel(fraEvents[i]), QStringLiteral("lblEventFile"), i);
        lblEventFile[i]->setWordWrap(true);
        eventsLayout->addWidget(lblEventFile[i]);
        grid->addWidget(fraEvents[i], 0, 0);

        // The tabs: settings, details, metering, last index.
        tbsEvents[i] = named(new QTabWidget(slot), QStringLiteral("tbsEvents"), i);
        auto* settings = new QWidget;
        auto* settingsForm = new QFormLayout(settings);
        settingsForm->setObjectName(QStringLiteral("fraEventParameters(%1)").arg(i));
        lblPhase[i] = valueLabel(settings, QStringLiteral("lblPhase"), i);
        lblGain[i] = valueLabel(settings, QStringLiteral("lblGain"), i);
        lblFSD[i] = valueLabel(settings, QStringLiteral("lblFSD"), i);
        lblLong_Short[i] = valueLabel(settings, QStringLiteral("lblLong_Short"), i);
        lblInternal[i] = valueLabel(settings, QStringLiteral("lblInternal"), i);
        lblTDR_TRS[i] = valueLabel(settings, QStringLiteral("lblTDR_TRS"), i);
        lblPulseWidth[i] = valueLabel(settings, QStringLiteral("lblPulseWidth"), i);
        lblOn_Off[i] = valueLabel(settings, QStringLiteral("lblOn_Off"), i);
        lblTrigChannel[i] = valueLabel(settings, QStringLiteral("lblTrigChannel"), i);
        settingsForm->addRow(QStringLiteral("Test"), lblPhase[i]);
        settingsForm->addRow(QStringLiteral("Gain"), lblGain[i]);
        settingsForm->addRow(QStringLiteral(" FSD"), lblFSD[i]);
        settingsForm->addRow(QStringLiteral("Range"), lblLong_Short[i]);
        settingsForm->addRow(QStringLiteral("Internal"), lblInternal[i]);
        settingsForm->addRow(QStringLiteral("Mode"), lblTDR_TRS[i]);
        auto* pulse = new QHBoxLayout;
        pulse->addWidget(lblPulseWidth[i]);
        pulse->addWidget(lblOn_Off[i]);
        settingsForm->addRow(QStringLiteral("Pulse"), pulse);
        settingsForm->addRow(QStringLiteral("Trigger"), lblTrigChannel[i]);
        tbsEvents[i]->addTab(settings, QStringLiteral("Settings"));

        auto* details = new QWidget;
        auto* detailsForm = new QFormLayout(details);
        detailsForm->setObjectName(QStringLiteral("fraDetails(%1)").arg(i));
        lblTrailerLocation[i] = valueLabel(details, QStringLiteral("lblTrailerLocation"), i);
        lblTrailerJob[i] = valueLabel(details, QStringLiteral("lblTrailerJob"), i);
        lblUnit[i] = valueLabel(details, QStringLiteral("lblUnit"), i);
        lblVersion[i] = valueLabel(details, QStringLiteral("lblVersion"), i);
        lblDuration[i] = valueLabel(details, QStringLiteral("lblDuration"), i);
        lblThreshold[i] = valueLabel(details, QStringLiteral("lblThreshold"), i);
        lblInjection[i] = valueLabel(details, QStringLiteral("lblInjection"), i);
        lblPreTrigger[i] = valueLabel(details, QStringLiteral("lblPreTrigger"), i);
        detailsForm->addRow(QStringLiteral("Location"), lblTrailerLocation[i]);
        detailsForm->addRow(QStringLiteral("Job"), lblTrailerJob[i]);
        detailsForm->addRow(QStringLiteral("Unit"), lblUnit[i]);
        detailsForm->addRow(QStringLiteral("Version"), lblVersion[i]);
        detailsForm->addRow(QStringLiteral("Duration"), lblDuration[i]);
        detailsForm->addRow(QStringLiteral("Threshold"), lblThreshold[i]);
        detailsForm->addRow(QStringLiteral("Injection"), lblInjection[i]);
        detailsForm->addRow(QStringLiteral("Pre/Post"), lblPreTrigger[i]);
        tbsEvents[i]->addTab(details, QStringLiteral("Details"));

        auto* metering = new QWidget;
        auto* meteringForm = new QFormLayout(metering);
        lblMeterFSD[i] = valueLabel(metering, QStringLiteral("lblMeterFSD"), i);
        lblSampleValue[i] = valueLabel(metering, QStringLiteral("lblSampleValue"), i);
        meteringForm->addRow(QStringLiteral("FSD"), lblMeterFSD[i]);
        meteringForm->addRow(QStringLiteral("Sample"), lblSampleValue[i]);
        auto& meters = i == 0 ? lblMeter0 : lblMeter1;
        static const char* const channelNames[4] = {"Vr", "Vy", "Vb", "I"};
        for (int c = 0; c < 4; ++c) {
            meters[c] = named(new QLabel(metering), i == 0 ? QStringLiteral("lblMeter0") : QStringLiteral("lblMeter1"), c);
            meteringForm->addRow(QString::fromLatin1(channelNames[c]), meters[c]);
        }
        chkRaw[i] = named(new QCheckBox(QStringLiteral("Raw Data"), metering), QStringLiteral("chkRaw"), i);
        meteringForm->addRow(chkRaw[i]);
        tbsEvents[i]->addTab(metering, QStringLiteral("Metering"));

        lstLastIndex[i] = named(new QListWidget, QStringLiteral("lstLastIndex"), i);
        lstLastIndex[i]->setFont(QFont(QStringLiteral("Monospace")));
        tbsEvents[i]->addTab(lstLastIndex[i], QStringLiteral("Last index"));
        grid->addWidget(tbsEvents[i], 0, 1);

        // The waveform picture with its channel switches and zoom.
        picvolts[i] = named(new PlotSurface(slot), QStringLiteral("picvolts"), i);
        picvolts[i]->Scale(0, 266, 8000, -10);
        picvolts[i]->setMinimumHeight(110);
        grid->addWidget(picvolts[i], 1, 0, 1, 2);
        auto* waveControls = new QHBoxLayout;
        auto& channels = i == 0 ? chkAC0 : chkAC1;
        for (int c = 0; c < 4; ++c) {
            channels[c] = named(new QCheckBox(QString::fromLatin1(channelNames[c]), slot),
                                i == 0 ? QStringLiteral("chkAC0") : QStringLiteral("chkAC1"), c);
            channels[c]->setChecked(true);
            waveControls->addWidget(channels[c]);
        }
        scrZoom[i] = named(new QScrollBar(Qt::Horizontal, slot), QStringLiteral("scrZoom"), i);
        scrZoom[i]->setRange(0, 1);
        waveControls->addWidget(scrZoom[i], 1);
        cmdZoom[i] = named(new QPushButton(QStringLiteral("+"), slot), QStringLiteral("cmdZoom"), i);
        cmdZoom[i]->setMaximumWidth(32);
        waveControls->addWidget(cmdZoom[i]);
        grid->addLayout(waveControls, 2, 0, 1, 2);
        grid->setRowStretch(0, 2);
        grid->setRowStretch(1, 3);
        row->addWidget(slot, 1);
    }
    return slotsRow;
}

void frmMaster::wireEventSlots()
{
}

} // namespace mr3x
