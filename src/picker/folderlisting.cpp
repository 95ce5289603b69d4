#include "folderlisting.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace kivo
{

namespace
{

bool isKind(int directory, const dirent *entry, EntryKind kind)
{
    unsigned char type = entry->d_type;
    if (type == DT_LNK || type == DT_UNKNOWN) {
        struct stat status;
        if (::fstatat(directory, entry->d_name, &status, 0) != 0)
            return false; // a broken link leads nowhere
        type = S_ISDIR(status.st_mode) ? DT_DIR : (S_ISREG(status.st_mode) ? DT_REG : DT_UNKNOWN);
    }
    return kind == EntryKind::Folders ? type == DT_DIR : type == DT_REG;
}

} // namespace

QStringList listFolder(const QString &folder, EntryKind kind)
{
    QStringList names;
    DIR *listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing)
        return names;
    const int directory = ::dirfd(listing);
    while (const dirent *entry = ::readdir(listing)) {
        if (entry->d_name[0] == '.' || !isKind(directory, entry, kind))
            continue;
        const QByteArray bytes(entry->d_name);
        const QString name = QFile::decodeName(bytes);
        // Only a name with a replacement character can have lost bytes.
        if (!name.contains(QChar::ReplacementCharacter) || QFile::encodeName(name) == bytes)
            names.append(name);
    }
    ::closedir(listing);
    return names;
}

void sortNames(QStringList &names)
{
    // The C locale collates by code point, letter case first; a person
    // expects the common order of letters there too.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // One key per name, compared as bytes: collating at every comparison
    // would cost a large folder seconds. Each key travels with its name's
    // position, which keeps the comparisons close together in memory.
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(names.size());
    for (qsizetype index = 0; index < names.size(); ++index)
        keys.emplace_back(collator.sortKey(names.at(index)), index);
    std::sort(keys.begin(), keys.end(), [&](const auto &a, const auto &b) {
        const int compared = a.first.compare(b.first);
        return compared != 0 ? compared < 0 : names.at(a.second) < names.at(b.second);
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const auto &key : keys)
        sorted.append(names.at(key.second));
    names.swap(sorted);
}

} // namespace kivo
