#include "ui/frmAbout.h"

#include "ui/frmDummy.h"
#include "ui/frmMaster.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace mr3x {

QString disclaimerText()
{
    return QStringList{
        QStringLiteral("The master station for M-R3X field recorders on three-phase power cables."),
        QStringLiteral("This program is provided as is, without warranty of any kind."),
        QStringLiteral("Distances to a fault are estimates from the propagation speed you set:"),
        QStringLiteral("confirm them on site before any cable is cut or excavated."),
    }
        .join(QStringLiteral("\r\n"));
}

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose); // "OK" unloads the box
    setWindowTitle(QStringLiteral("About ") + productName());

    auto* layout = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(64, 64));
    head->addWidget(icon, 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    lblTitle = named(new QLabel(productName(), this), QStringLiteral("lblTitle"));
    lblTitle->setStyleSheet(QStringLiteral("QLabel { font-size: 18pt; font-weight: bold; }"));
    lblVersion = named(new QLabel(versionText(), this), QStringLiteral("lblVersion"));
    lblVersion->setTextInteractionFlags(Qt::TextSelectableByMouse);
    titles->addWidget(lblTitle);
    titles->addWidget(lblVersion);
    titles->addStretch(1);
    head->addLayout(titles, 1);
    layout->addLayout(head);

    // Plain text: the label breaks the disclaimer at each of its CR LF line ends.
    lblDisclaimer = named(new QLabel(this), QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setText(disclaimerText());
    lblDisclaimer->setTextFormat(Qt::PlainText);
    lblDisclaimer->setWordWrap(false);
    layout->addWidget(lblDisclaimer);

    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons);
}

frmAbout& frmAbout::showFor(QWidget* window)
{
    frmAbout* box = window->findChild<frmAbout*>(QStringLiteral("frmAbout"), Qt::FindDirectChildrenOnly);
    if (box == nullptr)
        box = new frmAbout(window);
    box->setModal(false);
    box->show();
    box->raise();
    box->activateWindow();
    return *box;
}

} // namespace mr3x
