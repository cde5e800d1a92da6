#pragma once
// What the command-line tools let Qt say: its own notes (a missing runtime folder, a font
// fallback) are not the user's business; its errors are, under the tool's name.
#include <QtGlobal>

#include <cstdio>

namespace mr3x::tools {

inline const char*& toolName()
{
    static const char* name = "";
    return name;
}

inline void onlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s: %s\n", toolName(), qPrintable(message));
}

/// Installs the handler for the tool `name`; call before the application object is made.
inline void showOnlyQtErrors(const char* name)
{
    toolName() = name;
    qInstallMessageHandler(onlyQtErrors);
}

} // namespace mr3x::tools
