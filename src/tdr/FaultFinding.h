#pragma once
// "Find" in the TDR viewer: the program reads the trace shown for the engineer and proposes where
// the moving cursor goes. In TDR mode it reads the test trace (or else the Master's, or else the
// Slave's event pulse), against the first reference ticked; it puts the moving cursor on the
// fault's leading edge as a click there would, so the Result frame reads as always, marks the
// edge and the far end on the plot, and says under the result what it found. In TRS mode it reads
// the Master's and the Slave's traces: unlocked, it puts the zero cursor on the Master's launch
// and the moving cursor on the Slave's arrival, ready for LOCK; locked, the moving cursor on the
// Master's echo; and it gives the fault's distance from each end and, with the cable's length
// (a field beside the result, kept for each unit pair in "Cable Lengths.txt" in the program
// folder), how well the two agree. Nothing moves a cursor but Find.
#include "tdr/FaultFinder.h"
#include "tdr/TrsPair.h"

#include <QString>

class QLabel;

#include <array>
#include <optional>

namespace mr3x {

class frmMaster;
class PlotOverlay;

class FaultFinding {
public:
    explicit FaultFinding(frmMaster& window) : w(window) {}

    void cmdFind_Click();
    /// The cable length typed for the unit pair shown: kept, or refused with a message.
    void txtCableLength_Change();
    /// After every drawing: the marks and the line stay only while the view shows what Find read
    /// (the Slave's mark moves with its shift), and the cable length field shows the pair's.
    void refreshMarks();

private:
    struct Subject {
        QString key;           // what was read: the view's mode, traces, pulses and reference
        bool trs = false;
        bool pair = false;     // TRS: the Master's and the Slave's events together
        int trace = -1;        // 0, 1 the events, 2 the test; -1 none
        int reference = -1;    // 3 or 4; -1 none
    };
    /// A mark's place on its trace; a Slave's is drawn shifted by the locator's offset.
    struct Mark {
        std::optional<long long> at;
        bool onSlave = false;
    };
    Subject currentSubject() const;
    void findOnTdr(const Subject& subject);
    void findOnTrs(const Subject& subject);
    void findTrsPair();
    std::optional<tdr::TraceReading> readingOf(int trace) const;
    /// Moves the cursors as the engineer's clicks would: the zero cursor to `zero` (when given),
    /// then the moving cursor to `moving`.
    void placeCursors(std::optional<long long> zero, long long moving);
    /// Sets the marks (edge, far end, Slave's echo) and draws them where their traces are drawn.
    void setMarks(Mark edge, Mark farEnd, Mark slaveEcho);
    void drawMarks();
    void say(const QString& text);
    long long drawnX(int trace, long long sample) const;
    QString identity(int trace) const;

    QString unitPair(QString* unit, QString* otherUnit) const;
    QString lengthsPath() const;
    std::optional<double> cableLength() const;
    void showPairLength();

    frmMaster& w;
    QString foundOn_;                        // the subject's key when Find last read it
    std::array<Mark, 3> marks_{};
    std::optional<tdr::TrsPairFinding> pair_; // the TRS pair Find last read
    QString pairShown_;                       // the unit pair whose cable length the field shows
};

} // namespace mr3x
