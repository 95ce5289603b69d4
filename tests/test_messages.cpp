#include "lang/messages.h"

#include <QTest>

using namespace Messages;

// The catalogue's texts, written out here on their own so that a changed
// letter or blank in the program shows (the two-line ones with a lone
// carriage return). Other tests compare with the catalogue.
class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void everyTextInEveryLanguage();
    void namesThatAreNoLanguageGiveNothing();
    void romDirNameEmbedsTheRomSet();
};

using Message = QString (*)(const QString &);

void TestMessages::everyTextInEveryLanguage()
{
    int checked = 0;
    // Each row names its message, so that a failure says which text differs.
    auto row = [&checked](const char *name, Message message, const char16_t *en, const char16_t *it,
                          const char16_t *fr) {
        const QString texts[] = {QString::fromUtf16(en), QString::fromUtf16(it),
                                 QString::fromUtf16(fr)};
        const QString languages[] = {QStringLiteral("English"), QStringLiteral("Italiano"),
                                     QString::fromUtf16(u"Français")};
        for (int language = 0; language < 3; ++language) {
            const QString actual = message(languages[language]);
            if (actual != texts[language]) {
                qWarning("%s in %s: got \"%s\"", name, qUtf8Printable(languages[language]),
                         qUtf8Printable(actual));
                return;
            }
        }
        ++checked;
    };
    row("msgfirstrun", msgfirstrun,
        u"This is the first run: KIVO has created a necessary file to run SSE.\rClick again on "
        u"'Run SSE' button to start.",
        u"Questa è la prima volta che lanci SSE: KIVO ha creato i file necessari al funzionamento "
        u"dell'emulatore.\rClicka nuovamente su 'Run SSE' per iniziare.",
        u"Ceci est votre première utilisation : KIVO va créer les fichiers nécessaire à son "
        u"utilisation\rCliquer une seconde fois sur 'Lancer SSE' pour commencer.");
    row("msgselheader", msgselheader, u"Select header file to play a Saturn game",
        u"Scegli un file header per usare un gioco del Saturn",
        u"Sélectionner l'en-tête pour jouer à un jeu Sega Saturn");
    row("msgselbios", msgselbios, u"Select BIOS File", u"Scegli File BIOS",
        u"Sélectionner le BIOS");
    row("msgnostretch", msgnostretch, u"No Stretching (Default)", u"Niente Stretch (Default)",
        u"Aucune extension (Par défaut)");
    row("msgfullstretch", msgfullstretch, u"Full Screen Stretch", u"Stretch a Tutto Schermo",
        u"Plein écran");
    row("msgpropstretch", msgpropstretch, u"Proportional Stretch", u"Stretch Proporzionale",
        u"Agrandissement proportionnel");
    row("msgselstvrom", msgselstvrom, u"Select a rom to play an St-V game",
        u"Scegli una rom per giocare con l'ST-V", u"Sélectionner un jeu ST-V");
    row("msgneedbioshdr", msgneedbioshdr,
        u"Select a BIOS file, and an header file befor running the emulator.",
        u"Scegli un file BIOS, e un file header prima di lanciare l'emulatore.",
        u"Séléctionner le BIOS, et une en-tête avant de lancer l'émulateur.");
    row("msgneedbiosrom", msgneedbiosrom,
        u"Select a BIOS file, and a game rom befor running the emulator.",
        u"Scegli un file BIOS, e un gioco prima di lanciare l'emulatore.",
        u"Séléctionner le BIOS, et un jeu avant de lancer l'émulateur.");
    row("msgnotinssedir", msgnotinssedir,
        u"KIVO isn't in SSE Folder.\rPlease put KIVO in the same folder as SSE, and run again.",
        u"KIVO non si trova nella cartella dell'SSE.\rCopia KIVO nella stessa cartella di SSE, e "
        u"lancialo nuovamente.",
        u"KIVO n'est pas situé dans le même répertoire que SSE.\rVous devez placer KIVO dans le "
        u"même répertoire que SSE. Une fois fait, re-lancer le logiciel.");
    row("msgnoheaders", msgnoheaders, u"No 'headers' folder found under SSE folder.",
        u"Cartella 'headers' non trovata nella cartella di SSE",
        u"Aucun répertoire d'en-tête dans le répertoire de SSE.");
    row("msgnobios", msgnobios, u"No 'bios' folder found under SSE folder.",
        u"Cartella 'bios' non trovata nella cartella di SSE",
        u"Aucun répertoire BIOS dans le répertoire de SSE.");
    row("msgnossepath", msgnossepath, u"SSE program path not found.",
        u"Cartella del programma SSE non trovata", u"Le chemin d'accès de SSE n'a pas été trouvé.");
    row("msgneedhdrname", msgneedhdrname,
        u"First write an header name, then click on 'Extract Header'.",
        u"Prima scrivi un nome per l'header, quindi clicka su 'Estrai Header'",
        u"Vous devez écrire le nom de votre en-tête, et ensuite cliquer sur 'Extraire "
        u"l'en-tête'.");
    QCOMPARE(checked, 14);
}

void TestMessages::namesThatAreNoLanguageGiveNothing()
{
    const QStringList notLanguages{QString(),
                                   QStringLiteral("english"),
                                   QStringLiteral("ENGLISH"),
                                   QStringLiteral("Francais"),
                                   QString::fromUtf16(u"français"),
                                   QStringLiteral("Italiano ")};
    const Message all[] = {msgfirstrun,    msgselheader,   msgselbios,   msgnostretch,
                           msgfullstretch, msgpropstretch, msgselstvrom, msgneedbioshdr,
                           msgneedbiosrom, msgnotinssedir, msgnoheaders, msgnobios,
                           msgnossepath,   msgneedhdrname};
    for (const QString &name : notLanguages) {
        for (Message message : all)
            QCOMPARE(message(name), QString());
        QCOMPARE(msgromdirname(name, QStringLiteral("sss")), QString());
    }
}

void TestMessages::romDirNameEmbedsTheRomSet()
{
    QCOMPARE(msgromdirname(QStringLiteral("English"), QString()),
             QStringLiteral("(Dir or Zip name for selected game: )"));
    QCOMPARE(msgromdirname(QStringLiteral("English"), QStringLiteral("astrass")),
             QStringLiteral("(Dir or Zip name for selected game: astrass)"));
    QCOMPARE(msgromdirname(QStringLiteral("Italiano"), QStringLiteral("sss")),
             QStringLiteral("(Nome Dir o Zip per il gioco scelto: sss)"));
    QCOMPARE(msgromdirname(QString::fromUtf16(u"Français"), QStringLiteral("sss")),
             QString::fromUtf16(u"(Séléctionner un jeu [un zip ou un répertoire]: sss)"));
}

QTEST_APPLESS_MAIN(TestMessages)
#include "test_messages.moc"
