#pragma once
// What the two long runs share (the link under faults, tests/soak; the kills during saves,
// tests/crashsafety): their command line, the shape of their report, quiet logging while they
// run, and the file and index steps both take.
#include "retrieval/EventIndex.h"
#include "retrieval/ReceivedFileRules.h"
#include "ui/frmMaster.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <span>
#include <vector>

namespace mr3x::test {

struct LongRunOutcome {
    QString report;
    bool held = false; // every rule held
};

/// The main of `usage` ("program [count] [seed]"): on the offscreen platform unless another is
/// set, runs `run(count, seed)` and prints `title`, the seed, the time taken and the report.
/// Exits 0 when every rule held, 1 when one broke, 2 on a count that is not a positive number.
inline int longRunMain(int argc, char* argv[], const char* title, const char* usage, int count,
                       const std::function<LongRunOutcome(int count, std::uint64_t seed)>& run)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    count = argc > 1 ? std::atoi(argv[1]) : count;
    const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    if (count <= 0) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return 2;
    }
    QElapsedTimer elapsed;
    elapsed.start();
    const LongRunOutcome outcome = run(count, seed);
    std::printf("%s, seed %llu, %.0f s on this PC\n%s", title, static_cast<unsigned long long>(seed),
                static_cast<double>(elapsed.elapsed()) / 1000.0, qPrintable(outcome.report));
    return outcome.held ? 0 : 1;
}

/// A report's table: the column titles (each with its width), then a line a row; the first column
/// left-aligned, the others right-aligned.
using Row = std::pair<QString, std::vector<int>>;
inline QString tableOf(const std::vector<std::pair<QString, int>>& columns, const std::vector<Row>& rows)
{
    QString text;
    auto cell = [&text, &columns](std::size_t c, const QString& value) {
        const int width = c == 0 ? -columns[c].second : columns[c].second;
        text += QStringLiteral("%1").arg(value, width) + (c + 1 < columns.size() ? ' ' : '\n');
    };
    for (std::size_t c = 0; c < columns.size(); ++c)
        cell(c, columns[c].first);
    for (const auto& [name, numbers] : rows) {
        cell(0, name);
        for (std::size_t c = 1; c < columns.size(); ++c)
            cell(c, QString::number(numbers[c - 1]));
    }
    return text;
}

/// "<what>: none", or "<what> (n):" and the lines, one each, indented.
inline QString listOf(const QString& what, const QStringList& lines)
{
    if (lines.isEmpty())
        return what + QStringLiteral(": none\n");
    return QStringLiteral("%1 (%2):\n  ").arg(what).arg(lines.size()) + lines.join(QStringLiteral("\n  ")) + QLatin1Char('\n');
}

/// While it lives, Qt's debug messages and warnings are dropped (a run causes hundreds of failed
/// receptions, each logged); critical messages still pass.
class QuietWarnings {
public:
    QuietWarnings()
    {
        previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                previous(type, context, message);
        });
    }
    ~QuietWarnings() { qInstallMessageHandler(previous); }

private:
    static inline QtMessageHandler previous = nullptr;
};

inline QByteArray toQBytes(std::span<const std::uint8_t> bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}
/// The file's bytes; empty when it cannot be read.
inline QByteArray readWhole(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
inline void writeWhole(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

/// The name the program stores an event record under.
inline QString storedNameOf(std::span<const std::uint8_t> record)
{
    const auto head = record.first(std::min(record.size(), retrieval::receivedHeadLength));
    return QString::fromStdString(retrieval::storedName(head, retrieval::ReceivedKind::EventRecord).value_or(""));
}

/// The row of the index list's line for the unit's slot (from 0); -1 when no line shows it.
inline int indexRowOfSlot(const QListWidget& list, int slot)
{
    const QString shown = QStringLiteral("(%1)").arg(slot + 1, 2, 10, QLatin1Char('0'));
    for (int row = 0; row < list.count(); ++row)
        if (list.item(row)->text().mid(18, 4) == shown)
            return row;
    return -1;
}

/// Lists the stored index and selects the line of the unit's slot (from 0) alone; false when no
/// line shows it.
inline bool selectIndexLine(frmMaster& w, int slot)
{
    w.eventIndex->FILL_INDEX_LIST();
    w.lstIndex->clearSelection();
    const int row = indexRowOfSlot(*w.lstIndex, slot);
    if (row >= 0)
        w.lstIndex->item(row)->setSelected(true);
    return row >= 0;
}

} // namespace mr3x::test
