#pragma once
// A folder view with no window of its own: a path, the subfolders of that path in name order,
// and a Change event whenever the path is set. The selector chains list jobs, locations and
// units from these.
#include <QObject>
#include <QStringList>

namespace mr3x {

class FolderList : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    /// Points the view at a folder (a missing folder lists nothing) and raises Change.
    void setPath(const QString& path);
    QString Path() const { return path_; }
    /// Re-reads the subfolders of the present path, without raising Change.
    void Refresh();

    int ListCount() const { return static_cast<int>(names_.size()); }
    /// The subfolder's full path.
    QString List(int index) const;
    /// The subfolder's own name.
    QString Name(int index) const { return names_.value(index); }
    const QStringList& Names() const { return names_; }

signals:
    void Change();

private:
    QString path_;
    QStringList names_;
};

/// A file list with no window of its own: a path, a pattern ("*.trg;*.vlt"), the matching files
/// in name order, and a PathChange event whenever the path is set to a new folder.
class FileList : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void setPattern(const QString& pattern);
    QString Pattern() const { return pattern_; }
    /// Points the list at a folder; raises PathChange when the folder differs from the present one.
    void setPath(const QString& path);
    QString Path() const { return path_; }
    /// Re-reads the files of the present folder.
    void Refresh();

    int ListCount() const { return static_cast<int>(files_.size()); }
    QString List(int index) const { return files_.value(index); }
    const QStringList& Files() const { return files_; }

signals:
    void PathChange();

private:
    QString path_;
    QString pattern_ = QStringLiteral("*.*");
    QStringList files_;
};

} // namespace mr3x
