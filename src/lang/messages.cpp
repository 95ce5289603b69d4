#include "messages.h"

namespace Messages
{

bool isLanguage(const QString &language)
{
    return language == u"English" || language == u"Italiano" || language == u"Français";
}

QString pick(const QString &language, const Texts &texts)
{
    if (language == u"English")
        return texts.english.toString();
    if (language == u"Italiano")
        return texts.italiano.toString();
    if (language == u"Français")
        return texts.francais.toString();
    return QString();
}

// Two-line messages join their lines with a lone carriage return.

QString msgfirstrun(const QString &language)
{
    static constexpr Texts texts{
        u"This is the first run: KIVO has created a necessary file to run SSE.\r"
        u"Click again on 'Run SSE' button to start.",
        u"Questa è la prima volta che lanci SSE: KIVO ha creato i file necessari al "
        u"funzionamento dell'emulatore.\r"
        u"Clicka nuovamente su 'Run SSE' per iniziare.",
        u"Ceci est votre première utilisation : KIVO va créer les fichiers nécessaire à son "
        u"utilisation\r"
        u"Cliquer une seconde fois sur 'Lancer SSE' pour commencer."};
    return pick(language, texts);
}

QString msgselheader(const QString &language)
{
    static constexpr Texts texts{u"Select header file to play a Saturn game",
                                 u"Scegli un file header per usare un gioco del Saturn",
                                 u"Sélectionner l'en-tête pour jouer à un jeu Sega Saturn"};
    return pick(language, texts);
}

QString msgselbios(const QString &language)
{
    static constexpr Texts texts{u"Select BIOS File", u"Scegli File BIOS", u"Sélectionner le BIOS"};
    return pick(language, texts);
}

QString msgnostretch(const QString &language)
{
    static constexpr Texts texts{u"No Stretching (Default)", u"Niente Stretch (Default)",
                                 u"Aucune extension (Par défaut)"};
    return pick(language, texts);
}

QString msgfullstretch(const QString &language)
{
    static constexpr Texts texts{u"Full Screen Stretch", u"Stretch a Tutto Schermo",
                                 u"Plein écran"};
    return pick(language, texts);
}

QString msgpropstretch(const QString &language)
{
    static constexpr Texts texts{u"Proportional Stretch", u"Stretch Proporzionale",
                                 u"Agrandissement proportionnel"};
    return pick(language, texts);
}

QString msgselstvrom(const QString &language)
{
    static constexpr Texts texts{u"Select a rom to play an St-V game",
                                 u"Scegli una rom per giocare con l'ST-V",
                                 u"Sélectionner un jeu ST-V"};
    return pick(language, texts);
}

QString msgromdirname(const QString &language, const QString &selstvrom)
{
    static constexpr Texts texts{u"(Dir or Zip name for selected game: ",
                                 u"(Nome Dir o Zip per il gioco scelto: ",
                                 u"(Séléctionner un jeu [un zip ou un répertoire]: "};
    const QString opening = pick(language, texts);
    if (opening.isEmpty())
        return opening;
    return opening + selstvrom + u')';
}

QString msgneedbioshdr(const QString &language)
{
    static constexpr Texts texts{
        u"Select a BIOS file, and an header file befor running the emulator.",
        u"Scegli un file BIOS, e un file header prima di lanciare l'emulatore.",
        u"Séléctionner le BIOS, et une en-tête avant de lancer l'émulateur."};
    return pick(language, texts);
}

QString msgneedbiosrom(const QString &language)
{
    static constexpr Texts texts{u"Select a BIOS file, and a game rom befor running the emulator.",
                                 u"Scegli un file BIOS, e un gioco prima di lanciare l'emulatore.",
                                 u"Séléctionner le BIOS, et un jeu avant de lancer l'émulateur."};
    return pick(language, texts);
}

QString msgnotinssedir(const QString &language)
{
    static constexpr Texts texts{
        u"KIVO isn't in SSE Folder.\r"
        u"Please put KIVO in the same folder as SSE, and run again.",
        u"KIVO non si trova nella cartella dell'SSE.\r"
        u"Copia KIVO nella stessa cartella di SSE, e lancialo nuovamente.",
        u"KIVO n'est pas situé dans le même répertoire que SSE.\r"
        u"Vous devez placer KIVO dans le même répertoire que SSE. Une fois fait, re-lancer le "
        u"logiciel."};
    return pick(language, texts);
}

QString msgnoheaders(const QString &language)
{
    static constexpr Texts texts{u"No 'headers' folder found under SSE folder.",
                                 u"Cartella 'headers' non trovata nella cartella di SSE",
                                 u"Aucun répertoire d'en-tête dans le répertoire de SSE."};
    return pick(language, texts);
}

QString msgnobios(const QString &language)
{
    static constexpr Texts texts{u"No 'bios' folder found under SSE folder.",
                                 u"Cartella 'bios' non trovata nella cartella di SSE",
                                 u"Aucun répertoire BIOS dans le répertoire de SSE."};
    return pick(language, texts);
}

QString msgnossepath(const QString &language)
{
    static constexpr Texts texts{u"SSE program path not found.",
                                 u"Cartella del programma SSE non trovata",
                                 u"Le chemin d'accès de SSE n'a pas été trouvé."};
    return pick(language, texts);
}

QString msgneedhdrname(const QString &language)
{
    static constexpr Texts texts{
        u"First write an header name, then click on 'Extract Header'.",
        u"Prima scrivi un nome per l'header, quindi clicka su 'Estrai Header'",
        u"Vous devez écrire le nom de votre en-tête, et ensuite cliquer sur 'Extraire "
        u"l'en-tête'."};
    return pick(language, texts);
}

QString msgnoextrlow(const QString &language)
{
    static constexpr Texts texts{
        u"extrlow.exe could not be started. It must be in the SSE folder, and a Windows "
        u"extrlow.exe needs wine.",
        u"Impossibile avviare extrlow.exe. Deve trovarsi nella cartella di SSE, e la versione "
        u"per Windows richiede wine.",
        u"Impossible de lancer extrlow.exe. Il doit se trouver dans le répertoire de SSE, et la "
        u"version Windows nécessite wine."};
    return pick(language, texts);
}

} // namespace Messages
