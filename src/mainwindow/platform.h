#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The seams between KIVO and the machine it runs on. Each has one real
// implementation; tests put their own in to watch what crosses.

namespace kivo
{

// A write that did not reach the disk: the file, and the system's reason in its own words.
struct SaveFailure {
    QString file;
    QString reason;
};

// Per-user store of strings, by section and key. A value that cannot be
// written is kept for the run, and failed says so; the store shows nothing.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // "" for a key that was never written.
    virtual QString get(const QString &section, const QString &key) = 0;
    // Reaches the disk before it returns, unless held.
    virtual void save(const QString &section, const QString &key, const QString &value) = 0;
    // Between hold() and release() saves are kept back; release() writes
    // them together, and only if they change what the store holds. Holds
    // nest: the outermost release() writes.
    virtual void hold() {}
    virtual void release() {}
    // Called after every write that did not reach the disk; the value is kept for the run.
    std::function<void(const SaveFailure &)> failed;
};

// Holds the store while it lives: a choice that saves several values
// reaches the disk in one write, so a program killed meanwhile never
// leaves half of it saved.
class SavedTogether
{
public:
    explicit SavedTogether(SettingsStore &store) : store(store) { store.hold(); }
    ~SavedTogether() { store.release(); }
    SavedTogether(const SavedTogether &) = delete;
    SavedTogether &operator=(const SavedTogether &) = delete;

private:
    SettingsStore &store;
};

enum class StartResult {
    Started,
    // No such program file in the folder.
    NotFound,
    // A native program that may not be run.
    NotExecutable,
    // A Windows program, and no wine on the PATH.
    NoWine,
    // A 32-bit Windows program, and a wine that runs 64-bit ones only.
    NoWine32,
    // Anything else; the system's words say what.
    Failed,
};

struct StartOutcome {
    StartResult result = StartResult::Started;
    // The system's reason, for Failed.
    QString reason;
};

// How the started program shows its window; it takes the focus either way.
enum class WindowState { Normal, Minimised };

class ProcessStarter
{
public:
    virtual ~ProcessStarter() = default;
    // arguments[0] names a program file in folder; the rest are its
    // arguments, each passed as it is. folder is also the working folder.
    // Nothing waits for the program, and nothing keeps hold of it.
    virtual StartOutcome start(const QString &folder, const QStringList &arguments,
                               WindowState window) = 0;
};

enum class BoxIcon { None, Information, Critical };

// The program's title: its main window's boxes, and the settings' application name.
inline const QString applicationTitle = QStringLiteral("KIVO");
// The title of the boxes that name what is wrong: English in every language.
inline const QString errorTitle = QStringLiteral("Error");

class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // Modal for the window whose action raised it, and over it; an OK button only.
    virtual void show(QWidget &owner, const QString &text, BoxIcon icon, const QString &title) = 0;
};

class OwnFolder
{
public:
    virtual ~OwnFolder() = default;
    // The folder of the running program, without a trailing separator
    // except at the root.
    virtual QString path() const = 0;
};

// A mounted file system a person would browse: the picker's drives.
struct Volume {
    QString root;  // its root folder, the drive designation
    QString label; // a name that helps a person: label or device
};

class Volumes
{
public:
    virtual ~Volumes() = default;
    virtual QList<Volume> mounted() const = 0;
};

struct Platform {
    SettingsStore &settings;
    ProcessStarter &processes;
    MessageBoxes &messages;
    OwnFolder &ownFolder;
    Volumes &volumes;
};

} // namespace kivo
