#pragma once

#include "xsession.h"

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

// A temporary SSE folder for the real kivo, and a settings folder of its own.
class SseFolder
{
public:
    SseFolder();
    bool isValid() const { return folder.isValid() && config.isValid(); }
    // Canonical, as KIVO compares its own folder with the saved one.
    QString path() const { return canonical; }
    // The temporary folder that holds it.
    QString top() const { return base; }
    // Makes a new folder below the SSE folder the SSE folder.
    bool enter(const QString &name);
    QString filePath(const QString &name) const;
    // The settings file that kivo started by launch() reads and writes.
    QString iniPath() const;

    // Copies a built program in under the name given.
    bool addProgram(const QString &from, const QString &name);
    // A small generated file saying what it stands for; never real data.
    bool addDemoFile(const QString &relativePath, const QByteArray &what);
    // Starts the kivo of this folder on the display, with its own settings
    // and the stand-in emulator's window kept away.
    // It runs in workingFolder, or else in the SSE folder.
    QProcess *launchKivo(XSession &x, const QString &workingFolder = {}) const;
    // launchKivo(), then waits for the one main window; its id, or empty.
    QString startKivo(XSession &x, QProcess **kivo = nullptr,
                      const QString &workingFolder = {}) const;
    // Writes these keys ("Group/key" for a group) into iniPath().
    bool writeSettings(const QList<QPair<QString, QVariant>> &values) const;
    // A key of iniPath() as text.
    QString setting(const QString &key) const;
    // What the stand-in emulator logged, one entry a start.
    QList<QJsonObject> emulatorLog() const;

private:
    QTemporaryDir folder;
    QTemporaryDir config;
    QString base;
    QString canonical;
};

// Copies a built program, executable by its owner.
bool copyProgram(const QString &from, const QString &to);
// The JSON lines a stand-in program appended to its log.
QList<QJsonObject> readLog(const QString &path);
QStringList argumentsOf(const QJsonObject &entry);
// xdotool key names for plain text.
QStringList keysFor(const QString &text);
// Waits for the picker, types into it, and waits until it is gone.
bool inPicker(XSession &x, const QStringList &typed);
// The words of a text split at its blanks, for arguments without blanks.
QStringList words(const char *text);
// What the emulator receives for a Saturn game: the header, drive F:, the
// BIOS, then the rest.
QStringList saturnArguments(const QString &header, const QString &bios, const QStringList &rest);
// The key the given number of times.
QStringList repeated(const QString &key, int times);
// The main window of kivo, whatever its caption says after the name.
inline const QString mainWindowName = QStringLiteral("^KIVO - ");
inline const QString pickerName = QStringLiteral("^Select file/Path$");
constexpr int patience = 10000;
