#include "events/EventViewer.h"

#include "ui/frmMaster.h"

namespace mr3x {

void EventViewer::RESET_PARAMETER_DISPLAY(int i)
{
    w.lblPhase[i]->setText(QStringLiteral("-----"));
    for (QLabel* label : {w.lblGain[i], w.lblInternal[i], w.lblPulseWidth[i], w.lblVersion[i], w.lblThreshold[i]})
        label->setText(QStringLiteral("--"));
    for (QLabel* label : {w.lblFSD[i], w.lblOn_Off[i], w.lblPreTrigger[i], w.lblTDR_TRS[i]})
        label->setText(QStringLiteral("---"));
    for (QLabel* label : {w.lblTrigChannel[i], w.lblUnit[i], w.lblLong_Short[i], w.lblInjection[i]})
        label->setText(QStringLiteral("----"));
    w.lblDuration[i]->setText(QStringLiteral("-"));
    w.lblMeterFSD[i]->setText(w.lblFSD[i]->text());
}

void EventViewer::FILL_EVENT_LIST(int) {}

void EventViewer::filTrig_PathChange(int i)
{
    w.lblEventFile[i]->clear();
    if (i == 0) {
        w.filTST->setPath(w.filTrig[0]->Path());
        w.filTDR->setPath(w.filTrig[0]->Path());
    }
    FILL_EVENT_LIST(i);
}

} // namespace mr3x
