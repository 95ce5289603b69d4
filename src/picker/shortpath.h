#pragma once

#include <QString>

// Linux has no short form of a path: the short form is the canonical one.
// A path that cannot be resolved gives the failure text and the path.
QString GetShortPathName(const QString &strLongPath);
// The text up to its first NUL character.
QString StripTerminator(const QString &strString);
