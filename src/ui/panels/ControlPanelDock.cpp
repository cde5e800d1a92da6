// The control panel: the unit's recording and TDR settings, the mirror labels the setting
// commands read, and the unit command buttons.
#include "retrieval/EventDownload.h"
#include "tdr/TdrTests.h"
#include "ui/frmMaster.h"
#include "unitsettings/ControlPanel.h"
#include "unitsettings/SettingCommands.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace mr3x {

namespace {

QLabel* mirror(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = named(new QLabel(text, parent), name);
    label->hide(); // mirrors are read by the setting commands, not by the user
    return label;
}

QSlider* slider(QWidget* parent, const QString& name, int minimum, int maximum, int value)
{
    auto* s = named(new QSlider(Qt::Horizontal, parent), name);
    s->setRange(minimum, maximum);
    s->setValue(value);
    s->setPageStep(1);
    return s;
}

} // namespace

void frmMaster::buildControlPanel()
{
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);

    auto* trigger = new QGroupBox(QStringLiteral("Trigger Mode"), panel);
    trigger->setObjectName(QStringLiteral("fraTriggerMode"));
    auto* triggerLayout = new QVBoxLayout(trigger);
    cboTriggerMode = named(new QComboBox(trigger), QStringLiteral("cboTriggerMode"));
    cboTriggerMode->addItems({QStringLiteral("TDR Voltage Dip & Current"), QStringLiteral("TRS MASTER (Filter ON)"),
                              QStringLiteral("TRS MASTER (Filter OFF)"), QStringLiteral("TRS SLAVE (Filter ON)"),
                              QStringLiteral("TRS SLAVE (Filter OFF)")});
    triggerLayout->addWidget(cboTriggerMode);
    lblTriggerIndex = mirror(trigger, QStringLiteral("lblTriggerIndex"), QStringLiteral("0"));
    lblTriggerTag = mirror(trigger, QStringLiteral("lblTriggerTag"), QStringLiteral("2"));
    grid->addWidget(trigger, 0, 0, 1, 2);

    auto* threshold = new QGroupBox(QStringLiteral("Threshold"), panel);
    threshold->setObjectName(QStringLiteral("fraThreshold"));
    auto* thresholdLayout = new QVBoxLayout(threshold);
    cboThreshold = named(new QComboBox(threshold), QStringLiteral("cboThreshold"));
    cboThreshold->setEnabled(false);
    thresholdLayout->addWidget(cboThreshold);
    grid->addWidget(threshold, 1, 0);

    auto* duration = new QGroupBox(QStringLiteral("Duration"), panel);
    duration->setObjectName(QStringLiteral("fraDuration"));
    auto* durationLayout = new QVBoxLayout(duration);
    cboDuration = named(new QComboBox(duration), QStringLiteral("cboDuration"));
    durationLayout->addWidget(cboDuration);
    grid->addWidget(duration, 1, 1);

    fraCurrentFSD = named(new QGroupBox(QStringLiteral("Current FSD"), panel), QStringLiteral("fraCurrentFSD"));
    auto* fsdLayout = new QHBoxLayout(fraCurrentFSD);
    static const char* const fsdCaptions[4] = {"8kA", "4kA", "2kA", "1kA"};
    static const int fsdTags[4] = {0, 1, 3, 7};
    for (int i = 0; i < 4; ++i) {
        optFSD[i] = named(new OptionButton(QString::fromLatin1(fsdCaptions[i]), fsdTags[i], fraCurrentFSD), QStringLiteral("optFSD"), i);
        fsdLayout->addWidget(optFSD[i]);
    }
    optFSD[0]->setChecked(true);
    lblFSDIndex = mirror(fraCurrentFSD, QStringLiteral("lblFSDIndex"), QStringLiteral("0"));
    lblFSDTag = mirror(fraCurrentFSD, QStringLiteral("lblFSDTag"), QStringLiteral("0"));
    grid->addWidget(fraCurrentFSD, 2, 0, 1, 2);

    auto* phase = new QGroupBox(QStringLiteral("Phase"), panel);
    phase->setObjectName(QStringLiteral("fraPhase"));
    auto* phaseLayout = new QGridLayout(phase);
    static const char* const phaseCaptions[6] = {"R-N", "Y-N", "B-N", "R-Y", "Y-B", "B-R"};
    for (int i = 0; i < 6; ++i) {
        optPhase[i] = named(new OptionButton(QString::fromLatin1(phaseCaptions[i]), i, phase), QStringLiteral("optPhase"), i);
        phaseLayout->addWidget(optPhase[i], i / 3, i % 3);
    }
    optPhase[0]->setChecked(true);
    lblPhaseIndex = mirror(phase, QStringLiteral("lblPhaseIndex"), QStringLiteral("0"));
    lblPhaseTag = mirror(phase, QStringLiteral("lblPhaseTag"), QStringLiteral("0"));
    grid->addWidget(phase, 3, 0, 1, 2);

    auto* mode = new QGroupBox(QStringLiteral("Mode"), panel);
    mode->setObjectName(QStringLiteral("fraMode"));
    auto* modeLayout = new QHBoxLayout(mode);
    optTDRMode[0] = named(new OptionButton(QStringLiteral("Echo"), 0, mode), QStringLiteral("optTDRMode"), 0);
    optTDRMode[1] = named(new OptionButton(QStringLiteral("Cross"), 2, mode), QStringLiteral("optTDRMode"), 1);
    optTDRMode[0]->setChecked(true);
    modeLayout->addWidget(optTDRMode[0]);
    modeLayout->addWidget(optTDRMode[1]);
    lblModeIndex = mirror(mode, QStringLiteral("lblModeIndex"), QStringLiteral("0"));
    lblModeTag = mirror(mode, QStringLiteral("lblModeTag"), QStringLiteral("0"));
    grid->addWidget(mode, 4, 0);

    auto* range = new QGroupBox(QStringLiteral("Range"), panel);
    range->setObjectName(QStringLiteral("fraRange"));
    auto* rangeLayout = new QHBoxLayout(range);
    optRange[0] = named(new OptionButton(QStringLiteral("400m"), 0, range), QStringLiteral("optRange"), 0);
    optRange[1] = named(new OptionButton(QStringLiteral("800m"), 1, range), QStringLiteral("optRange"), 1);
    optRange[0]->setChecked(true);
    rangeLayout->addWidget(optRange[0]);
    rangeLayout->addWidget(optRange[1]);
    lblRangeIndex = mirror(range, QStringLiteral("lblRangeIndex"), QStringLiteral("0"));
    lblRangeTag = mirror(range, QStringLiteral("lblRangeTag"), QStringLiteral("0"));
    grid->addWidget(range, 4, 1);

    auto* references = new QGroupBox(QStringLiteral("Output Connections"), panel);
    references->setObjectName(QStringLiteral("fraOutputConnections"));
    auto* referenceLayout = new QHBoxLayout(references);
    optReference[0] = named(new OptionButton(QStringLiteral("Internal"), 0, references), QStringLiteral("optReference"), 0);
    optReference[1] = named(new OptionButton(QStringLiteral("Y-N"), 2, references), QStringLiteral("optReference"), 1);
    optReference[2] = named(new OptionButton(QStringLiteral("B-N"), 1, references), QStringLiteral("optReference"), 2);
    optReference[1]->setBackColor(65535);
    optReference[2]->setBackColor(0xFF0000);
    optReference[0]->setChecked(true);
    for (OptionButton* b : optReference)
        referenceLayout->addWidget(b);
    lblBalanceIndex = mirror(references, QStringLiteral("lblBalanceIndex"), QStringLiteral("0"));
    lblBalanceTag = mirror(references, QStringLiteral("lblBalanceTag"), QStringLiteral("0"));
    grid->addWidget(references, 5, 0, 1, 2);

    fraTDRPulse = named(new QGroupBox(QStringLiteral("Pulse"), panel), QStringLiteral("fraTDRPulse"));
    auto* pulseLayout = new QGridLayout(fraTDRPulse);
    chkPulseOn = named(new QCheckBox(QStringLiteral("Pulse On"), fraTDRPulse), QStringLiteral("chkPulseOn"));
    chkPulseOn->setChecked(true);
    sldPulse = slider(fraTDRPulse, QStringLiteral("sldPulse"), 1, 8, 2);
    lblPulse = named(new EventLabel(QStringLiteral("2"), fraTDRPulse), QStringLiteral("lblPulse"));
    lblPulse->setMinimumWidth(24);
    cboPre_Post = named(new QComboBox(fraTDRPulse), QStringLiteral("cboPre_Post"));
    pulseLayout->addWidget(chkPulseOn, 0, 0);
    pulseLayout->addWidget(new QLabel(QStringLiteral("Pre/Post"), fraTDRPulse), 0, 1, Qt::AlignRight);
    pulseLayout->addWidget(cboPre_Post, 0, 2);
    pulseLayout->addWidget(new QLabel(QStringLiteral("Width"), fraTDRPulse), 1, 0);
    pulseLayout->addWidget(sldPulse, 1, 1);
    pulseLayout->addWidget(lblPulse, 1, 2);
    grid->addWidget(fraTDRPulse, 6, 0, 1, 2);

    auto* gain = new QGroupBox(QStringLiteral("Gain"), panel);
    gain->setObjectName(QStringLiteral("fraGain"));
    auto* gainLayout = new QHBoxLayout(gain);
    sldGain = slider(gain, QStringLiteral("sldGain"), 0, 20, 10);
    lblTDRGain = named(new EventLabel(QStringLiteral("10"), gain), QStringLiteral("lblTDRGain"));
    lblTDRGain->setMinimumWidth(24);
    gainLayout->addWidget(sldGain, 1);
    gainLayout->addWidget(lblTDRGain);
    grid->addWidget(gain, 7, 0);

    auto* balance = new QGroupBox(QStringLiteral("Balance"), panel);
    balance->setObjectName(QStringLiteral("fraBalance"));
    auto* balanceLayout = new QHBoxLayout(balance);
    sldBalance = slider(balance, QStringLiteral("sldBalance"), 0, 60, 10);
    lblBalance = named(new EventLabel(QStringLiteral("10"), balance), QStringLiteral("lblBalance"));
    lblBalance->setMinimumWidth(24);
    balanceLayout->addWidget(sldBalance, 1);
    balanceLayout->addWidget(lblBalance);
    grid->addWidget(balance, 7, 1);

    auto* options = new QHBoxLayout;
    chkFilter = named(new QCheckBox(QStringLiteral("Filter On"), panel), QStringLiteral("chkFilter"));
    chkFilter->setChecked(true);
    chkAutotest = named(new QCheckBox(QStringLiteral("Autotest"), panel), QStringLiteral("chkAutotest"));
    options->addWidget(chkFilter);
    options->addWidget(chkAutotest);
    options->addStretch(1);
    grid->addLayout(options, 8, 0, 1, 2);

    auto* commands = new QGridLayout;
    cmdTest = named(new QPushButton(QStringLiteral("TEST"), panel), QStringLiteral("cmdTest"));
    cmdTrigger = named(new QPushButton(QStringLiteral("MANUAL TRIGGER"), panel), QStringLiteral("cmdTrigger"));
    cmdArm = named(new QPushButton(QStringLiteral("ARM"), panel), QStringLiteral("cmdArm"));
    cmdSetID = named(new QPushButton(QStringLiteral("Set ID"), panel), QStringLiteral("cmdSetID"));
    cmdArm->setToolTip(QStringLiteral("Send the settings, arm the unit and disconnect (right click: read the unit's settings again)"));
    cmdArm->setStyleSheet(QStringLiteral("QPushButton { font-weight: bold; }"));
    for (QPushButton* b : {cmdTest, cmdTrigger, cmdArm, cmdSetID})
        b->setEnabled(false);
    commands->addWidget(cmdTest, 0, 0);
    commands->addWidget(cmdTrigger, 0, 1);
    commands->addWidget(cmdSetID, 1, 0);
    commands->addWidget(cmdArm, 1, 1);
    grid->addLayout(commands, 9, 0, 1, 2);
    grid->setRowStretch(10, 1);

    fraControls = makePanel(this, QStringLiteral("fraControls"), QStringLiteral("Control Panel"), panel, nullptr, QString());
    addDockWidget(Qt::RightDockWidgetArea, fraControls);
    fraControls->hide();
}

void frmMaster::wireControlPanel()
{
}

} // namespace mr3x
