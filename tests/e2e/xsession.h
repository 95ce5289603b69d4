#pragma once

#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// A private X server (Xvfb) and session bus for end-to-end tests, the programs run on it,
// and xdotool to find windows and type into them. Nothing goes through a
// shell: every program is a path and an argument list. Whatever it started
// is killed when it is destroyed.
class XSession
{
public:
    XSession() = default;
    ~XSession();
    XSession(const XSession &) = delete;
    XSession &operator=(const XSession &) = delete;

    // Starts Xvfb on a free display; false, with error(), when it cannot.
    bool start(int timeoutMs = 10000);
    // Kills the programs started on the display, then the server.
    void stop();

    // ":N" once started.
    QString display() const { return displayName; }
    // The session bus that the programs on the display use.
    QString sessionBus() const { return busAddress; }
    // Why the last call that could fail did.
    QString error() const { return lastError; }

    // The environment of this process, pointed at this display only.
    QProcessEnvironment environment() const;

    // Starts a program on the display; it is killed by stop() at the latest.
    // Null, with error(), when it could not start.
    QProcess *launch(const QString &program, const QStringList &arguments,
                     const QString &workingFolder, const QProcessEnvironment &environment);

    struct Result {
        bool finished = false;
        int exitCode = -1;
        QString output;
        QString errors;
        bool ok() const { return finished && exitCode == 0; }
    };
    // Runs xdotool on the display, killed after timeoutMs.
    Result xdotool(const QStringList &arguments, int timeoutMs = 5000);

    // Ids of the visible windows whose name matches the regular expression,
    // waiting up to timeoutMs for at least one.
    QStringList waitForWindows(const QString &nameRegex, int timeoutMs = 10000);
    // Waits until no visible window's name matches.
    bool waitUntilGone(const QString &nameRegex, int timeoutMs = 10000);
    // Gives the window the keyboard focus, and waits until it has it.
    bool focus(const QString &window, int timeoutMs = 5000);
    // Types keys (xdotool names, e.g. "space", "Return") into the focused window.
    bool key(const QStringList &keys, int timeoutMs = 5000);
    // focus() then key().
    bool focusAndKey(const QString &window, const QStringList &keys, int timeoutMs = 5000);

private:
    static void kill(QProcess *process);
    static QByteArray firstLine(QProcess *process, int timeoutMs);
    // Starts a helper program that says it is ready in its first line.
    QProcess *startHelper(const QString &name, const QString &package, const QStringList &arguments,
                          int timeoutMs, QByteArray *line);
    QString describe(const QString &what, const Result &result) const;

    QProcess *server = nullptr;
    QProcess *bus = nullptr;
    QString displayName;
    QString busAddress;
    QString lastError;
    QList<QProcess *> programs;
};
