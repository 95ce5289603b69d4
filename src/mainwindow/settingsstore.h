#pragma once

#include "mainwindow/platform.h"
#include "mainwindow/settingskeys.h"

#include <QHash>

#include <memory>

class QSettings;
class QTemporaryDir;

namespace kivo
{

// The store as QSettings' INI file $XDG_CONFIG_HOME/KIVO/KIVO.ini, with
// "General" at its top level.
//
// Another KIVO may write the file at any time, and QSettings reads a file
// again only when its size or time changed. So every write locks the file,
// reads its bytes afresh, lets QSettings apply the change on a copy it has
// never seen, checks the result and puts it in place whole. get() answers
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
    // By the keys of QSettings: "Section/key", or the key alone for General.
    using Values = QHash<QString, QString>;
    static QString keyPath(const QString &section, const QString &key);
    void write(const Values &changes);
    bool read(QString &reason);
    // The file read afresh into entries, through a copy at that path.
    std::unique_ptr<QSettings> readCopy(const QString &copy, QString &reason);
    bool differs(const Values &changes) const;
    bool writeLocked(const Values &changes, QString &reason);
    // A path that this run has not used yet, in a scratch folder that lives
    // only as long as one read or write, so that a killed KIVO leaves at
    // most one behind.
    QString freshPath(const QTemporaryDir &scratch, QString &reason);

    QString file;
    int copies = 0;
    bool loaded = false;
    // The file as last read or written, each value as KIVO reads it.
    Values entries;
    // Saved this run but not on the disk: the latest value of each key,
    // tried again with the next write.
    Values unwritten;
    int holds = 0;
    Values held;
};

} // namespace kivo
