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

// The entry of that kind that Windows would find for the name, which it
// finds whatever the letter case: the name itself when it is of that kind,
// else the first in byte order of those of that kind that differ from it in
// case only; "" when there is none. An entry of the other kind is passed
// over, as Wine passes it over: a folder is no program.
QString entryIgnoringCase(const QString &folder, const QString &name, EntryKind kind);
// The folder's path with that subfolder's real name appended, or with the
// name as given when no subfolder has it in any case.
QString pathIgnoringCase(const QString &folder, const QString &name);

// Sorts names as a person expects: letter case aside, numbers by value.
void sortNames(QStringList &names);

} // namespace kivo
