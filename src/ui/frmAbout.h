#pragma once
// The About box: the product title, the version of the build and our disclaimer. Shown modeless
// by the "About" menu; "OK" closes and unloads it.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace mr3x {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    /// Shows the window's About box, made on first use and brought to the front after that.
    static frmAbout& showFor(QWidget* window);

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
};

/// The disclaimer lines, joined by CR LF.
QString disclaimerText();

} // namespace mr3x
