#include "mainwindow/session.h"

namespace kivo
{

QString preferredPlatforms(const QProcessEnvironment &environment)
{
    const bool wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
                         environment.value(QStringLiteral("XDG_SESSION_TYPE")) == u"wayland";
    // XDG_CURRENT_DESKTOP is a list, such as "ubuntu:GNOME".
    const bool gnome = environment.value(QStringLiteral("XDG_CURRENT_DESKTOP"))
                           .split(QLatin1Char(':'))
                           .contains(QStringLiteral("GNOME"), Qt::CaseInsensitive);
    if (!wayland || !gnome || environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        return QString();
    return QStringLiteral("xcb;wayland");
}

} // namespace kivo
