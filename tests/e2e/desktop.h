#pragma once

#include <QDBusMessage>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

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
    QProcessEnvironment environment() const;

    // A new SSE folder below a new temporary folder: name may hold several
    // levels. It gets kivo, and the stand-in emulator as sseName.
    bool prepare(const QString &name, const QString &sseName = QStringLiteral("sse.exe"));
    QString sse;
    QString top() const { return folder->path(); }
    // A small generated file saying what it stands for; never real data.
    bool add(const QString &relativePath);
    bool writeSettings(const QList<QPair<QString, QVariant>> &values) const;
    QString setting(const QString &key) const;
    // What a stand-in logged, one entry a start.
    QList<QJsonObject> log(const QString &name = QStringLiteral("sse-standin.log")) const;

    // Starts kivo (ending the one before) and waits for its main window.
    bool startKivo(const QProcessEnvironment &changes = {}, const QString &workingFolder = {});
    QProcess *kivo = nullptr;
    // Types keys (xdotool's names) into a window, by default the main window.
    bool type(const QStringList &keys, const QString &window = {});
    // Waits for the picker (another than the window replacing), types into
    // it, and waits until it is gone.
    bool inPicker(const QStringList &keys, const QString &replacing = {});
    QStringList windows(const QString &nameRegex);
    // The names of the windows the window manager keeps, bottom to top.
    QStringList stacking();
    // Activates a window as a click on it would.
    bool activate(const QString &window);
    bool gone(const QString &nameRegex, int timeoutMs = 10000);
    // Waits for one box of that name and confirms it.
    bool confirm(const QString &nameRegex);
    // Presses "Run SSE" by a key, and returns what the emulator received next.
    QStringList run(const QString &key = QStringLiteral("space"));
    // What a screen reader finds of one object on the accessibility bus.
    struct Accessible {
        QString role; // AT-SPI's role name, such as "push button"
        QString name;
        QString description;
        quint64 states = 0;
        QStringList labelledBy; // the names of the labels that name it
        QStringList within;     // the names of the objects it is in, innermost first
        QString bus, path;
        // AT-SPI's states: 8 enabled, 11 focusable, 25 showing.
        bool is(int state) const { return states & (quint64(1) << state); }
    };
    // Every object of every program on the bus, depth first.
    QList<Accessible> accessibles();
    // The first object of that role and name, inside an object of that name.
    Accessible find(const QString &role, const QString &name, const QString &within = {});
    // Does its first action (a button's press, a menu item's choice).
    bool act(const Accessible &object);
    // Presses the nth button of that name in the frame of that name, as a
    // screen reader does.
    bool press(const QString &frame, const QString &button, int nth = 0);

private:
    QDBusMessage call(const QString &bus, const QString &path, const QString &interface,
                      const QString &method, const QList<QVariant> &arguments = {});
    QString xdotool(const QStringList &arguments, bool *ok = nullptr);
    // Started in folder in, or for a helper (in empty) wherever the test is.
    QProcess *launch(const QString &program, const QStringList &arguments,
                     const QProcessEnvironment &environment, const QString &in = {});

    QList<QProcess *> helpers;
    QString display;
    QString bus;
    QString accessibility;
    QString mainWindow;
    std::unique_ptr<QTemporaryDir> folder;
    QTemporaryDir config;
    QString lastError;
};

QStringList words(const char *text);
QStringList argumentsOf(const QJsonObject &entry);
// The emulator's Saturn line: the header, drive F:, the BIOS, then the rest.
QStringList saturnArguments(const QString &header, const QString &bios, const QStringList &rest);
inline const QString pickerName = QStringLiteral("^Select file/Path$");
constexpr int patience = 10000;
