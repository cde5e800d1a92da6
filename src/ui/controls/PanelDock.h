#pragma once
// A dock panel that comes to the front whenever it is shown: the right-hand panels share one
// place as tabs, and a panel the program or the user shows must be the one seen.
#include <QDockWidget>

namespace mr3x {

class PanelDock : public QDockWidget {
    Q_OBJECT
public:
    using QDockWidget::QDockWidget;

    void setVisible(bool visible) override
    {
        QDockWidget::setVisible(visible);
        if (visible)
            raise();
    }
};

} // namespace mr3x
