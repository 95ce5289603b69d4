#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>

// The message catalogue: each function gives its text in the language
// named ("English", "Italiano" or "Français", exactly), or "" for any other.
namespace Messages
{

// The interface languages, in the order of every table's columns.
inline constexpr std::array<QStringView, 3> languages{u"English", u"Italiano", u"Français"};

// One text in every language, in the order of languages: the compiler
// says when a column is missing.
struct Texts {
    template <typename... Column>
    constexpr Texts(const Column &...columns) : column{QStringView(columns)...}
    {
        static_assert(sizeof...(Column) == languages.size(), "one text for each language");
    }
    std::array<QStringView, languages.size()> column;
};

// The position of the language among languages, or -1 when it is none.
int languageIndex(const QString &language);
bool isLanguage(const QString &language);
// The column of the table for the language, or "" when it names none.
QString pick(const QString &language, const Texts &texts);

// The messages, in the order of the catalogue's rows.
enum class Id {
    firstrun,
    selheader,
    selbios,
    nostretch,
    fullstretch,
    propstretch,
    selstvrom,
    romdirname,
    needbioshdr,
    needbiosrom,
    notinssedir,
    noheaders,
    nobios,
    nossepath,
    needhdrname,
    noprogram,
    notexecutable,
    nowine,
    nowine32,
    notstarted,
    winedrives,
    nowineprefix,
    notsaved,
    firstrunnotsaved,
    count
};

// Every message, for checks over the whole catalogue.
struct Message {
    Id id;
    const char *name;
    Texts texts;
};
const Message *catalogueBegin();
const Message *catalogueEnd();

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

// A program of the SSE folder could not be started, and what to do.
QString msgnoprogram(const QString &language, const QString &program);
QString msgnotexecutable(const QString &language, const QString &program);
QString msgnowine(const QString &language, const QString &program);
QString msgnowine32(const QString &language, const QString &program);
QString msgnotstarted(const QString &language, const QString &program, const QString &reason);

// The drive letters of the Wine prefix, for the drive list's tool tip.
QString msgwinedrives(const QString &language, const QString &prefix);
QString msgnowineprefix(const QString &language, const QString &prefix);

// The settings file could not be written: once a run, naming it and why.
QString msgnotsaved(const QString &language, const QString &file, const QString &reason);
// The first run happened, but the next start will not know it.
QString msgfirstrunnotsaved(const QString &language);

} // namespace Messages
