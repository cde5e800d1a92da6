#pragma once
// Starting outside programs with QProcess, without waiting for them.
#include "common/Launcher.h"

namespace mr3x {

class QtLauncher final : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override;
};

} // namespace mr3x
