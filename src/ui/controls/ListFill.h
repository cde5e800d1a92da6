#pragma once
// Refilling the window's lists so that their handlers run exactly once per selection: the
// entries are replaced quietly (Qt would otherwise report every intermediate selection, such as
// entry 0 of a box that was empty), then the selection is made as a user's choice would be.
#include <QComboBox>
#include <QListWidget>
#include <QStringList>

namespace mr3x {

/// Replaces the entries of a drop-down list and selects `index` (-1: none). A selection runs
/// the list's handler once, even when the same index was selected before the refill.
void fillComboBox(QComboBox* box, const QStringList& entries, int index);

/// Replaces the entries of a list and leaves it with no selection, running no handler.
void fillListWidget(QListWidget* list, const QStringList& entries);

} // namespace mr3x
