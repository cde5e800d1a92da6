#pragma once
// The event lists of the two slots: each lists the stored events of its chain's unit folder
// under its file-type filter, loads the line chosen, deletes a file on request, and switches
// the markers and meters with the slot's tabs. Slot 0 leads: its filter is copied to slot 1, and
// with the same unit in both chains its choice is made in slot 1 too.
#include <QDateTime>
#include <QSet>
#include <QString>

#include <Qt>

class QListWidgetItem;

namespace mr3x {

class frmMaster;

class EventLists {
public:
    explicit EventLists(frmMaster& window) : w(window) {}

    /// Rebuilds lstTrig(i) from filTrig(i) under the slot's filter; each line's item data is its
    /// file's index in filTrig(i).
    void FILL_EVENT_LIST(int i);
    void optAll_Click(int i);
    void optVlt_Click(int i);
    void optTrg_Click(int i);
    void filTrig_PathChange(int i);
    /// Loads the chosen line's event into slot i (and into slot 1 too when both chains show the
    /// same unit), zooms, and puts the measuring point and markers at their start.
    void lstTrig_Click(int i);
    /// The right button deletes the chosen line's file, after two questions.
    void lstTrig_MouseDown(int i, Qt::MouseButton button);
    void tbsEvents_Click(int i);
    void ENTER_METERING(int i);
    void LEAVE_METERING(int i);

    /// The file a list line stands for (through its item data); empty when none.
    QString fileOfLine(int i, int row) const;
    /// Whether the line stands for an event the collector stored that nobody has opened yet (it
    /// shows highlighted).
    static bool isMarkedNew(const QListWidgetItem* item);

private:
    void fillWithFilter(int i);
    /// Steps shared by a click and by slot 0 choosing for slot 1: the file of the chosen line
    /// into the slot.
    void loadChosenLine(int i);
    /// The files of `folder` the collector stored, not opened yet.
    QStringList newFromCollector(const QString& folder);
    void markNew(QListWidgetItem* item);
    void markLookedAt(int i);

    frmMaster& w;
    QSet<QString> lookedAt_; // new events opened in this run whose note could not be written
};

} // namespace mr3x
