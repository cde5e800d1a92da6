#pragma once
// What the command-line tools' tests share: a tool run in-process or as a program of its own
// with no display, its exit code and what it wrote on each stream.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace mr3x::test {

struct Outcome {
    int code = -1;
    QString out, err;
    QStringList lines() const { return out.split('\n', Qt::SkipEmptyParts); }
};

/// Runs `command` (runExportCommand, runAnalyseCommand) on the arguments.
template <typename Command>
Outcome runCommand(Command command, const QStringList& arguments)
{
    Outcome o;
    QTextStream out(&o.out), err(&o.err);
    o.code = command(arguments, out, err);
    return o;
}

/// Runs `program` as a process of its own with no display to draw on, as on a server or in a
/// scheduled job. A program that does not end within a minute, or crashes, gives code -1.
inline Outcome runWithoutDisplay(const QString& program, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        environment.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Outcome o;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        o.code = process.exitCode();
    o.out = QString::fromUtf8(process.readAllStandardOutput());
    o.err = QString::fromUtf8(process.readAllStandardError());
    return o;
}

} // namespace mr3x::test
