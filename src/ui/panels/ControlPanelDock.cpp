// The control panel: the unit's recording and TDR settings, the mirror labels the setting
// commands read, and the unit command buttons. Laid out top to bottom as the engineer works:
// what makes the unit record, then the TDR test set-up, then the commands, "ARM" last.
#include "retrieval/EventDownload.h"
#include "tdr/TdrTests.h"
#include "ui/frmMaster.h"
#include "unitsettings/ControlPanel.h"
#include "unitsettings/SettingCommands.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QToolTip>
#include <QVBoxLayout>

namespace mr3x {

namespace {

QLabel* mirror(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = named(new QLabel(text, parent), name);
    label->hide(); // mirrors are read by the setting commands, not by the user
    return label;
}

QGroupBox* group(QWidget* parent, const QString& caption, const QString& name)
{
    return named(new QGroupBox(caption, parent), name);
}

// A slider's change is the end of a move (or a set value), not every step of a drag: its label
// changes then, and a label change may start a test. The value being dragged shows in a tip.
QSlider* slider(QWidget* parent, const QString& name, int minimum, int maximum, int value)
{
    auto* s = named(new QSlider(Qt::Horizontal, parent), name);
    s->setRange(minimum, maximum);
    s->setValue(value);
    s->setPageStep(1);
    s->setTracking(false);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(maximum - minimum > 20 ? 10 : (maximum - minimum > 10 ? 5 : 1));
    QObject::connect(s, &QSlider::sliderMoved, s, [s](int position) {
        QToolTip::showText(QCursor::pos(), QString::number(position), s);
    });
    return s;
}

EventLabel* sliderLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = named(new EventLabel(text, parent), name);
    label->setMinimumWidth(28);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFrameShape(QFrame::StyledPanel);
    label->setToolTip(QStringLiteral("Click to run the automatic test with this value"));
    return label;
}

/// A group holding a slider from 0 to `maximum` (start 10) and the label that shows its value.
QGroupBox* sliderGroup(QWidget* parent, const QString& caption, const QString& groupName, QSlider*& slider_,
                       const QString& sliderName, int maximum, EventLabel*& label, const QString& labelName)
{
    auto* box = group(parent, caption, groupName);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(6, 4, 6, 4);
    slider_ = slider(box, sliderName, 0, maximum, 10);
    label = sliderLabel(box, labelName, QStringLiteral("10"));
    layout->addWidget(slider_, 1);
    layout->addWidget(label);
    return box;
}

/// A row of option buttons in a group, tags as given.
template <std::size_t N>
void optionRow(QGroupBox* box, std::array<OptionButton*, N>& buttons, const QString& name,
               const std::array<const char*, N>& captions, const std::array<int, N>& tags, int columns = int(N))
{
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(2);
    for (std::size_t i = 0; i < N; ++i) {
        buttons[i] = named(new OptionButton(QString::fromLatin1(captions[i]), tags[i], box), name, int(i));
        layout->addWidget(buttons[i], int(i) / columns, int(i) % columns);
    }
    buttons[0]->setChecked(true);
}

} // namespace

void frmMaster::buildControlPanel()
{
    auto* panel = new QWidget;
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);

    // --- Recording: trigger mode, threshold, duration, current range, phase ----------------------
    auto* trigger = group(panel, QStringLiteral("Trigger Mode"), QStringLiteral("fraTriggerMode"));
    auto* triggerLayout = new QVBoxLayout(trigger);
    triggerLayout->setContentsMargins(6, 4, 6, 4);
    cboTriggerMode = named(new QComboBox(trigger), QStringLiteral("cboTriggerMode"));
    cboTriggerMode->addItems({QStringLiteral("TDR Voltage Dip & Current"), QStringLiteral("TRS MASTER (Filter ON)"),
                              QStringLiteral("TRS MASTER (Filter OFF)"), QStringLiteral("TRS SLAVE (Filter ON)"),
                              QStringLiteral("TRS SLAVE (Filter OFF)")});
    triggerLayout->addWidget(cboTriggerMode);
    lblTriggerIndex = mirror(trigger, QStringLiteral("lblTriggerIndex"), QStringLiteral("0"));
    lblTriggerTag = mirror(trigger, QStringLiteral("lblTriggerTag"), QStringLiteral("2"));
    column->addWidget(trigger);

    auto* levels = new QHBoxLayout;
    auto* threshold = group(panel, QStringLiteral("Threshold"), QStringLiteral("fraThreshold"));
    auto* thresholdLayout = new QHBoxLayout(threshold);
    thresholdLayout->setContentsMargins(6, 4, 6, 4);
    cboThreshold = named(new QComboBox(threshold), QStringLiteral("cboThreshold"));
    cboThreshold->setEnabled(false);
    cboThreshold->setToolTip(QStringLiteral("Voltage threshold of the trigger"));
    thresholdLayout->addWidget(cboThreshold, 1);
    levels->addWidget(threshold, 1);
    auto* duration = group(panel, QStringLiteral("Duration"), QStringLiteral("fraDuration"));
    auto* durationLayout = new QHBoxLayout(duration);
    durationLayout->setContentsMargins(6, 4, 6, 4);
    cboDuration = named(new QComboBox(duration), QStringLiteral("cboDuration"));
    cboDuration->setToolTip(QStringLiteral("Trigger duration in samples"));
    durationLayout->addWidget(cboDuration, 1);
    levels->addWidget(duration, 1);
    column->addLayout(levels);

    fraCurrentFSD = group(panel, QStringLiteral("Current FSD"), QStringLiteral("fraCurrentFSD"));
    optionRow<4>(fraCurrentFSD, optFSD, QStringLiteral("optFSD"), {"8kA", "4kA", "2kA", "1kA"}, {0, 1, 3, 7});
    lblFSDIndex = mirror(fraCurrentFSD, QStringLiteral("lblFSDIndex"), QStringLiteral("0"));
    lblFSDTag = mirror(fraCurrentFSD, QStringLiteral("lblFSDTag"), QStringLiteral("0"));
    column->addWidget(fraCurrentFSD);

    auto* phase = group(panel, QStringLiteral("Phase"), QStringLiteral("fraPhase"));
    optionRow<6>(phase, optPhase, QStringLiteral("optPhase"), {"R-N", "Y-N", "B-N", "R-Y", "Y-B", "B-R"},
                 {0, 1, 2, 3, 4, 5}, 3);
    lblPhaseIndex = mirror(phase, QStringLiteral("lblPhaseIndex"), QStringLiteral("0"));
    lblPhaseTag = mirror(phase, QStringLiteral("lblPhaseTag"), QStringLiteral("0"));
    column->addWidget(phase);

    // --- TDR: mode, range, references, pulse, gain, balance ----------------------------------------
    auto* modeAndRange = new QHBoxLayout;
    auto* mode = group(panel, QStringLiteral("Mode"), QStringLiteral("fraMode"));
    optionRow<2>(mode, optTDRMode, QStringLiteral("optTDRMode"), {"Echo", "Cross"}, {0, 2});
    lblModeIndex = mirror(mode, QStringLiteral("lblModeIndex"), QStringLiteral("0"));
    lblModeTag = mirror(mode, QStringLiteral("lblModeTag"), QStringLiteral("0"));
    modeAndRange->addWidget(mode, 1);
    auto* range = group(panel, QStringLiteral("Range"), QStringLiteral("fraRange"));
    optionRow<2>(range, optRange, QStringLiteral("optRange"), {"400m", "800m"}, {0, 1});
    lblRangeIndex = mirror(range, QStringLiteral("lblRangeIndex"), QStringLiteral("0"));
    lblRangeTag = mirror(range, QStringLiteral("lblRangeTag"), QStringLiteral("0"));
    modeAndRange->addWidget(range, 1);
    column->addLayout(modeAndRange);

    // The references start as they stand against phase "R-N" in Echo mode.
    auto* references = group(panel, QStringLiteral("Output Connections"), QStringLiteral("fraOutputConnections"));
    optionRow<3>(references, optReference, QStringLiteral("optReference"), {"Internal", "Y-N", "B-N"}, {0, 2, 1});
    optReference[1]->setBackColor(65535);
    optReference[2]->setBackColor(0xFF0000);
    lblBalanceIndex = mirror(references, QStringLiteral("lblBalanceIndex"), QStringLiteral("0"));
    lblBalanceTag = mirror(references, QStringLiteral("lblBalanceTag"), QStringLiteral("0"));
    column->addWidget(references);

    fraTDRPulse = group(panel, QStringLiteral("Pulse"), QStringLiteral("fraTDRPulse"));
    auto* pulseLayout = new QVBoxLayout(fraTDRPulse);
    pulseLayout->setContentsMargins(6, 4, 6, 4);
    pulseLayout->setSpacing(2);
    chkPulseOn = named(new QCheckBox(QStringLiteral("Pulse On"), fraTDRPulse), QStringLiteral("chkPulseOn"));
    chkPulseOn->setChecked(true);
    cboPre_Post = named(new QComboBox(fraTDRPulse), QStringLiteral("cboPre_Post"));
    cboPre_Post->setToolTip(QStringLiteral("Pre-trigger / post-trigger"));
    sldPulse = slider(fraTDRPulse, QStringLiteral("sldPulse"), 1, 8, 2);
    lblPulse = sliderLabel(fraTDRPulse, QStringLiteral("lblPulse"), QStringLiteral("2"));
    auto* pulseRow = new QHBoxLayout;
    pulseRow->addWidget(chkPulseOn);
    pulseRow->addStretch(1);
    pulseRow->addWidget(new QLabel(QStringLiteral("Pre/Post"), fraTDRPulse));
    pulseRow->addWidget(cboPre_Post);
    pulseLayout->addLayout(pulseRow);
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(new QLabel(QStringLiteral("Width"), fraTDRPulse));
    widthRow->addWidget(sldPulse, 1);
    widthRow->addWidget(lblPulse);
    pulseLayout->addLayout(widthRow);
    column->addWidget(fraTDRPulse);

    auto* gainAndBalance = new QHBoxLayout;
    gainAndBalance->addWidget(sliderGroup(panel, QStringLiteral("Gain"), QStringLiteral("fraGain"), sldGain,
                                          QStringLiteral("sldGain"), 20, lblTDRGain, QStringLiteral("lblTDRGain")), 1);
    gainAndBalance->addWidget(sliderGroup(panel, QStringLiteral("Balance"), QStringLiteral("fraBalance"), sldBalance,
                                          QStringLiteral("sldBalance"), 60, lblBalance, QStringLiteral("lblBalance")), 1);
    column->addLayout(gainAndBalance);

    auto* options = new QHBoxLayout;
    chkFilter = named(new QCheckBox(QStringLiteral("Filter On"), panel), QStringLiteral("chkFilter"));
    chkFilter->setChecked(true);
    chkAutotest = named(new QCheckBox(QStringLiteral("Autotest"), panel), QStringLiteral("chkAutotest"));
    chkAutotest->setToolTip(QStringLiteral("Run a TDR test after every change of a TDR setting"));
    options->addWidget(chkFilter);
    options->addWidget(chkAutotest);
    options->addStretch(1);
    column->addLayout(options);

    // --- Commands -------------------------------------------------------------------------------------
    auto* commands = new QGridLayout;
    commands->setSpacing(4);
    cmdTest = named(new QPushButton(QStringLiteral("TEST"), panel), QStringLiteral("cmdTest"));
    cmdTrigger = named(new QPushButton(QStringLiteral("MANUAL TRIGGER"), panel), QStringLiteral("cmdTrigger"));
    cmdSetID = named(new QPushButton(QStringLiteral("Set ID"), panel), QStringLiteral("cmdSetID"));
    cmdArm = named(new PressButton(QStringLiteral("ARM"), panel), QStringLiteral("cmdArm"));
    cmdArm->setToolTip(QStringLiteral("Send the settings, arm the unit and disconnect (right click: read the unit's settings again)"));
    cmdArm->setStyleSheet(QStringLiteral("QPushButton { font-weight: bold; padding: 6px; }"));
    for (QPushButton* b : {cmdTest, cmdTrigger, cmdSetID, static_cast<QPushButton*>(cmdArm)})
        b->setEnabled(false);
    commands->addWidget(cmdTest, 0, 0);
    commands->addWidget(cmdTrigger, 0, 1);
    commands->addWidget(cmdSetID, 1, 0);
    commands->addWidget(cmdArm, 1, 1);
    column->addLayout(commands);
    column->addStretch(1);

    // On a low screen the panel scrolls rather than squeezing its groups.
    auto* scroller = new QScrollArea;
    scroller->setObjectName(QStringLiteral("scrControlPanel"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(panel);
    scroller->setMinimumWidth(panel->minimumSizeHint().width() + 16);

    fraControls = makePanel(this, QStringLiteral("fraControls"), QStringLiteral("Control Panel"), scroller, nullptr, QString());
    addDockWidget(Qt::RightDockWidgetArea, fraControls);
    fraControls->hide();
}

void frmMaster::wireControlPanel()
{
    ControlPanel* panel = controlPanel.get();
    connect(cboTriggerMode, &QComboBox::currentIndexChanged, this, [panel] { panel->cboTriggerMode_Click(); });

    const auto onPress = [this](auto& buttons, void (ControlPanel::*handler)(int, Qt::MouseButton)) {
        for (std::size_t i = 0; i < buttons.size(); ++i)
            connect(buttons[i], &OptionButton::MouseDown, this,
                    [this, handler, i](Qt::MouseButton button) { (controlPanel.get()->*handler)(int(i), button); });
    };
    onPress(optPhase, &ControlPanel::optPhase_MouseDown);
    onPress(optTDRMode, &ControlPanel::optTDRMode_MouseDown);
    onPress(optReference, &ControlPanel::optReference_MouseDown);
    onPress(optRange, &ControlPanel::optRange_MouseDown);
    onPress(optFSD, &ControlPanel::optFSD_MouseDown);
    // A new choice reacts however it was made: the mouse, the keyboard (the arrow keys move the
    // choice inside a group) or the program.
    const auto onChoice = [this](auto& buttons, void (ControlPanel::*handler)(int)) {
        for (std::size_t i = 0; i < buttons.size(); ++i)
            connect(buttons[i], &QRadioButton::toggled, this, [this, handler, i](bool on) {
                if (on)
                    (controlPanel.get()->*handler)(int(i));
            });
    };
    onChoice(optPhase, &ControlPanel::optPhase_Click);
    onChoice(optTDRMode, &ControlPanel::optTDRMode_Click);
    onChoice(optReference, &ControlPanel::optReference_Click);
    onChoice(optRange, &ControlPanel::optRange_Click);
    onChoice(optFSD, &ControlPanel::optFSD_Click);

    connect(sldGain, &QSlider::valueChanged, this, [panel] { panel->sldGain_Change(); });
    connect(sldBalance, &QSlider::valueChanged, this, [panel] { panel->sldBalance_Change(); });
    connect(sldPulse, &QSlider::valueChanged, this, [panel] { panel->sldPulse_Change(); });
    connect(sldPulse, &QSlider::sliderReleased, this, [panel] { panel->sldPulse_Released(); });
    const std::pair<EventLabel*, void (ControlPanel::*)()> labels[] = {
        {lblTDRGain, &ControlPanel::lblTDRGain_Change},
        {lblBalance, &ControlPanel::lblBalance_Change},
        {lblPulse, &ControlPanel::lblPulse_Change},
    };
    for (const auto& [label, handler] : labels) {
        connect(label, &EventLabel::Change, this, [panel, handler = handler] { (panel->*handler)(); });
        connect(label, &EventLabel::Click, this, [panel, handler = handler] { (panel->*handler)(); });
    }

    connect(cmdArm, &PressButton::MouseDown, this, [panel](Qt::MouseButton button) { panel->cmdArm_MouseDown(button); });
    connect(cmdSetID, &QPushButton::clicked, this, [this] { settingCommands->cmdSetID_Click(); });
    connect(cmdTest, &QPushButton::clicked, this, [this] { tdrTests->cmdTest_Click(); });
    connect(cmdTrigger, &QPushButton::clicked, this, [this] { eventDownload->cmdTrigger_Click(); });
}

} // namespace mr3x
