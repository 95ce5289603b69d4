#include "picker/drives.h"

#include <QDir>
#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

namespace kivo
{

namespace
{

// Path-wise: "/media/cd" leads "/media/cd/x" and "/media/cd [LABEL]", not
// "/media/cd2".
bool leads(const QString &root, const QString &text)
{
    if (!text.startsWith(root))
        return false;
    if (text.size() == root.size() || root.endsWith(QLatin1Char('/')))
        return true;
    const QChar next = text.at(root.size());
    return next == QLatin1Char('/') || next == QLatin1Char(' ');
}

} // namespace

QString cleanFolderPath(const QString &path)
{
    if (!path.startsWith(QLatin1Char('/')))
        return QString();
    return QDir::cleanPath(path);
}

bool isFolder(const QString &path)
{
    struct stat status;
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

Drives::Drives(const QList<Volume> &volumes, QHash<QString, QString> &currentFolders,
               const QString &ownFolder)
    : folders(currentFolders), own(ownFolder)
{
    for (const Volume &volume : volumes) {
        const QString root = cleanFolderPath(volume.root);
        if (root.isEmpty() || roots.contains(root))
            continue;
        roots.append(root);
        labels.append(volume.label);
    }
}

QString Drives::entryText(int volume) const
{
    const QString &label = labels.at(volume);
    if (label.isEmpty())
        return roots.at(volume);
    return roots.at(volume) + QStringLiteral(" [") + label + QLatin1Char(']');
}

int Drives::volumeOf(const QString &text) const
{
    int found = -1;
    for (int volume = 0; volume < count(); ++volume) {
        if (leads(roots.at(volume), text) &&
            (found < 0 || roots.at(volume).size() > roots.at(found).size()))
            found = volume;
    }
    return found;
}

int Drives::designated(const QString &text) const
{
    for (int volume = 0; volume < count(); ++volume) {
        if (text == roots.at(volume) || text == entryText(volume))
            return volume;
    }
    return -1;
}

QString Drives::currentFolder(int volume) const
{
    const QString &root = roots.at(volume);
    const auto remembered = folders.constFind(root);
    if (remembered != folders.constEnd())
        return *remembered;
    return volumeOf(own) == volume ? own : root;
}

int Drives::startVolume() const
{
    return std::max(0, volumeOf(own));
}

void Drives::setCurrentFolder(int volume, const QString &folder)
{
    folders.insert(roots.at(volume), folder);
}

bool Drives::available(int volume) const
{
    DIR *listing = ::opendir(QFile::encodeName(roots.at(volume)).constData());
    if (!listing)
        return false;
    ::closedir(listing);
    return true;
}

} // namespace kivo
