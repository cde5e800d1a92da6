#pragma once
// Starting outside programs with QProcess, without a shell and without waiting for them. The
// desktop's own application for a kind of file is the one xdg-mime names, read from its desktop
// entry.
#include "common/Launcher.h"

namespace mr3x {

class QtLauncher final : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override;
    bool isInstalled(const QString& program) override;
    std::optional<CommandLine> desktopHandler(const QString& mimeType, const QString& file) override;
};

} // namespace mr3x
