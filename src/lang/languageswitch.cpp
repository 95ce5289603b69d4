#include "lang/lang.h"
#include "lang/messages.h"
#include "mainwindow/form1.h"
#include "mainwindow/settingskeys.h"
#include "ui_form1.h"

void Form1::applyLanguage(const QString &language)
{
    // The items are in the order of the languages.
    const int index = Messages::languageIndex(language);
    if (index >= 0)
        ui->opz1Items->actions().at(index)->setChecked(true);
    lingua = language;
    Lang::langmainform(*this, language);
    describeLater();
}

void Form1::switchLanguage(const QString &language)
{
    // Runs in full even for the current language: captions again, saved again.
    const kivo::SavedTogether together(platform.settings);
    applyLanguage(language);
    platform.settings.save(kivo::sectionGeneral, kivo::key::language, language);
}

void Form1::opz11_Click()
{
    switchLanguage(Messages::languages[0].toString());
}

void Form1::opz12_Click()
{
    switchLanguage(Messages::languages[1].toString());
}

void Form1::opz13_Click()
{
    switchLanguage(Messages::languages[2].toString());
}
