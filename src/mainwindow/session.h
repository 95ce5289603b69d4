#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace kivo
{

// The Qt platforms to try, in order, when the user has chosen none; "" for
// Qt's own choice. On GNOME's Wayland session Qt 6.4's Wayland windows can
// neither be placed over the main window nor take the activation back, and
// their title bars offer buttons the windows do not have; through XWayland
// GNOME does all of it as X11 window managers do. Without XWayland, Qt goes
// on to Wayland.
QString preferredPlatforms(const QProcessEnvironment &environment);

} // namespace kivo
