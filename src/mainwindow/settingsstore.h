#pragma once

#include "mainwindow/platform.h"

#include <QHash>
#include <QSettings>

namespace kivo
{

inline const QString sectionGeneral = QStringLiteral("General");
inline const QString sectionLastFolders = QStringLiteral("Last Folders");
inline const QString applicationTitle = QStringLiteral("KIVO");
// The title of the boxes that name what is wrong: English in every language.
inline const QString errorTitle = QStringLiteral("Error");

// The store as an INI file of QSettings: $XDG_CONFIG_HOME/KIVO/KIVO.ini.
// "General" is the file's top level, which QSettings writes as [General].
class IniSettingsStore : public SettingsStore
{
public:
    IniSettingsStore();
    explicit IniSettingsStore(const QString &fileName);

    QString get(const QString &section, const QString &key) override;
    void save(const QString &section, const QString &key, const QString &value) override;
    void hold() override;
    void release() override;

    QString fileName() const { return settings.fileName(); }

private:
    static QString keyPath(const QString &section, const QString &key);
    QString stored(const QString &path) const;

    QSettings settings;
    int holds = 0;
    QHash<QString, QString> held;
};

} // namespace kivo
