#pragma once

#include "../testdata.h"

#include <QtTest>

// How long a wait for something that must happen may take, on a loaded machine too.
constexpr int patience = 30000;

// A private desktop for end-to-end tests: an X server (Xvfb) with a session
// bus and its accessibility bus, an SSE folder holding the real kivo, and
// the ways a user types, presses and reads. No shell anywhere: every program
// is a path and an argument list. Whatever it started is killed at the end.
class Desktop
{
public:
    ~Desktop();
    bool start();
    QString error() const { return lastError; }
    // This desktop's, with changes ("NAME=value").
    QProcessEnvironment environment(const QStringList &changes = {}) const;

    // A new SSE folder below a new temporary folder: name may hold several
    // levels. It gets kivo, the stand-in emulator as sseName, and the files,
    // small generated ones saying what they stand for; never real data.
    bool prepare(const QString &name, const QStringList &files,
                 const QString &sseName = QStringLiteral("sse.exe"));
    QString sse;
    QString top() const { return folder->path(); }
    // A key "textN" is a file chosen in field N: its text and its tag.
    bool writeSettings(const QList<std::pair<QString, QString>> &values) const;
    QString setting(const QString &key) const;
    // What a stand-in logged, one entry a start.
    QList<QVariantMap> log(const QString &name = QStringLiteral("sse-standin.log")) const;

    // Starts kivo (ending the one before) with changes ("NAME=value") to the
    // environment, and waits for its main window.
    bool startKivo(const QStringList &changes = {}, const QString &workingFolder = {});
    QProcess *kivo = nullptr;
    // kivo's temporary folder (TMPDIR), and its runtime folder.
    QTemporaryDir temporary, runtime;
    // Runs a short-lived program, such as xdotool, on this desktop.
    bool tool(const QStringList &command, QString *output = nullptr);
    // Types keys (xdotool's names) into a window, by default the main window.
    bool type(const QStringList &keys, const QString &window = {});
    // Waits for the picker (another than the window replacing), types into
    // it, and waits until it is gone.
    bool inPicker(const QStringList &keys, const QString &replacing = {});
    // Waits until windows of that name show, or (not shown) until none does.
    QStringList windows(const QString &nameRegex, bool shown = true, int timeoutMs = patience);
    bool gone(const QString &name, int ms = patience) { return windows(name, false, ms).isEmpty(); }
    // The names of the windows the window manager keeps, bottom to top.
    QStringList stacking();
    // Waits for one box of that name and confirms it.
    bool confirm(const QString &nameRegex);
    // Presses "Run SSE" by a key, and returns what the emulator received next.
    QStringList run(const QString &key = QStringLiteral("space"));
    // What a screen reader finds of one object on the accessibility bus.
    struct Accessible {
        QString role, name, description; // role: AT-SPI's role name, such as "push button"
        QStringList within;              // the names of the objects it is in, innermost first
        QString bus, path;
        QStringList labelledBy{}; // the names of the labels that name it
        QString text{};           // what it shows, through AT-SPI's Text
        quint64 states = 0;
        int position = -1; // among its parent's children
        // AT-SPI's states: 8 enabled, 11 focusable, 25 showing.
        bool is(int state) const { return states & (quint64(1) << state); }
    };
    // Every object of kivo on the bus, depth first.
    QList<Accessible> accessibles();
    // The first object of that role and name, inside an object of that name.
    Accessible find(const QString &role, const QString &name, const QString &within = {});
    // Does its first action (a button's press, a menu item's choice).
    bool act(const Accessible &object);
    // Whether it still answers a screen reader that holds it.
    bool stillThere(const Accessible &object);
    // Where it says it stands among its parent's children.
    int indexInParent(const Accessible &object);
    // Starts Orca, as Debian has it, with preferences of its own, braille and
    // key echo off, speaking through speech-dispatcher's dummy module: what
    // it would say is read from its debug log, an utterance an entry, its
    // blanks and line breaks collapsed.
    bool startOrca();
    QStringList spoken;
    // Types each key (xdotool's names) with Orca listening, the next once
    // Orca spoke of the one before and finished the event it spoke in; a
    // key's release once Orca answered whether it takes the press: Qt 6.4
    // waits 100 ms for that answer, then goes on, and on a loaded machine
    // Alt's press came after its release.
    bool press(const QStringList &keys, const QString &window = {});
    // Waits until Orca, since the last key, says something holding text.
    bool says(const QString &text);
    // How many utterances since the last key hold text.
    qsizetype heard(const QString &text) const;
    // What Orca said since the last key, for a failure to show.
    const char *said();
    // The object that has the keyboard (AT-SPI's state 12, focused).
    Accessible focused();
    // From now on, the names and inserted texts that programs announce.
    bool listen();
    QStringList announced;

private:
    // The first value of the reply.
    QVariant call(const QString &bus, const QString &path, const QString &interface,
                  const QString &method, const QList<QVariant> &arguments = {});
    // Started in folder in, or for a helper (in empty) wherever the test is.
    QProcess *launch(const QStringList &command, const QStringList &changes = {},
                     const QString &in = {});

    QList<QProcess *> helpers;
    // Orca's log, read from the terminal it writes to, as it comes.
    void hearOrca();
    int terminal = -1;
    std::unique_ptr<QSocketNotifier> orcaLog;
    QStringDecoder fromUtf8{QStringDecoder::Utf8};
    QString unheard, utterance; // the line, and the utterance, not read whole yet
    bool presenting = false;    // Orca spoke in an event it has not finished
    qsizetype answers = 0;      // key events Orca answered
    qsizetype since = 0;        // the utterances before the last key
    QByteArray shown;
    // atspi is the accessibility bus's address.
    QString display, bus, atspi, mainWindow;
    std::unique_ptr<QTemporaryDir> folder;
    QTemporaryDir config;
    QString ini() const { return config.filePath(u"KIVO/KIVO.ini"_qs); }
    QString lastError;
};

// The emulator's Saturn line at 640x480, not stretched: the header, drive
// F:, the BIOS, then the rest.
inline QStringList saturnArguments(const QString &header, const QString &bios,
                                   const QStringList &rest = {})
{
    return QStringList{header, u"-d"_qs, u"F:"_qs, u"-b"_qs, bios} +
           words("-res 640 480 -stretch 0") + rest;
}
inline const QString pickerName = QStringLiteral("^Select file/Path$");
