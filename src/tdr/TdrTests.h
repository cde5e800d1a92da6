#pragma once
// TDR tests and the manual-test slots: "TEST" sends the settings and receives one trace file
// into the unit folder under a name built from the PC clock; older ".tst"/".ref" traces are
// copied to ".TDR" names; the three slots (2 the test, 3 and 4 the references) list the folder's
// tests newest first, and describe and colour the one chosen.
#include "tdr/TraceRecord.h"

#include <QString>

#include <array>

namespace mr3x {

class frmMaster;

class TdrTests {
public:
    explicit TdrTests(frmMaster& window) : w(window) {}

    /// "TEST": the setting batch for the unit's model, then one trace received and shown.
    void cmdTest_Click();
    void RUN_TDR_TEST();
    /// Refills the three test lists from filTDR and loads the three newest tests.
    void filTDR_PathChange();
    /// Copies the folder's legacy traces to ".TDR" names (an existing trace is never replaced).
    void filTST_PathChange();
    void cboTest_Click(int index);
    void DESCRIBE_TEST(int index, const QString& path);
    void DESCRIBE_TDR_RECORD(int index);
    void DESCRIBE_TRS_RECORD(int index);
    void CLEAR_MANUAL_TESTS();
    void chkTrace_Click(int index);

    /// The name a test started now gets (without ".TDR"), from the control panel's choices.
    QString newTestName() const;

    /// Slot s's records (s = 2, 3, 4); `holdsTrace` tells whether the last file chosen for the
    /// slot was read whole, and of which kind.
    const tdr::TdrTrace& tdrTrace(int slot) const { return tdr_[slot - 2]; }
    const tdr::TrsTrace& trsTrace(int slot) const { return trs_[slot - 2]; }
    bool holdsTrace(int slot) const { return holds_[slot - 2]; }

private:
    void describeUnreadable(int index, const QString& path);

    frmMaster& w;
    std::array<tdr::TdrTrace, 3> tdr_{};
    std::array<tdr::TrsTrace, 3> trs_{};
    std::array<bool, 3> holds_{};
};

} // namespace mr3x
