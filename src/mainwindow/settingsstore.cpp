#include "mainwindow/settingsstore.h"

namespace kivo
{

IniSettingsStore::IniSettingsStore()
    : settings(QSettings::IniFormat, QSettings::UserScope, applicationTitle, applicationTitle)
{
}

IniSettingsStore::IniSettingsStore(const QString &fileName)
    : settings(fileName, QSettings::IniFormat)
{
}

QString IniSettingsStore::keyPath(const QString &section, const QString &key)
{
    if (section == sectionGeneral)
        return key;
    return section + QLatin1Char('/') + key;
}

QString IniSettingsStore::stored(const QString &path) const
{
    const QVariant value = settings.value(path);
    // A hand-edited value with a comma reads back as a list: take its text.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

QString IniSettingsStore::get(const QString &section, const QString &key)
{
    const QString path = keyPath(section, key);
    const auto pending = held.constFind(path);
    if (pending != held.constEnd())
        return *pending;
    return stored(path);
}

void IniSettingsStore::save(const QString &section, const QString &key, const QString &value)
{
    const QString path = keyPath(section, key);
    if (holds > 0) {
        held.insert(path, value);
        return;
    }
    if (settings.contains(path) && stored(path) == value)
        return;
    settings.setValue(path, value);
    settings.sync();
}

void IniSettingsStore::hold()
{
    ++holds;
}

void IniSettingsStore::release()
{
    if (holds == 0 || --holds > 0)
        return;
    bool changed = false;
    for (auto it = held.constBegin(); it != held.constEnd(); ++it) {
        if (settings.contains(it.key()) && stored(it.key()) == it.value())
            continue;
        settings.setValue(it.key(), it.value());
        changed = true;
    }
    held.clear();
    if (changed)
        settings.sync();
}

} // namespace kivo
