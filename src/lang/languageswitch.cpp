#include "lang/lang.h"
#include "mainwindow/form1.h"
#include "mainwindow/settingsstore.h"
#include "ui_form1.h"

void Form1::applyLanguage(const QString &language)
{
    ui->opz11->setChecked(language == u"English");
    ui->opz12->setChecked(language == u"Italiano");
    ui->opz13->setChecked(language == u"Français");
    lingua = language;
    Lang::langmainform(*this, language);
}

void Form1::switchLanguage(const QString &language)
{
    // Runs in full even for the current language: captions again, saved again.
    // The new header prompt may choose Saturn: saved with the language.
    const kivo::SavedTogether together(platform.settings);
    applyLanguage(language);
    platform.settings.save(kivo::sectionGeneral, QStringLiteral("language"), language);
}

void Form1::opz11_Click()
{
    switchLanguage(QStringLiteral("English"));
}

void Form1::opz12_Click()
{
    switchLanguage(QStringLiteral("Italiano"));
}

void Form1::opz13_Click()
{
    switchLanguage(QStringLiteral("Français"));
}
