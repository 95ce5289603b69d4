#pragma once

#include <QString>

// Every section and key of the settings store, each spelt once: a misspelt
// constant does not compile, a misspelt key would. Stored files rely on
// these names.
namespace kivo
{

inline const QString sectionGeneral = QStringLiteral("General");
inline const QString sectionLastFolders = QStringLiteral("Last Folders");

namespace key
{

// General.
inline const QString firstrun = QStringLiteral("firstrun");
inline const QString language = QStringLiteral("language");
inline const QString stvrom = QStringLiteral("stvrom");
inline const QString res = QStringLiteral("res");
inline const QString stretch = QStringLiteral("stretch");
inline const QString drive = QStringLiteral("drive");
inline const QString systemSat = QStringLiteral("system-sat");
inline const QString systemStv = QStringLiteral("system-stv");
// The state of switch number 1 to 6: "opz1" .. "opz6".
inline QString opz(int number)
{
    return QStringLiteral("opz%1").arg(number);
}

// Last Folders: a path field's displayed text ("text1"), and its tag ("text1tag").
inline QString text(int field)
{
    return QStringLiteral("text%1").arg(field);
}
inline QString texttag(int field)
{
    return text(field) + QStringLiteral("tag");
}
// Where the picker was when a choice was last confirmed.
inline const QString lastdrive = QStringLiteral("load-lastdrive1");
inline const QString lastdir = QStringLiteral("load-lastdir1");

} // namespace key

} // namespace kivo
