#include "ui/controls/FolderList.h"

#include "common/Files.h"

#include <QDir>

namespace mr3x {

namespace {

// Folder and file views list names in the order a user expects: alphabetical, case-blind.
void sortNames(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}

} // namespace

void FolderList::setPath(const QString& path)
{
    path_ = path;
    Refresh();
    emit Change();
}

void FolderList::Refresh()
{
    names_ = QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    sortNames(names_);
}

QString FolderList::List(int index) const
{
    if (index < 0 || index >= names_.size())
        return {};
    return joinPath(path_, names_[index]);
}

void FileList::setPattern(const QString& pattern)
{
    pattern_ = pattern;
    Refresh();
}

void FileList::setPath(const QString& path)
{
    const bool changed = path != path_;
    path_ = path;
    Refresh();
    if (changed)
        emit PathChange();
}

void FileList::Refresh()
{
    if (path_.isEmpty()) {
        files_.clear();
        return;
    }
    // Patterns match without regard to case ("*.TDR" finds "a.tdr"), as on the unit's PC.
    QStringList matched;
    for (const QString& f : QDir(path_).entryList(QDir::Files | QDir::Hidden))
        if (QDir::match(pattern_, f))
            matched << f;
    files_ = matched;
    sortNames(files_);
}

} // namespace mr3x
