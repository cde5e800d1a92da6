#pragma once
// Shows one plot's panel enlarged, in the window's centre or in a window of its own, and puts it
// back where it was. The panel itself moves: its plot, cursors, markers and read-outs stay the
// same widgets with the same connections, so they work there exactly as in place. A stand-in
// keeps the panel's place (its stretch, its splitter share) until it comes back.
#include <QObject>
#include <QPointer>

class QLabel;
class QPushButton;
class QStackedWidget;
class QWidget;

namespace mr3x {

class PlotSurface;

class PlotEnlarger : public QObject {
    Q_OBJECT
public:
    /// `centre` is the window's central stack; its first page is the usual centre, and the
    /// enlarger adds the page that holds an enlarged panel.
    explicit PlotEnlarger(QStackedWidget* centre);

    /// A double click on `plot` and a click on `button` enlarge `panel` into the centre, or put it
    /// back when it is the one enlarged; the button's caption says which it does.
    void addPanel(QWidget* panel, PlotSurface* plot, QPushButton* button);

    /// Moves `panel` into the window's centre, putting back any other panel first.
    void enlarge(QWidget* panel);
    /// Moves the enlarged panel into a window of its own; closing that window puts it back.
    void toOwnWindow();
    /// Puts the enlarged panel back in its place (also Escape and the "Back" button).
    void restore();
    void toggle(QWidget* panel);

    QWidget* enlarged() const { return panel_; }
    bool inOwnWindow() const;
    /// The page of the centre or the window of its own that holds the enlarged panel.
    QWidget* host() const { return host_; }

signals:
    void moved(QWidget* panel, bool enlarged);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hostInCentre();

    QStackedWidget* centre_;
    QWidget* host_;
    QLabel* caption_;
    QPushButton* cmdOwnWindow_;
    QPointer<QWidget> panel_;
    QWidget* standIn_ = nullptr;
};

} // namespace mr3x
