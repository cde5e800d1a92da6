#pragma once
// The program-wide values: held by the main window and handed to every subsystem.
#include "systems/UnitTable.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace mr3x {

struct Program {
    QString AppFolder;          // the program folder; every master file lies here
    QString CommPortSetting;    // "Comm port" key, kept only to be written back at exit
    QString ModemSetting;       // "Modem" key, kept only to be written back at exit
    QString JobsFolder;         // the open system's jobs folder, with a trailing separator
    QString LastSystem;
    QString LastJob;
    QString LastMaster;
    QString LastSlave;
    QString LastConnection;
    QString LastMode;           // "TDR", "TRS" or empty

    std::array<QString, 21> ParameterLabels;  // labels put before the unit's parameter values
    UnitTable Units;                          // the open system's unit table
    QStringList UnitParameters;               // the unit's parameter texts, from its settings file

    std::int16_t IdleTicks = 0;               // Watchdog ticks since the status line last changed

    // Viewer state shared by the event and TDR viewers.
    std::array<int, 2> CurrentPulse{0, 0};
    int PulseCount = 64;
    int ViewWidth = 8192;
    int SlaveOffset = 0;
    bool TracesLocked = false;

    QStringList ClockFields;  // year - 2000, month, day, hour, minute, second, as sent by SET_TIME
    QString WorkingName;      // the file being fetched or converted
};

} // namespace mr3x
