#pragma once
// The real window on a system of two M-R32 units of one job: "MR-0101" at "North Yard" (the
// master chain) and "MR-0102" at "South Yard", with event files written byte by byte into their
// folders, and what the viewers drew read back from their display lists.
#include "events/EventLists.h"
#include "events/EventViewer.h"
#include "events/WaveformDisplay.h"
#include "support/MasterFixture.h"
#include "support/PlotReading.h"

#include <QDir>

#include <cstdint>

namespace mr3x::test {

/// An event file: a healthy M-R32 (version 2) TDR-mode long record with the voltages at their
/// zero level and the current at its own, unless told otherwise.
class EventFile {
public:
    explicit EventFile(bool longForm = true) : longForm_(longForm), bytes_(longForm ? 11520 : 3328, '\0')
    {
        for (int offset = 0; offset < 6; ++offset)
            head(offset, (26 - offset * 3) % 60);
        head(6, 4);          // triggered by the current
        head(7, 7);          // "1000A"
        for (int c = 0; c < 3; ++c)
            channel(c, 129);
        channel(3, 124);
        trailer(7, 10);      // gain
        trailer(10, 3);      // TDR
        trailer(18, 210);    // M-R32, version 2
    }
    EventFile& head(int offset, int value) { return set(offset, value); }
    EventFile& trailer(int offset, int value) { return set(trailerAt() + offset, value); }
    EventFile& sample(int group, int channel, int value) { return set(8 + 4 * group + channel, value); }
    EventFile& channel(int c, int value)
    {
        for (int g = 0; g < 800; ++g)
            sample(g, c, value);
        return *this;
    }
    /// Sample n (counted from 1) of the trace area.
    EventFile& trace(int n, int value) { return set(3208 + n - 1, value); }
    EventFile& injection(int value) { return trailer(12, value >> 8).trailer(13, value & 0xFF); }
    EventFile& text(int offset, const QByteArray& text)
    {
        for (int k = 0; k < text.size(); ++k)
            trailer(offset + k, static_cast<unsigned char>(text[k]));
        return *this;
    }
    const QByteArray& bytes() const { return bytes_; }

private:
    int trailerAt() const { return longForm_ ? 11400 : 3208; }
    EventFile& set(int offset, int value)
    {
        bytes_[offset] = static_cast<char>(value);
        return *this;
    }

    bool longForm_;
    QByteArray bytes_;
};

/// The event the exporter and the window's exports start from: a long one of 6 December 2026,
/// 12:00:00, whose trace area climbs sample by sample.
inline EventFile datedEventFile()
{
    EventFile event;
    const int when[6] = {26, 12, 6, 12, 0, 0};
    for (int k = 0; k < 6; ++k)
        event.head(k, when[k]);
    for (int n = 1; n <= 8192; ++n)
        event.trace(n, n % 256);
    return event;
}

class ViewerFixture : public MasterFixture {
public:
    ViewerFixture()
    {
        root.writeLines("Substation.cfg", {"MR-0101,Not set,M-R32,Feeder 7 Fault,North Yard,SIM 4401",
                                           "MR-0102,Not set,M-R32,Feeder 7 Fault,South Yard,SIM 4402"});
        root.writeLines("M-R3X Master.ini", {"System Folder = " + appFolder + "/Systems", "Last system = Substation"});
        root.mkdirs("Systems/Substation/Jobs");
    }

    /// The unit folder of "MR-0101" or "MR-0102", within the program folder.
    static QString unitPath(const QString& unit = "MR-0101")
    {
        return "Systems/Substation/Jobs/Feeder 7 Fault/" + QString(unit == "MR-0101" ? "North Yard/" : "South Yard/") + unit;
    }
    QString unitFolder(const QString& unit = "MR-0101") const { return root(unitPath(unit)); }
    /// Writes a file into a unit folder (made when missing); returns its path.
    QString writeFile(const QString& name, const QByteArray& bytes, const QString& unit = "MR-0101") const
    {
        return root.write(unitPath(unit) + '/' + name, bytes);
    }
    QString writeEvent(const QString& name, const EventFile& event, const QString& unit = "MR-0101") const
    {
        return writeFile(name, event.bytes(), unit);
    }

    /// Loads the window on the system, with the master chain on MR-0101; the files written so
    /// far are listed.
    frmMaster& open()
    {
        frmMaster& w = load();
        relist(0);
        relist(1);
        return w;
    }
    /// Puts the slave chain on MR-0102 ("South Yard").
    void chooseSlaveUnit()
    {
        frmMaster& w = window();
        w.cboLocations[1]->setCurrentIndex(w.cboLocations[1]->findText(QStringLiteral("South Yard")));
    }
    /// Refreshes a slot's file list and list, as after files were written behind its back.
    void relist(int slot)
    {
        window().filTrig[slot]->Refresh();
        window().eventLists->FILL_EVENT_LIST(slot);
    }
    QStringList lines(int slot)
    {
        QStringList found;
        for (int row = 0; row < window().eventSlot[slot].lstTrig->count(); ++row)
            found << window().eventSlot[slot].lstTrig->item(row)->text();
        return found;
    }
    /// Chooses a line of a slot's list as the keyboard would (the handler runs on the change).
    void choose(int slot, int row) { window().eventSlot[slot].lstTrig->setCurrentRow(row); }
};

} // namespace mr3x::test
