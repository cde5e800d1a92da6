// The small panels of the diagnostic tools: the unit settings view, the display settings, the
// misc options and the memo.
#include "unitsettings/UnitSettings.h"
#include "ui/frmMaster.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace mr3x {

void frmMaster::buildToolPanels()
{
    auto* settings = new QWidget;
    auto* settingsLayout = new QVBoxLayout(settings);
    settingsLayout->setContentsMargins(4, 4, 4, 4);
    lstUnitSettings = named(new QListWidget(settings), QStringLiteral("lstUnitSettings"));
    lstUnitSettings->setToolTip(QStringLiteral("The settings the unit reported at the last download"));
    lblPar11 = named(new QLabel(settings), QStringLiteral("lblPar11"));
    lblPar11->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(new QLabel(QStringLiteral("Variant:"), settings));
    versionRow->addWidget(lblPar11, 1);
    settingsLayout->addWidget(lstUnitSettings, 1);
    settingsLayout->addLayout(versionRow);
    fraSettingsViewer = makePanel(this, QStringLiteral("fraSettingsViewer"), QStringLiteral("Unit settings"), settings,
                                  &lblHide_Settings, QStringLiteral("lblHide_Settings"));
    addDockWidget(Qt::RightDockWidgetArea, fraSettingsViewer);
    fraSettingsViewer->hide();

    auto* display = new QWidget;
    auto* displayLayout = new QVBoxLayout(display);
    static const char* const modes[3] = {"TDR mode", "TRS mode", "VGS"};
    for (int i = 0; i < 3; ++i) {
        optDisplayMode[i] = named(new QRadioButton(QString::fromLatin1(modes[i]), display), QStringLiteral("optDisplayMode"), i);
        displayLayout->addWidget(optDisplayMode[i]);
    }
    chkInterlace = named(new QCheckBox(QStringLiteral("Interlace"), display), QStringLiteral("chkInterlace"));
    displayLayout->addWidget(chkInterlace);
    displayLayout->addStretch(1);
    fraDisplaySettings = makePanel(this, QStringLiteral("fraDisplaySettings"), QStringLiteral("Display settings"), display,
                                   &lblHide_Display_Settings, QStringLiteral("lblHide_Display_Settings"));
    addDockWidget(Qt::RightDockWidgetArea, fraDisplaySettings);
    fraDisplaySettings->hide();

    auto* misc = new QWidget;
    auto* miscLayout = new QVBoxLayout(misc);
    chkFileTransfer = named(new QCheckBox(QStringLiteral("F/T"), misc), QStringLiteral("chkFileTransfer"));
    chkFileTransfer->setToolTip(QStringLiteral("File transfer: the unit sends a trace after a test"));
    chkGPRS = named(new QCheckBox(QStringLiteral("GPRS"), misc), QStringLiteral("chkGPRS"));
    miscLayout->addWidget(chkFileTransfer);
    miscLayout->addWidget(chkGPRS);
    miscLayout->addStretch(1);
    fraMisc = makePanel(this, QStringLiteral("fraMisc"), QStringLiteral("Misc"), misc, nullptr, QString());
    addDockWidget(Qt::RightDockWidgetArea, fraMisc);
    fraMisc->hide();

    auto* memo = new QWidget;
    auto* memoLayout = new QVBoxLayout(memo);
    txtMemo = named(new QPlainTextEdit(memo), QStringLiteral("txtMemo"));
    memoLayout->addWidget(txtMemo);
    fraMemo = makePanel(this, QStringLiteral("fraMemo"), QStringLiteral("MEMO"), memo, &lblHideMemo, QStringLiteral("lblHideMemo"));
    addDockWidget(Qt::RightDockWidgetArea, fraMemo);
    fraMemo->hide();
}

void frmMaster::wireToolPanels()
{
    connect(lblHide_Settings, &EventLabel::Click, this, [this] { unitSettings->lblHide_Settings_Click(); });
    connect(lblHide_Display_Settings, &EventLabel::Click, this, [this] { fraDisplaySettings->hide(); });
    connect(lblHideMemo, &EventLabel::Click, this, [this] { fraMemo->hide(); });
}

} // namespace mr3x
