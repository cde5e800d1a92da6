#include "systems/UnitAddresses.h"

#include "common/Files.h"
#include "link/ConnectionLifecycle.h"
#include "systems/UnitAddressFile.h"
#include "ui/frmMaster.h"

namespace mr3x {

void UnitAddresses::LOAD_UNIT_ADDRESSES()
{
    const QString folder = w.program.AppFolder;
    if (!writeUnitAddressFileIfMissing(folder))
        w.dialogs.message(QStringLiteral("The unit addresses could not be written to %1; no unit has an address")
                              .arg(nativePath(unitAddressFilePath(folder))),
                          MsgButtons::Ok, MsgIcon::Exclamation);
    const UnitAddressReading reading = readUnitAddresses(folder);
    table_ = reading.table;
    if (reading.problems.isEmpty())
        return;
    if (reading.table.broken.empty()) {
        w.dialogs.message(reading.problems.join(QStringLiteral("\r\n")), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    w.dialogs.message(QStringLiteral("%1 has lines that give no unit address; they are left in the file as they are:\r\n%2")
                          .arg(nativePath(unitAddressFilePath(folder)), reading.problems.join(QStringLiteral("\r\n"))),
                      MsgButtons::Ok, MsgIcon::Exclamation);
}

void UnitAddresses::chooseAddressOf(const QString& unit)
{
    const UnitAddress* address = table_.forUnit(unit.toStdString());
    if (address == nullptr || linkInUse())
        return;
    w.optBaud[address->baud == 115200 ? 1 : 0]->setChecked(true);
    selectPort(QString::fromStdString(address->port));
    w.connection->cboCommports_Click();
}

std::optional<int> UnitAddresses::linkAllowanceForPort(const QString& portName) const
{
    const std::string port = portName.toStdString();
    const UnitAddress* master = table_.forUnit(w.cboUnits[0]->currentText().toStdString());
    const UnitAddress* address = master != nullptr && samePort(master->port, port) ? master : table_.forPort(port);
    return address != nullptr ? address->linkAllowanceMs : std::nullopt;
}

bool UnitAddresses::linkInUse() const
{
    const SerialControl& comm = *w.Comm;
    if (comm.TransferState() == 4)
        return true;
    // Moving a logged-on link would leave its unit disarmed without the arming question: the
    // user logs off first. Choosing another unit resets the button's caption, so the unit
    // operations being enabled counts as logged on too.
    const bool loggedOn = w.cmdConnect->text() == QStringLiteral("Disconnect from Local Unit") || w.cmdArm->isEnabled();
    return loggedOn && comm.PortStatus() == portstatus::Connected;
}

void UnitAddresses::selectPort(const QString& port)
{
    // Added as a typed port name is: at the end of the list.
    int index = -1;
    for (int i = 0; i < w.cboCommports->count() && index < 0; ++i)
        if (samePort(w.cboCommports->itemText(i).toStdString(), port.toStdString()))
            index = i;
    if (index < 0) {
        w.cboCommports->addItem(port);
        index = w.cboCommports->count() - 1;
    }
    w.cboCommports->setCurrentIndex(index);
}

} // namespace mr3x
