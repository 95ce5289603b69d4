#pragma once

#include "xsession.h"

#include <QJsonObject>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A temporary SSE folder for the real kivo, and a settings folder of its own.
class SseFolder
{
public:
    SseFolder();
    bool isValid() const { return folder.isValid() && config.isValid(); }
    // Canonical, as KIVO compares its own folder with the saved one.
    QString path() const { return canonical; }
    QString filePath(const QString &name) const;
    // The settings file that kivo started by launch() reads and writes.
    QString iniPath() const;

    // Copies a built program in under the name given.
    bool addProgram(const QString &from, const QString &name);
    // A small generated file saying what it stands for; never real data.
    bool addDemoFile(const QString &relativePath, const QByteArray &what);
    // Starts the kivo of this folder on the display, with its own settings
    // and the stand-in emulator's window kept away.
    QProcess *launchKivo(XSession &x) const;

private:
    QTemporaryDir folder;
    QTemporaryDir config;
    QString canonical;
};

// Copies a built program, executable by its owner.
bool copyProgram(const QString &from, const QString &to);
// The JSON lines a stand-in program appended to its log.
QList<QJsonObject> readLog(const QString &path);
QStringList argumentsOf(const QJsonObject &entry);
// xdotool key names for plain text.
QStringList keysFor(const QString &text);
