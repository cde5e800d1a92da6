#include "ui/frmDummy.h"

#include "app/StartUp.h"
#include "common/Files.h"
#include "ui/controls/ListFill.h"
#include "ui/frmMaster.h"

#include <QCoreApplication>
#include <QVBoxLayout>

namespace mr3x {

QString versionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(MR3X_VERSION_MAJOR).arg(MR3X_VERSION_MINOR).arg(MR3X_VERSION_PATCH);
}

QString productName()
{
    return QStringLiteral("M-R3X Master");
}

QString companyName()
{
    return QStringLiteral("M-R3X field recorder master station");
}

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/org.mr3x.Master-%1.png").arg(size), QSize(size, size));
    return icon;
}

frmDummy::frmDummy(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen)
{
    setObjectName(QStringLiteral("frmDummy"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    lblProductName = named(new QLabel(this), QStringLiteral("lblProductName"));
    lblProductName->setStyleSheet(QStringLiteral("QLabel { font-size: 20pt; font-weight: bold; }"));
    lblVersion = named(new QLabel(this), QStringLiteral("lblVersion"));
    lblCompany = named(new QLabel(this), QStringLiteral("lblCompany"));
    lblProgress = named(new QLabel(this), QStringLiteral("lblProgress"));
    lblSystemFolder = named(new QLabel(this), QStringLiteral("lblSystemFolder"));
    for (QLabel* label : {lblProductName, lblVersion, lblCompany, lblProgress, lblSystemFolder})
        layout->addWidget(label);
    setMinimumWidth(420);
}

bool frmDummy::Form_Load(frmMaster& master)
{
    show();
    lblVersion->setText(versionText());
    lblProductName->setText(productName());
    lblCompany->setText(companyName());
    lblProgress->setText(QStringLiteral("Checking commports:"));
    const QString appFolder = StartUp::appFolderFor(master.environment);
    lblSystemFolder->setText(QStringLiteral("System Path = ") + nativePath(appFolder));
    QCoreApplication::processEvents();

    // The first use of the main window loads it: its load and INITIALISATION run to their end.
    master.Form_Load();
    if (master.lifetime.ended()) {
        close();
        return false;
    }
    // The port list holds the devices present, with no port chosen yet.
    QStringList ports;
    for (const QString& device : master.Comm->DeviceList())
        if (isListedDevice(device))
            ports << device;
    fillComboBox(master.cboCommports, ports, -1);
    master.Comm->setPortOpen(false);

    lblProgress->setText(QStringLiteral("Comm port check complete"));
    lblProgress->repaint();
    master.show();
    close();
    return true;
}

bool isListedDevice(const QString& device)
{
#ifdef Q_OS_WIN
    return device.contains(QStringLiteral("COM"));
#else
    // POSIX ports have no COM names: every serial device is listed by its path.
    Q_UNUSED(device);
    return true;
#endif
}

} // namespace mr3x
