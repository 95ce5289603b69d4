#include "lang/lang.h"
#include "ui_aprifile.h"

#include "mainwindow/form1.h"
#include "picker/aprifile.h"

namespace Lang
{

void langaprifile(Form1 &form, const QString &language)
{
    static constexpr Caption captions[] = {
        {u"ApriFile",
         {u"Select file/Path", u"Scegli file/Cartella", u"Sélectionner un fichier/chemin"}},
        {u"Label1", {u"Find in:", u"Cerca in:", u"Trouver dans:"}},
        {u"Label2", {u"File Type:", u"Tipo File:", u"Type de fichier:"}},
        {u"CancelButton", {u"&Cancel", u"&Annulla", u"Annuler"}},
        // Names for a screen reader.
        {u"Dir1", {u"Folders", u"Cartelle", u"Répertoires"}},
        {u"File1", {u"Files", u"File", u"Fichiers"}},
        {u"Text1", {u"Current folder", u"Cartella attuale", u"Répertoire courant"}},
    };
    applyCaptions(form.aprifileWindow(), language, captions);
}

} // namespace Lang
