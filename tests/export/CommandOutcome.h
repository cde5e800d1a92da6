#pragma once
// What the command-line tools' tests share: a tool run in-process, its exit code and what it
// wrote on each stream.
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

} // namespace mr3x::test
