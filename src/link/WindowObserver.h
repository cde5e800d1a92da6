#pragma once
// The window's observer of the unit session: every status text goes to the status line, every
// message and question to a message box, exactly as the window's own routines always showed them;
// a file stored refreshes what lists it.
#include "unit/UnitObserver.h"

namespace mr3x {

class frmMaster;

class WindowObserver final : public UnitObserver {
public:
    explicit WindowObserver(frmMaster& window) : w(window) {}

    void status(const QString& text) override;
    MsgAnswer ask(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title = QString()) override;
    void stored(const StoredFile& file) override;
    void settle() override;
    void transferAborted() override;

private:
    frmMaster& w;
};

} // namespace mr3x
