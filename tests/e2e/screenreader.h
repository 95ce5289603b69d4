#pragma once

#include <QDBusConnection>
#include <QList>
#include <QString>

#include <optional>

// The programs of a session as a screen reader sees them, over AT-SPI: their
// windows and controls by role and name, and each control's actions. A
// program shows itself there when started with
// QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 on that session bus.
class ScreenReader
{
public:
    // An accessible object: the bus name of its program and its path.
    struct Node {
        QString service;
        QString path;
    };

    // Connects to the accessibility bus of the session bus at that address.
    bool connect(const QString &sessionBus);
    QString error() const { return lastError; }

    // The program of that name, waiting for it to show up.
    std::optional<Node> application(const QString &name, int timeoutMs);
    QList<Node> children(const Node &node);
    QString name(const Node &node);
    QString role(const Node &node);
    // The objects below, depth first, with that role and name.
    QList<Node> findAll(const Node &below, const QString &role, const QString &name);
    // The first of them.
    std::optional<Node> find(const Node &below, const QString &role, const QString &name);
    // Runs the object's first action: a button's press.
    bool press(const Node &node);
    // Gives the object the keyboard focus.
    bool focus(const Node &node);

private:
    QDBusConnection bus{QString()};
    QString lastError;
};
