#include "screenreader.h"

#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusVariant>
#include <QtTest>

namespace
{

const QString accessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString rootPath = QStringLiteral("/org/a11y/atspi/accessible/root");

// AT-SPI's reference to an object: (so).
struct Reference {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument &operator<<(QDBusArgument &argument, const Reference &reference)
{
    argument.beginStructure();
    argument << reference.service << reference.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Reference &reference)
{
    argument.beginStructure();
    argument >> reference.service >> reference.path;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(Reference)

bool ScreenReader::connect(const QString &sessionBus)
{
    qDBusRegisterMetaType<Reference>();
    qDBusRegisterMetaType<QList<Reference>>();
    QDBusConnection session = QDBusConnection::connectToBus(sessionBus, QStringLiteral("session"));
    QDBusInterface launcher(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                            QStringLiteral("org.a11y.Bus"), session);
    const QDBusReply<QString> address = launcher.call(QStringLiteral("GetAddress"));
    if (!address.isValid()) {
        lastError = QStringLiteral("no accessibility bus (Debian package at-spi2-core): ") +
                    address.error().message();
        return false;
    }
    bus = QDBusConnection::connectToBus(address.value(), QStringLiteral("a11y"));
    if (!bus.isConnected()) {
        lastError = bus.lastError().message();
        return false;
    }
    return true;
}

std::optional<ScreenReader::Node> ScreenReader::application(const QString &wanted, int timeoutMs)
{
    std::optional<Node> found;
    const Node registry{QStringLiteral("org.a11y.atspi.Registry"), rootPath};
    const bool shown = QTest::qWaitFor(
        [&] {
            for (const Node &program : children(registry)) {
                if (name(program) == wanted)
                    found = program;
            }
            return found.has_value();
        },
        timeoutMs);
    if (!shown)
        lastError = QStringLiteral("no program %1 on the accessibility bus").arg(wanted);
    return found;
}

QList<ScreenReader::Node> ScreenReader::children(const Node &node)
{
    QDBusInterface object(node.service, node.path, accessible, bus);
    const QDBusReply<QList<Reference>> reply = object.call(QStringLiteral("GetChildren"));
    QList<Node> nodes;
    for (const Reference &child : reply.value())
        nodes.append({child.service, child.path.path()});
    return nodes;
}

QString ScreenReader::name(const Node &node)
{
    QDBusInterface properties(node.service, node.path,
                              QStringLiteral("org.freedesktop.DBus.Properties"), bus);
    const QDBusReply<QDBusVariant> reply =
        properties.call(QStringLiteral("Get"), accessible, QStringLiteral("Name"));
    return reply.value().variant().toString();
}

QString ScreenReader::role(const Node &node)
{
    QDBusInterface object(node.service, node.path, accessible, bus);
    const QDBusReply<QString> reply = object.call(QStringLiteral("GetRoleName"));
    return reply.value();
}

QList<ScreenReader::Node> ScreenReader::findAll(const Node &below, const QString &wantedRole,
                                                const QString &wantedName)
{
    QList<Node> found;
    for (const Node &child : children(below)) {
        if (role(child) == wantedRole && name(child) == wantedName)
            found.append(child);
        found += findAll(child, wantedRole, wantedName);
    }
    return found;
}

std::optional<ScreenReader::Node> ScreenReader::find(const Node &below, const QString &wantedRole,
                                                     const QString &wantedName)
{
    const QList<Node> found = findAll(below, wantedRole, wantedName);
    if (!found.isEmpty())
        return found.first();
    lastError = QStringLiteral("no %1 named %2").arg(wantedRole, wantedName);
    return std::nullopt;
}

bool ScreenReader::press(const Node &node)
{
    QDBusInterface action(node.service, node.path, QStringLiteral("org.a11y.atspi.Action"), bus);
    const QDBusReply<bool> reply = action.call(QStringLiteral("DoAction"), 0);
    if (!reply.isValid())
        lastError = reply.error().message();
    return reply.isValid() && reply.value();
}

bool ScreenReader::focus(const Node &node)
{
    QDBusInterface component(node.service, node.path, QStringLiteral("org.a11y.atspi.Component"),
                             bus);
    const QDBusReply<bool> reply = component.call(QStringLiteral("GrabFocus"));
    if (!reply.isValid())
        lastError = reply.error().message();
    return reply.isValid() && reply.value();
}
