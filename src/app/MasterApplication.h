#pragma once
// The program's application object. Qt delivers every event (input, timers, the link's data)
// through notify(), so this is where each of the window's handlers is entered from Qt.
//
// A routine that waits on the unit lets window events run; when the program ends in one of them
// (Exit, a fatal message), the wait throws ProgramEnded so that its routine runs no further. The
// exception must never pass through Qt's own code: it stops here, at the handler Qt entered, and
// the event loop, already told to end, returns to main.
#include <QApplication>

namespace mr3x {

class MasterApplication final : public QApplication {
public:
    MasterApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace mr3x
