#include "support/LinkFixture.h"

#include "link/ConnectionLifecycle.h"
#include "link/SerialPortTransport.h"
#include "systems/Systems.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace mr3x::test {

RecordingTransport::RecordingTransport(std::unique_ptr<Transport> inner, const Clock& clock, QByteArray& sent,
                                       QByteArray& received, Writes& writes)
    : inner_(std::move(inner))
    , clock_(clock)
    , sent_(sent)
    , received_(received)
    , writes_(writes)
{
    connect(inner_.get(), &Transport::readyRead, this, &Transport::readyRead);
    connect(inner_.get(), &Transport::lost, this, &Transport::lost);
}

bool RecordingTransport::write(const QByteArray& bytes)
{
    sent_ += bytes;
    writes_.emplace_back(clock_.nowMs(), bytes);
    return inner_->write(bytes);
}

QByteArray RecordingTransport::readAll()
{
    const QByteArray bytes = inner_->readAll();
    received_ += bytes;
    return bytes;
}

sim::SimOptions LinkFixture::defaultOptions()
{
    sim::SimOptions options;
    options.armed = false;
    options.paced = false;
    options.events = 12;
    return options;
}

sim::SimOptions LinkFixture::silentOn(std::initializer_list<char> letters)
{
    sim::SimOptions options = defaultOptions();
    for (char letter : letters)
        options.faults.silent.push_back({letter, 0});
    return options;
}

LinkFixture::LinkFixture(sim::SimOptions options)
    : unit_(std::make_shared<sim::SimUnit>(options))
{
    portName_ = sim::simulatedPortName(QString::fromLatin1(sim::modelInfo(options.model).name));
    makeSubstation(appFolder, QString::fromLatin1(sim::modelInfo(options.model).name));
    TransportOpener inner = sim::openerWithSimulatedUnit(clock, unit_, [](const QString& name) { return openSerialPort(name); });
    openPort = [this, inner](const QString& name) -> std::unique_ptr<Transport> {
        return std::make_unique<RecordingTransport>(inner(name), clock, sent, received, writes);
    };
    extraDevices << portName_;
}

frmMaster& LinkFixture::start()
{
    frmMaster& w = window();
    QObject::connect(w.lblStatus, &EventLabel::Change, w.lblStatus, [this, &w] { statusHistory << w.lblStatus->text(); });
    load();
    w.cboCommports->addItem(portName_);
    return w;
}

void LinkFixture::choosePort()
{
    frmMaster& w = window();
    w.cboCommports->setCurrentIndex(w.cboCommports->findText(portName_));
    w.optBaud[1]->setChecked(true);
    w.connection->cboCommports_Click();
}

frmMaster& LinkFixture::open()
{
    start();
    choosePort();
    clearWire();
    statusHistory.clear();
    return window();
}

void LinkFixture::logOn()
{
    choosePort();
    window().connection->cmdConnect_Click();
}

QString LinkFixture::unitFolder() const
{
    return substationUnitFolder(appFolder);
}

QString LinkFixture::addSecondUnit()
{
    const QString folder = QFileInfo(unitFolder()).path() + QStringLiteral("/MR-0102");
    QDir().mkpath(folder);
    window().DirUnits[0]->Refresh();
    window().systems->DirUnits_Change(0);
    return folder;
}

QMetaObject::Connection LinkFixture::whenStatus(const QString& text, std::function<void()> action)
{
    EventLabel* status = window().lblStatus;
    return QObject::connect(status, &EventLabel::Change, status, [status, text, action] {
        if (status->text() == text)
            QTimer::singleShot(0, status, action);
    });
}

} // namespace mr3x::test
