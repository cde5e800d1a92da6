#include "ui/controls/PlotEnlarger.h"

#include "ui/controls/PlotSurface.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace mr3x {

namespace {

const QString kEnlarge = QStringLiteral("Enlarge");
const QString kBack = QStringLiteral("Back");

/// Puts `in` where `out` is: the same splitter share or the same place and stretch in a layout.
void takePlace(QWidget* out, QWidget* in)
{
    if (auto* splitter = qobject_cast<QSplitter*>(out->parentWidget())) {
        splitter->replaceWidget(splitter->indexOf(out), in);
        return;
    }
    delete out->parentWidget()->layout()->replaceWidget(out, in);
    in->show();
}

QString captionOf(const QWidget* panel)
{
    const auto* box = qobject_cast<const QGroupBox*>(panel);
    return box != nullptr ? box->title() : panel->accessibleName();
}

} // namespace

PlotEnlarger::PlotEnlarger(QStackedWidget* centre)
    : QObject(centre)
    , centre_(centre)
    , host_(new QWidget)
{
    host_->setObjectName(QStringLiteral("fraEnlarged"));
    auto* layout = new QVBoxLayout(host_);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* bar = new QHBoxLayout;
    caption_ = new QLabel(host_);
    bar->addWidget(caption_, 1);
    cmdOwnWindow_ = new QPushButton(QStringLiteral("Own Window"), host_);
    cmdOwnWindow_->setObjectName(QStringLiteral("cmdOwnWindow"));
    cmdOwnWindow_->setToolTip(QStringLiteral("Show it in a window of its own (on a second screen, say)"));
    auto* back = new QPushButton(kBack, host_);
    back->setObjectName(QStringLiteral("cmdEnlargedBack"));
    back->setToolTip(QStringLiteral("Put it back in its place (Escape)"));
    bar->addWidget(cmdOwnWindow_);
    bar->addWidget(back);
    layout->addLayout(bar);
    centre_->addWidget(host_);

    connect(cmdOwnWindow_, &QPushButton::clicked, this, &PlotEnlarger::toOwnWindow);
    connect(back, &QPushButton::clicked, this, &PlotEnlarger::restore);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), host_);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &PlotEnlarger::restore);
    host_->installEventFilter(this);
}

void PlotEnlarger::addPanel(QWidget* panel, PlotSurface* plot, QPushButton* button)
{
    button->setText(kEnlarge);
    connect(button, &QPushButton::clicked, this, [this, panel] { toggle(panel); });
    connect(plot, &PlotSurface::DoubleClick, this, [this, panel] { toggle(panel); });
    connect(this, &PlotEnlarger::moved, button, [panel, button](QWidget* which, bool enlarged) {
        if (which == panel)
            button->setText(enlarged ? kBack : kEnlarge);
    });
}

void PlotEnlarger::enlarge(QWidget* panel)
{
    if (panel_ == panel)
        return;
    restore();
    standIn_ = new QLabel(QStringLiteral("Shown in its own window"));
    standIn_->setObjectName(QStringLiteral("lblEnlargedStandIn"));
    qobject_cast<QLabel*>(standIn_)->setAlignment(Qt::AlignCenter);
    takePlace(panel, standIn_);
    host_->layout()->addWidget(panel);
    panel->show();
    panel_ = panel;
    caption_->setText(QStringLiteral("%1, enlarged: Escape or Back puts it in its place").arg(captionOf(panel)));
    centre_->setCurrentWidget(host_);
    emit moved(panel, true);
}

void PlotEnlarger::toOwnWindow()
{
    if (panel_ == nullptr || inOwnWindow())
        return;
    const QSize size = host_->size();
    centre_->removeWidget(host_);
    centre_->setCurrentIndex(0);
    host_->setParent(centre_->window(), Qt::Window);
    host_->setWindowTitle(QStringLiteral("%1 - M-R3X Master").arg(captionOf(panel_)));
    cmdOwnWindow_->hide();
    host_->resize(size);
    host_->show();
}

void PlotEnlarger::restore()
{
    if (panel_ == nullptr)
        return;
    QWidget* panel = panel_;
    panel_ = nullptr;
    hostInCentre();
    host_->layout()->removeWidget(panel);
    takePlace(standIn_, panel);
    standIn_->hide();
    standIn_->deleteLater();
    standIn_ = nullptr;
    centre_->setCurrentIndex(0);
    emit moved(panel, false);
}

void PlotEnlarger::toggle(QWidget* panel)
{
    if (panel_ == panel)
        restore();
    else
        enlarge(panel);
}

bool PlotEnlarger::inOwnWindow() const
{
    return host_->isWindow();
}

void PlotEnlarger::hostInCentre()
{
    if (!inOwnWindow())
        return;
    host_->hide();
    centre_->addWidget(host_);
    cmdOwnWindow_->show();
}

bool PlotEnlarger::eventFilter(QObject* watched, QEvent* event)
{
    // Closing the window of its own puts the panel back rather than closing it with the window.
    if (watched == host_ && event->type() == QEvent::Close && inOwnWindow()) {
        event->ignore();
        restore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace mr3x
