#pragma once
// What the benchmarks share: writing their input files, and the bytes a file transfer puts on
// the line (against which a measured time is a ratio to the line rate).
#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace mr3x::bench {

/// Writes a file whole, or ends the benchmark: a figure measured on missing input means nothing.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

/// What the unit puts on the line for one file of `fileBytes`: the header block, 1024-byte
/// blocks, a tail of up to seven 128-byte blocks, two EOTs and the closing block.
inline double transferBytes(double fileBytes)
{
    const double small = 133, large = 1029;
    const auto full = static_cast<long long>(fileBytes) / 1024;
    const auto tail = static_cast<long long>(fileBytes) % 1024;
    const double tailBytes = tail == 0 ? 0 : tail <= 7 * 128 ? static_cast<double>((tail + 127) / 128) * small : large;
    return small + static_cast<double>(full) * large + tailBytes + 2 + small;
}

} // namespace mr3x::bench
