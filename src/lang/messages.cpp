#include "lang/messages.h"

#include <algorithm>
#include <iterator>

namespace Messages
{

namespace
{

// Two-line messages join their lines with a lone carriage return; %1 and
// %2 stand for the values a message embeds, inserted as they are.
constexpr Message catalogue[] = {
    {Id::firstrun,
     "msgfirstrun",
     {u"This is the first run: KIVO has created a necessary file to run SSE.\r"
      u"Click again on 'Run SSE' button to start.",
      u"Questa è la prima volta che lanci SSE: KIVO ha creato i file necessari al "
      u"funzionamento dell'emulatore.\r"
      u"Clicka nuovamente su 'Run SSE' per iniziare.",
      u"Ceci est votre première utilisation : KIVO va créer les fichiers nécessaire à son "
      u"utilisation\r"
      u"Cliquer une seconde fois sur 'Lancer SSE' pour commencer."}},
    {Id::selheader,
     "msgselheader",
     {u"Select header file to play a Saturn game",
      u"Scegli un file header per usare un gioco del Saturn",
      u"Sélectionner l'en-tête pour jouer à un jeu Sega Saturn"}},
    {Id::selbios,
     "msgselbios",
     {u"Select BIOS File", u"Scegli File BIOS", u"Sélectionner le BIOS"}},
    {Id::nostretch,
     "msgnostretch",
     {u"No Stretching (Default)", u"Niente Stretch (Default)", u"Aucune extension (Par défaut)"}},
    {Id::fullstretch,
     "msgfullstretch",
     {u"Full Screen Stretch", u"Stretch a Tutto Schermo", u"Plein écran"}},
    {Id::propstretch,
     "msgpropstretch",
     {u"Proportional Stretch", u"Stretch Proporzionale", u"Agrandissement proportionnel"}},
    {Id::selstvrom,
     "msgselstvrom",
     {u"Select a rom to play an St-V game", u"Scegli una rom per giocare con l'ST-V",
      u"Sélectionner un jeu ST-V"}},
    {Id::romdirname,
     "msgromdirname",
     {u"(Dir or Zip name for selected game: %1)", u"(Nome Dir o Zip per il gioco scelto: %1)",
      u"(Séléctionner un jeu [un zip ou un répertoire]: %1)"}},
    {Id::needbioshdr,
     "msgneedbioshdr",
     {u"Select a BIOS file, and an header file befor running the emulator.",
      u"Scegli un file BIOS, e un file header prima di lanciare l'emulatore.",
      u"Séléctionner le BIOS, et une en-tête avant de lancer l'émulateur."}},
    {Id::needbiosrom,
     "msgneedbiosrom",
     {u"Select a BIOS file, and a game rom befor running the emulator.",
      u"Scegli un file BIOS, e un gioco prima di lanciare l'emulatore.",
      u"Séléctionner le BIOS, et un jeu avant de lancer l'émulateur."}},
    {Id::notinssedir,
     "msgnotinssedir",
     {u"KIVO isn't in SSE Folder.\r"
      u"Please put KIVO in the same folder as SSE, and run again.",
      u"KIVO non si trova nella cartella dell'SSE.\r"
      u"Copia KIVO nella stessa cartella di SSE, e lancialo nuovamente.",
      u"KIVO n'est pas situé dans le même répertoire que SSE.\r"
      u"Vous devez placer KIVO dans le même répertoire que SSE. Une fois fait, re-lancer le "
      u"logiciel."}},
    {Id::noheaders,
     "msgnoheaders",
     {u"No 'headers' folder found under SSE folder.",
      u"Cartella 'headers' non trovata nella cartella di SSE",
      u"Aucun répertoire d'en-tête dans le répertoire de SSE."}},
    {Id::nobios,
     "msgnobios",
     {u"No 'bios' folder found under SSE folder.",
      u"Cartella 'bios' non trovata nella cartella di SSE",
      u"Aucun répertoire BIOS dans le répertoire de SSE."}},
    {Id::nossepath,
     "msgnossepath",
     {u"SSE program path not found.", u"Cartella del programma SSE non trovata",
      u"Le chemin d'accès de SSE n'a pas été trouvé."}},
    {Id::needhdrname,
     "msgneedhdrname",
     {u"First write an header name, then click on 'Extract Header'.",
      u"Prima scrivi un nome per l'header, quindi clicka su 'Estrai Header'",
      u"Vous devez écrire le nom de votre en-tête, et ensuite cliquer sur 'Extraire "
      u"l'en-tête'."}},
    {Id::noprogram,
     "msgnoprogram",
     {u"%1 was not found in the SSE folder.", u"%1 non è stato trovato nella cartella di SSE.",
      u"%1 est introuvable dans le répertoire de SSE."}},
    {Id::notexecutable,
     "msgnotexecutable",
     {u"%1 could not be started: it may not be run as a program.\r"
      u"Make it executable (chmod +x %1), then try again.",
      u"Impossibile avviare %1: non ha il permesso di esecuzione.\r"
      u"Rendilo eseguibile (chmod +x %1), poi riprova.",
      u"Impossible de lancer %1 : il n'a pas le droit d'être exécuté.\r"
      u"Rendez-le exécutable (chmod +x %1), puis réessayez."}},
    {Id::nowine,
     "msgnowine",
     {u"%1 is a Windows program, and Wine was not found.\r"
      u"Install Wine (on Debian: apt install wine), then try again.",
      u"%1 è un programma per Windows, ma Wine non è stato trovato.\r"
      u"Installa Wine (su Debian: apt install wine), poi riprova.",
      u"%1 est un programme Windows, mais Wine est introuvable.\r"
      u"Installez Wine (sur Debian : apt install wine), puis réessayez."}},
    {Id::nowine32,
     "msgnowine32",
     {u"%1 is a 32-bit Windows program, and the Wine installed runs 64-bit programs only.\r"
      u"Install the 32-bit part of Wine; on Debian, as root:\r"
      u"dpkg --add-architecture i386\rapt update\rapt install wine32:i386",
      u"%1 è un programma per Windows a 32 bit, ma il Wine installato avvia solo programmi a "
      u"64 bit.\r"
      u"Installa la parte a 32 bit di Wine; su Debian, come root:\r"
      u"dpkg --add-architecture i386\rapt update\rapt install wine32:i386",
      u"%1 est un programme Windows 32 bits, mais le Wine installé ne lance que des programmes "
      u"64 bits.\r"
      u"Installez la partie 32 bits de Wine ; sur Debian, en tant que root :\r"
      u"dpkg --add-architecture i386\rapt update\rapt install wine32:i386"}},
    {Id::notstarted,
     "msgnotstarted",
     {u"%1 could not be started: %2", u"Impossibile avviare %1: %2",
      u"Impossible de lancer %1 : %2"}},
    {Id::winedrives,
     "msgwinedrives",
     {u"Drive letters of the Wine prefix %1:", u"Lettere di unità del prefisso Wine %1:",
      u"Lettres de lecteur du préfixe Wine %1 :"}},
    {Id::nowineprefix,
     "msgnowineprefix",
     {u"There is no Wine prefix at %1 yet: Wine makes one, with its drive letters, "
      u"when it first runs.",
      u"Non c'è ancora un prefisso Wine in %1: Wine lo crea, con le sue lettere di unità, "
      u"al primo avvio.",
      u"Il n'y a pas encore de préfixe Wine dans %1 : Wine le crée, avec ses lettres de "
      u"lecteur, à son premier lancement."}},
    {Id::notsaved,
     "msgnotsaved",
     {u"Your choices could not be saved in %1: %2\r"
      u"They hold until KIVO ends.",
      u"Impossibile salvare le tue scelte in %1: %2\r"
      u"Valgono fino alla chiusura di KIVO.",
      u"Impossible d'enregistrer vos choix dans %1 : %2\r"
      u"Ils valent jusqu'à la fermeture de KIVO."}},
    {Id::firstrunnotsaved,
     "msgfirstrunnotsaved",
     {u"This is the first run: KIVO has created a necessary file to run SSE, but could not "
      u"record it: the next start of KIVO will run this first run again.\r"
      u"Click again on 'Run SSE' button to start.",
      u"Questa è la prima volta che lanci SSE: KIVO ha creato i file necessari al "
      u"funzionamento dell'emulatore, ma non ha potuto registrarlo: al prossimo avvio di KIVO "
      u"la prima volta si ripeterà.\r"
      u"Clicka nuovamente su 'Run SSE' per iniziare.",
      u"Ceci est votre première utilisation : KIVO va créer les fichiers nécessaire à son "
      u"utilisation, mais n'a pas pu l'enregistrer : au prochain lancement de KIVO, cette "
      u"première utilisation recommencera.\r"
      u"Cliquer une seconde fois sur 'Lancer SSE' pour commencer."}},
};
// Each row stands at its identifier's place: rows swapped or missing do not compile.
constexpr bool rowsInOrder()
{
    for (std::size_t row = 0; row < std::size(catalogue); ++row)
        if (catalogue[row].id != Id(row))
            return false;
    return std::size(catalogue) == std::size_t(Id::count);
}
static_assert(rowsInOrder(), "one row for each message, in the order of Id");

QString text(Id id, const QString &language)
{
    return pick(language, catalogue[std::size_t(id)].texts);
}

// The values go in as they are, in one pass: a "%" in a value stays.
template <typename... Value> QString filled(Id id, const QString &language, const Value &...values)
{
    const QString shape = text(id, language);
    return shape.isEmpty() ? shape : shape.arg(values...);
}

} // namespace

int languageIndex(const QString &language)
{
    const auto found = std::find(languages.cbegin(), languages.cend(), language);
    return found == languages.cend() ? -1 : int(found - languages.cbegin());
}

bool isLanguage(const QString &language)
{
    return languageIndex(language) >= 0;
}

QString pick(const QString &language, const Texts &texts)
{
    const int index = languageIndex(language);
    return index < 0 ? QString() : texts.column[index].toString();
}

const Message *catalogueBegin()
{
    return std::begin(catalogue);
}

const Message *catalogueEnd()
{
    return std::end(catalogue);
}

QString msgfirstrun(const QString &language)
{
    return text(Id::firstrun, language);
}

QString msgselheader(const QString &language)
{
    return text(Id::selheader, language);
}

QString msgselbios(const QString &language)
{
    return text(Id::selbios, language);
}

QString msgnostretch(const QString &language)
{
    return text(Id::nostretch, language);
}

QString msgfullstretch(const QString &language)
{
    return text(Id::fullstretch, language);
}

QString msgpropstretch(const QString &language)
{
    return text(Id::propstretch, language);
}

QString msgselstvrom(const QString &language)
{
    return text(Id::selstvrom, language);
}

QString msgromdirname(const QString &language, const QString &selstvrom)
{
    return filled(Id::romdirname, language, selstvrom);
}

QString msgneedbioshdr(const QString &language)
{
    return text(Id::needbioshdr, language);
}

QString msgneedbiosrom(const QString &language)
{
    return text(Id::needbiosrom, language);
}

QString msgnotinssedir(const QString &language)
{
    return text(Id::notinssedir, language);
}

QString msgnoheaders(const QString &language)
{
    return text(Id::noheaders, language);
}

QString msgnobios(const QString &language)
{
    return text(Id::nobios, language);
}

QString msgnossepath(const QString &language)
{
    return text(Id::nossepath, language);
}

QString msgneedhdrname(const QString &language)
{
    return text(Id::needhdrname, language);
}

QString msgnoprogram(const QString &language, const QString &program)
{
    return filled(Id::noprogram, language, program);
}

QString msgnotexecutable(const QString &language, const QString &program)
{
    return filled(Id::notexecutable, language, program);
}

QString msgnowine(const QString &language, const QString &program)
{
    return filled(Id::nowine, language, program);
}

QString msgnowine32(const QString &language, const QString &program)
{
    return filled(Id::nowine32, language, program);
}

QString msgnotstarted(const QString &language, const QString &program, const QString &reason)
{
    return filled(Id::notstarted, language, program, reason);
}

QString msgwinedrives(const QString &language, const QString &prefix)
{
    return filled(Id::winedrives, language, prefix);
}

QString msgnowineprefix(const QString &language, const QString &prefix)
{
    return filled(Id::nowineprefix, language, prefix);
}

QString msgnotsaved(const QString &language, const QString &file, const QString &reason)
{
    return filled(Id::notsaved, language, file, reason);
}

QString msgfirstrunnotsaved(const QString &language)
{
    return text(Id::firstrunnotsaved, language);
}

} // namespace Messages
