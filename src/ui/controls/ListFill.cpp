#include "ui/controls/ListFill.h"

#include <QSignalBlocker>

namespace mr3x {

void fillComboBox(QComboBox* box, const QStringList& entries, int index)
{
    {
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItems(entries);
        box->setCurrentIndex(-1);
    }
    if (index >= 0 && index < box->count())
        box->setCurrentIndex(index);
}

void fillListWidget(QListWidget* list, const QStringList& entries)
{
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(entries);
    list->setCurrentRow(-1);
}

} // namespace mr3x
