#pragma once
// Starting outside programs (file manager, text editor, calculator) goes through this interface:
// the program starts them directly (never through a shell) and does not wait for them.
#include <QString>
#include <QStringList>

#include <optional>

namespace mr3x {

struct CommandLine {
    QString program;
    QStringList arguments;

    bool operator==(const CommandLine&) const = default;
};

class Launcher {
public:
    virtual ~Launcher() = default;
    /// Starts the program without waiting for it; false when it could not be started.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
    /// Whether a program of that name can be started (found on the search path, or a path to a
    /// program file).
    virtual bool isInstalled(const QString& program) = 0;
    /// The command line of the desktop's own application for files of the MIME type, opening
    /// `file`; nothing when the desktop names none, or one that needs a terminal.
    virtual std::optional<CommandLine> desktopHandler(const QString& mimeType, const QString& file) = 0;
};

} // namespace mr3x
