#pragma once
// The event viewer's slots. The lists and the drawing come with the event viewer; what other
// subsystems call already exists here.
namespace mr3x {

class frmMaster;

class EventViewer {
public:
    explicit EventViewer(frmMaster& window) : w(window) {}

    /// Sets the slot's parameter labels to their empty marks.
    void RESET_PARAMETER_DISPLAY(int i);
    /// Rebuilds the slot's event list from its file list.
    void FILL_EVENT_LIST(int i);
    void filTrig_PathChange(int i);

private:
    frmMaster& w;
};

} // namespace mr3x
