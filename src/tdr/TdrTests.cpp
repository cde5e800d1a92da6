#include "tdr/TdrTests.h"

#include "ui/frmMaster.h"

namespace mr3x {

void TdrTests::cmdTest_Click() {}

void TdrTests::CLEAR_MANUAL_TESTS()
{
    for (int i = 2; i <= 4; ++i) {
        w.chkTrace[i]->setChecked(false);
        w.cboTest[i]->clear();
        w.lblTest[i]->setStyleSheet(QStringLiteral("background-color: white;"));
        w.lblTest[i]->clear();
    }
}

void TdrTests::filTDR_PathChange() {}
void TdrTests::filTST_PathChange() {}

void TdrViewer::setTdrModeStartState()
{
    w.picTDR->Scale(1, 256, 512, -1);
    w.scrPan->setMinimum(1);
    w.scrPan->setMaximum(1);
    w.scrPan->setValue(1);
    w.chkInterlace->setChecked(false);
    w.fraTransientViewer->setTitle(QStringLiteral("TDR Viewer"));
}

} // namespace mr3x
