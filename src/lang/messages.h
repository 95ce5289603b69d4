#pragma once

#include <QString>
#include <QStringView>

// The message catalogue: each function gives its text in the language
// named ("English", "Italiano" or "Français", exactly), or "" for any other.
namespace Messages
{

// One text in the three languages.
struct Texts {
    QStringView english;
    QStringView italiano;
    QStringView francais;
};

// Whether the name is one of the three languages, exactly.
bool isLanguage(const QString &language);
// The column of the table for the language, or "" when it names none.
QString pick(const QString &language, const Texts &texts);

QString msgfirstrun(const QString &language);
QString msgselheader(const QString &language);
QString msgselbios(const QString &language);
QString msgnostretch(const QString &language);
QString msgfullstretch(const QString &language);
QString msgpropstretch(const QString &language);
QString msgselstvrom(const QString &language);
QString msgromdirname(const QString &language, const QString &selstvrom);
QString msgneedbioshdr(const QString &language);
QString msgneedbiosrom(const QString &language);
QString msgnotinssedir(const QString &language);
QString msgnoheaders(const QString &language);
QString msgnobios(const QString &language);
QString msgnossepath(const QString &language);
QString msgneedhdrname(const QString &language);
// The header extraction tool could not be started.
QString msgnoextrlow(const QString &language);

} // namespace Messages
