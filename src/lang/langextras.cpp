#include "lang/lang.h"
#include "ui_about.h"
#include "ui_extrlowl.h"

#include "extras/about.h"
#include "extras/extrlowl.h"
#include "mainwindow/form1.h"

namespace Lang
{

// Multi-line captions break lines with a carriage return and a line feed.

void langextrlow(Form1 &form, const QString &language)
{
    // The window's own caption and the name box are the same in every language.
    static constexpr Caption captions[] = {
        {u"Frame1", {u"Infos:", u"Informazioni:", u"Informations:"}},
        {u"Label1",
         {u"This is a little 'frontend' for extrlow.\r\n\r\n"
          u"Extrlow is a little program, written by tormik and distributed with SSE, that "
          u"extracts an image of the lower 16 sectors of a Saturn cdrom.\r\n"
          u"This image is REQUIRED from SSE to boot every Saturn Cd-Rom.",
          u"Questo è un piccolo 'frontend' per extrlow.\r\n\r\n"
          u"Extrlow è un piccolo programma, scritto da tormik e distribuito con SSE, che estrae "
          u"un immagine dei primi 16 settori di un cdrom del Saturn.\r\n"
          u"Questa immagine è NECESSARIA ad SSE per lanciare un qualsiasi Cd-Rom del Saturn.",
          u"Ceci est une petite interface graphique pour Extrlow.\r\n\r\n"
          u"Extrlow est un petit logiciel, développé par tormik et distribué avec SSE. Il "
          u"extrait une images de 16 secteurs du CD Saturn.\r\n\r\n"
          u"Cette image est nécessaire à SSE, pour lancer n'importe quel CD Saturn."}},
        {u"Frame2",
         {u"Usage  && Requirements:", u"Utilizzo  && Requisiti di sistema:",
          u"Utilisation && conditions:"}},
        {u"Label2",
         {u"The only requirements to use this program are a PC running under "
          u"Win9X/ME/NT/2K/XP and a cdrom drive supported by the WNASPI32 library (and a good "
          u"WNASPI32 installation obviously ^_^).\r\n\r\n"
          u"If your system meets this requirements you have only to insert a Saturn Cd-Rom in "
          u"the FIRST DRIVE (extrlow does only support the first cd-rom drive), write down here "
          u"the header name (eg: if your game is 'Daytona USA' write 'daytona', no file "
          u"extension required), and click on 'Extract header'.\r\n\r\n"
          u"(note: extrlow was tested only on a very few PCs, it's absolutely not granted to "
          u"work at all. If it doesn't work you could use cdrwin: check sse's readme for more "
          u"infos.)",
          u"Gli unici requisiti per usare questo programma sono un PC con Win9X/ME/NT/2K/XP e un "
          u"driver cd-rom supportato dalle librerie WNASPI32 (e una buona installazione di "
          u"WNASPI32 ovviamente ^_^ ).\r\n\r\n"
          u"Se il tuo sistema rispetta questi requisiti devi solamente inserire un Cd-rom del "
          u"Saturn nel tuo PRIMO DRIVE (extrlow supporta solamente il primo drive cd-rom), "
          u"scrivere qui sotto il nome dell'header (eg: se il tuo gioco è 'Daytona USA' scrivi "
          u"'daytona', senza estensione del file), e clicca su 'Estrai header'.\r\n\r\n"
          u"(nota: extrlow è stato testato solo su pochi PC, non è assolutamente garantito il "
          u"suo funzionamento. Se non funzionasse usa cdrwin: leggi il readme di sse per "
          u"maggiori info.)",
          u"La seule condition pour utiliser ce logiciel est de posséder un PC, équipé de "
          u"Win9X/ME/NT/2K/XP et d'un lecteur de CD-ROM supporté par la bibliothèque WNASPI32 "
          u"(et évidemment d'une bonne installation de WNASPI32 ^_^).\r\n\r\n"
          u"Si ces conditions sont remplies, il ne vous reste plus qu'à insérer un CD Saturn  "
          u"dans votre PREMIER lecteur (Extrlow supporte seulement le premier lecteur), et "
          u"d'écrire le nom de l'en-tête (Par exemple: Si le jeu est 'Daytona USA' écrivez "
          u"'daytona'. aucune extension n'est nécessaire). Ensuite cliquez sur 'Extraire "
          u"l'en-tête'.\r\n\r\n"
          u"(note: Extrlow a été testé sur quelques machines. Il n'y a aucune garantie que ça "
          u"marchera pour tout. Si cela ne marche pas, vous pouvez utiliser CDRWin: référez vous "
          u"au fichier readme de sse pour plus d'informatons.)"}},
        {u"Label3",
         {u"Extract header and save as:", u"Estrai header e salva con nome:",
          u"Extraire l'en-tête et sauvegarder sous:"}},
        {u"Command1", {u"&Extract Header", u"&Estrai Header", u"Extraire l'en-tête"}},
    };
    // A name that is none of the three changes nothing, and makes no window.
    if (!Messages::isLanguage(language))
        return;
    ExtrlowL &window = form.extrlowlWindow();
    applyCaptions(window, language, captions);
    // Orca reads a dialog's labels when it opens, but not those in a titled
    // frame, which Qt gives the frame as their label: the dialog tells them.
    const Ui::ExtrlowL &ui = *window.ui;
    QStringList told;
    for (const auto &[frame, label] : {std::pair{ui.Frame1, ui.Label1}, {ui.Frame2, ui.Label2}})
        told << QString(frame->title()).replace(QStringLiteral("&&"), QStringLiteral("&"))
             << label->text();
    window.setAccessibleDescription(told.join(QLatin1Char('\n')));
}

void langabout(Form1 &form, const QString &language)
{
    // The homepage, e-mail and translator lines are the project's own; the
    // OK button and the frames keep their design in every language.
    static constexpr Caption captions[] = {
        {u"About",
         {u"About KIVO - Olvar's SSE Frontend 0.2", u"Info su KIVO - Olvar's SSE Frontend 0.2",
          u"A propos de KIVO - Olvar's SSE Frontend 0.2"}},
        {u"Label1",
         {u"(no logo at the moment....)", u"(il programma non ha ancora un logo....)",
          u"(Aucun logo en ce moment...)"}},
        {u"Label3",
         {u"KIVO, an Italian frontend for an Italian Sega Saturn Emulator ^__^ , made by "
          u"Olvar.\r\n\r\n"
          u"Homepage: https://kivo.example.org/\r\n"
          u"Olvar's email: kivo@example.org\r\n\r\n"
          u"(PS: sorry for this lame about window! ;) )",
          u"KIVO, un frontend Italiano per l'Italiano Sega Saturn Emulator ^__^ , realizzato da "
          u"Olvar.\r\n\r\n"
          u"Homepage: https://kivo.example.org/\r\n"
          u"Olvar's email: kivo@example.org\r\n\r\n"
          u"(PS: scusate per la rozza finestra di informazioni! ;) )",
          u"KIVO est une interface créée par un italien pour un émulateur Sega Saturn italien "
          u"^__^ , développé par Olvar.\r\n\r\n"
          u"Homepage: https://kivo.example.org/\r\n"
          u"Email de Olvar: kivo@example.org\r\n\r\n"
          u"(PS: désolé pour cette lamentable fenêtre ;) )\r\n\r\n"
          u"Traduction française : l'équipe de traduction de KIVO\r\n"
          u"https://kivo.example.org/fr/"}},
        {u"Label2", {u"", u"", u""}},
    };
    if (!Messages::isLanguage(language))
        return;
    applyCaptions(form.aboutWindow(), language, captions);
}

} // namespace Lang
