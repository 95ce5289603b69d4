#pragma once

#include "mainwindow/platform.h"

#include <QHash>
#include <QMap>

namespace kivo
{

inline const QString sectionGeneral = QStringLiteral("General");
inline const QString sectionLastFolders = QStringLiteral("Last Folders");
inline const QString applicationTitle = QStringLiteral("KIVO");
// The title of the boxes that name what is wrong: English in every language.
inline const QString errorTitle = QStringLiteral("Error");

// The store as the INI file QSettings reads and writes:
// $XDG_CONFIG_HOME/KIVO/KIVO.ini. "General" is the file's top level, which
// QSettings writes as [General].
//
// Another KIVO may write the file at any time, so every write locks it, reads
// it afresh, changes only what was saved and replaces it whole. get() answers
// from what the last read found and what this run saved.
class IniSettingsStore : public SettingsStore
{
public:
    IniSettingsStore();
    explicit IniSettingsStore(const QString &fileName);

    QString get(const QString &section, const QString &key) override;
    void save(const QString &section, const QString &key, const QString &value) override;
    void hold() override;
    void release() override;

    QString fileName() const { return file; }

private:
    // "Section/key", or the key alone for General: the keys of QSettings.
    using Changes = QHash<QString, QString>;
    static QString keyPath(const QString &section, const QString &key);
    void write(Changes changes);
    bool reread(QString &reason);
    bool differs(const Changes &changes) const;
    bool writeLocked(const Changes &changes, QString &reason);

    QString file;
    bool loaded = false;
    // The file's entries by key; a value is its text, or a list's items.
    QMap<QString, QStringList> entries;
    // Saved this run but not on the disk: tried again with the next write.
    Changes unwritten;
    int holds = 0;
    Changes held;
};

} // namespace kivo
