#include "picker/folderlisting.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
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

// A name's collation key, with the name's position in the list.
using KeyedName = std::pair<QCollatorSortKey, qsizetype>;

QCollator personCollator()
{
    // The C locale collates by code point, letter case first; a person
    // expects the common order of letters there too.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English);
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// By key; names that collate the same, by their characters.
auto personOrder(const QStringList &names)
{
    return [&names](const KeyedName &a, const KeyedName &b) {
        const int compared = a.first.compare(b.first);
        return compared != 0 ? compared < 0 : names.at(a.second) < names.at(b.second);
    };
}

// The names from begin to end keyed and sorted. One key per name, compared
// as bytes: collating at every comparison would cost a large folder seconds.
// Each part has a collator of its own, as ICU's are not shared by threads.
std::vector<KeyedName> sortedPart(const QStringList &names, qsizetype begin, qsizetype end)
{
    const QCollator collator = personCollator();
    std::vector<KeyedName> keys;
    keys.reserve(end - begin);
    for (qsizetype index = begin; index < end; ++index)
        keys.emplace_back(collator.sortKey(names.at(index)), index);
    std::sort(keys.begin(), keys.end(), personOrder(names));
    return keys;
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

QString entryIgnoringCase(const QString &folder, const QString &name, EntryKind kind)
{
    const QDir dir(folder);
    const auto ofKind = [&](const QString &entry) {
        const QFileInfo info(dir.filePath(entry));
        return kind == EntryKind::Folders ? info.isDir() : info.isFile();
    };
    if (ofKind(name))
        return name;
    QString found;
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0 &&
            (found.isEmpty() || QFile::encodeName(entry) < QFile::encodeName(found)) &&
            ofKind(entry))
            found = entry;
    }
    return found;
}

QString pathIgnoringCase(const QString &folder, const QString &name)
{
    const QString found = entryIgnoringCase(folder, name, EntryKind::Folders);
    return folder + QLatin1Char('/') + (found.isEmpty() ? name : found);
}

void sortNames(QStringList &names)
{
    // Keying a name is the costly part: a large folder is keyed and sorted in
    // parts at once, on Qt's thread pool, and the sorted parts are merged. A
    // part that finds no free thread, as when the pool is busy with the
    // sort that called this, is done here.
    constexpr qsizetype namesPerPart = 4096;
    constexpr qsizetype mostParts = 4;
    const qsizetype cores = std::max(1, QThread::idealThreadCount());
    const qsizetype parts =
        std::clamp(names.size() / namesPerPart, qsizetype(1), std::min(cores, mostParts));
    const auto bound = [&](qsizetype part) { return names.size() * part / parts; };

    std::vector<std::vector<KeyedName>> sorted(parts);
    QSemaphore done;
    int aside = 0;
    for (qsizetype part = 1; part < parts; ++part) {
        const auto work = [&, part] {
            sorted[part] = sortedPart(names, bound(part), bound(part + 1));
        };
        if (QThreadPool::globalInstance()->tryStart([&done, work] {
                work();
                done.release();
            }))
            ++aside;
        else
            work();
    }
    sorted[0] = sortedPart(names, 0, bound(1));
    done.acquire(aside);

    std::vector<KeyedName> keys = std::move(sorted[0]);
    const auto before = personOrder(names);
    for (qsizetype part = 1; part < parts; ++part) {
        std::vector<KeyedName> merged;
        merged.reserve(keys.size() + sorted[part].size());
        std::merge(std::make_move_iterator(keys.begin()), std::make_move_iterator(keys.end()),
                   std::make_move_iterator(sorted[part].begin()),
                   std::make_move_iterator(sorted[part].end()), std::back_inserter(merged), before);
        keys.swap(merged);
    }
    QStringList result;
    result.reserve(names.size());
    for (const KeyedName &key : keys)
        result.append(names.at(key.second));
    names.swap(result);
}

} // namespace kivo
