#pragma once

#include <QString>
#include <QStringList>

namespace kivo
{

enum class EntryKind { Folders, Files };

// The names of one kind in a folder, unsorted. Hidden (dot) names are left
// out, and so are names that would not come back to the same bytes, so a
// name handed on always reaches the same file. The type comes from the
// listing itself; only links and file systems that do not tell are asked.
QStringList listFolder(const QString &folder, EntryKind kind);

// Sorts names as a person expects: letter case aside, numbers by value.
void sortNames(QStringList &names);

} // namespace kivo
