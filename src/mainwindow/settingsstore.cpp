#include "mainwindow/settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>

namespace kivo
{

namespace
{

// A lock held longer than this by another program counts as a failed write.
constexpr int lockWaitMs = 3000;

// The file's bytes as they are now; none for a file that is not there. A
// file that cannot be read fails, so that it is never written over.
bool readBytes(const QString &file, QByteArray &bytes, QString &reason)
{
    QFile in(file);
    const bool opened = in.open(QIODevice::ReadOnly);
    bytes = opened ? in.readAll() : QByteArray();
    if (in.error() == QFileDevice::NoError || (!opened && !in.exists()))
        return true;
    // Qt words its refusal of a folder itself.
    reason = QFileInfo(file).isDir() ? qt_error_string(EISDIR) : in.errorString();
    return false;
}

// Unbuffered, and whole or not at all: Qt 6.4's QSaveFile misses a write
// that fails only at its final flush, and would put a cut-short file in place.
bool writeWhole(QFileDevice &out, const QByteArray &bytes)
{
    qint64 written = 0, step = 0;
    while (written < bytes.size() &&
           (step = out.write(bytes.constData() + written, bytes.size() - written)) > 0)
        written += step;
    return written == bytes.size();
}

// What KIVO reads of every value: a list's items joined, anything else as text.
QHash<QString, QString> textsOf(const QSettings &settings)
{
    QHash<QString, QString> texts;
    for (const QString &key : settings.allKeys()) {
        const QVariant value = settings.value(key);
        texts.insert(key, value.typeId() == QMetaType::QStringList
                              ? value.toStringList().join(u", ")
                              : value.toString());
    }
    return texts;
}

// QSettings does not say why its write failed, if it notices at all: the
// system says so when asked to go on where the write stopped.
QString whyCutShort(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::Append | QIODevice::Unbuffered) && file.write("\n", 1) == 1)
        return qt_error_string(EIO);
    return file.errorString();
}

} // namespace

IniSettingsStore::IniSettingsStore()
    : IniSettingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                       u'/' + applicationTitle + u'/' + applicationTitle + QStringLiteral(".ini"))
{
}

IniSettingsStore::IniSettingsStore(const QString &fileName)
    : file(QFileInfo(fileName).absoluteFilePath())
{
}

QString IniSettingsStore::keyPath(const QString &section, const QString &key)
{
    if (section == sectionGeneral)
        return key;
    return section + QLatin1Char('/') + key;
}

QString IniSettingsStore::get(const QString &section, const QString &key)
{
    const QString path = keyPath(section, key);
    for (const Values *kept : {&held, &unwritten}) {
        const auto value = kept->constFind(path);
        if (value != kept->constEnd())
            return *value;
    }
    QString unused;
    if (!loaded)
        read(unused);
    loaded = true; // a file that cannot be read reads as empty, as in QSettings
    return entries.value(path);
}

void IniSettingsStore::save(const QString &section, const QString &key, const QString &value)
{
    const QString path = keyPath(section, key);
    if (holds > 0)
        held.insert(path, value);
    else
        write({{path, value}});
}

void IniSettingsStore::hold()
{
    ++holds;
}

void IniSettingsStore::release()
{
    if (holds == 0 || --holds > 0)
        return;
    write(std::exchange(held, {}));
}

void IniSettingsStore::write(const Values &changes)
{
    // What could not be written before goes along, but never over a newer
    // value of its key.
    Values all = unwritten;
    all.insert(changes);
    if (all.isEmpty())
        return;
    // A reader needs no lock, as every write replaces the file whole: only a
    // change takes it.
    QString reason;
    if (read(reason) && (!differs(all) || writeLocked(all, reason))) {
        unwritten.clear();
        return;
    }
    unwritten = all;
    if (failed)
        failed({file, reason.isEmpty() ? qt_error_string(EIO) : reason});
}

QString IniSettingsStore::freshPath(const QTemporaryDir &scratch, QString &reason)
{
    if (scratch.isValid())
        return scratch.filePath(QString::number(copies++) + QStringLiteral(".ini"));
    reason = scratch.errorString();
    return {};
}

// QSettings keeps what it parsed by path for the whole run: a copy of the
// file's bytes on a path it has never seen makes it parse them afresh.
std::unique_ptr<QSettings> IniSettingsStore::readCopy(const QString &copy, QString &reason)
{
    QByteArray bytes;
    if (copy.isEmpty() || !readBytes(file, bytes, reason))
        return nullptr;
    QFile out(copy);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeWhole(out, bytes)) {
        reason = out.errorString();
        return nullptr;
    }
    auto settings = std::make_unique<QSettings>(copy, QSettings::IniFormat);
    entries = textsOf(*settings);
    loaded = true;
    return settings;
}

bool IniSettingsStore::read(QString &reason)
{
    const QTemporaryDir scratch;
    return readCopy(freshPath(scratch, reason), reason) != nullptr;
}

bool IniSettingsStore::differs(const Values &changes) const
{
    for (auto change = changes.cbegin(); change != changes.cend(); ++change) {
        const auto entry = entries.constFind(change.key());
        if (entry == entries.cend() || *entry != change.value())
            return true;
    }
    return false;
}

bool IniSettingsStore::writeLocked(const Values &changes, QString &reason)
{
    QDir().mkpath(QFileInfo(file).path());
    // The lock QSettings takes too, so that older writers wait as well.
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs)) {
        // Any error but a lock held elsewhere is the lock file's creation
        // failing, whose reason errno still holds.
        const int error = errno;
        reason = qt_error_string(lock.error() == QLockFile::LockFailedError ? EWOULDBLOCK : error);
        return false;
    }
    const QTemporaryDir scratch;
    const QString copy = freshPath(scratch, reason), result = freshPath(scratch, reason);
    Values expected;
    {
        const std::unique_ptr<QSettings> settings = readCopy(copy, reason);
        if (!settings || result.isEmpty())
            return false;
        if (!differs(changes))
            return true;
        for (auto change = changes.cbegin(); change != changes.cend(); ++change)
            settings->setValue(change.key(), change.value());
        settings->sync();
        expected = textsOf(*settings);
    }
    // Read back by a QSettings that has never seen the file: what it finds
    // is what the next start will find.
    if (!QFile::rename(copy, result) ||
        textsOf(QSettings(result, QSettings::IniFormat)) != expected) {
        reason = whyCutShort(QFile::exists(result) ? result : copy);
        return false;
    }
    QByteArray bytes;
    QSaveFile out(file);
    const bool opened = out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (readBytes(result, bytes, reason) && opened && writeWhole(out, bytes) && out.commit()) {
        entries = expected;
        return true;
    }
    // QSaveFile words its refusal of a read-only file itself.
    if (reason.isEmpty())
        reason = opened || out.error() != QFileDevice::WriteError ? out.errorString()
                                                                  : qt_error_string(EACCES);
    return false;
}

} // namespace kivo
