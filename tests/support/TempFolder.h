#pragma once
// A fresh temporary folder per test, removed afterwards, with small helpers to make files in it.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace mr3x::test {

class TempFolder {
public:
    /// A fresh folder; with a name, the folder of that name inside it (made), such as "M-R3X Master".
    explicit TempFolder(const QString& innerName = QString());

    QString path() const { return path_; }
    QString operator()(const QString& relative) const;

    /// Writes a file (folders on the way are made); returns its path.
    QString write(const QString& relative, const QByteArray& content) const;
    /// Writes text lines each ended by CR LF.
    QString writeLines(const QString& relative, const QStringList& lines) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
    QString mkdirs(const QString& relative) const;

private:
    QTemporaryDir dir_;
    QString path_;
};

} // namespace mr3x::test
