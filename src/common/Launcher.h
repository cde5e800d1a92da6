#pragma once
// Starting outside programs (file manager, text editor, calculator) goes through this interface.
#include <QString>
#include <QStringList>

namespace mr3x {

class Launcher {
public:
    virtual ~Launcher() = default;
    /// Starts the program without waiting for it; false when it could not be started.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
};

} // namespace mr3x
