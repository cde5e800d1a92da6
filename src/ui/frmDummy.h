#pragma once
// The start-up window: shows the product and version, loads the main window, lists the serial
// ports, then shows the main window and closes itself.
#include <QDialog>
#include <QIcon>
#include <QLabel>

namespace mr3x {

class frmMaster;

class frmDummy : public QDialog {
    Q_OBJECT
public:
    explicit frmDummy(QWidget* parent = nullptr);

    /// Runs the start-up order; false when the program ended during it (a fatal failure).
    bool Form_Load(frmMaster& master);

    QLabel* lblVersion = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblCompany = nullptr;
    QLabel* lblProgress = nullptr;
    QLabel* lblSystemFolder = nullptr;
};

/// "Version " + major + "." + minor + "." + revision of the program's version number.
QString versionText();
QString productName();
QString companyName();
/// The program's icon in every size it is drawn in.
QIcon programIcon();
/// Whether the start-up lists a device in the port list: names with "COM" on Windows, every
/// serial device on POSIX.
bool isListedDevice(const QString& device);

} // namespace mr3x
