#include "lang/lang.h"
#include "ui_form1.h"

#include "mainwindow/form1.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace Lang
{

namespace
{

// The window a control shows in; a menu's popup counts as its menu bar's.
QWidget *windowOf(QObject *control)
{
    for (QObject *up = control->parent(); up; up = up->parent()) {
        auto *widget = qobject_cast<QWidget *>(up);
        if (widget && widget->isWindow() && !qobject_cast<QMenu *>(widget))
            return widget;
    }
    return nullptr;
}

// The other windows are children of the main window and reuse control
// names: only a control of this window will do.
QObject *controlOf(QWidget &window, const QString &name)
{
    const QList<QObject *> candidates = window.findChildren<QObject *>(name);
    for (QObject *candidate : candidates) {
        if (windowOf(candidate) == &window)
            return candidate;
    }
    return nullptr;
}

void setCaption(QWidget &window, const QString &control, const QString &text)
{
    if (window.objectName() == control) {
        window.setWindowTitle(text);
        return;
    }
    QObject *target = controlOf(window, control);
    if (auto *label = qobject_cast<QLabel *>(target))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(target))
        button->setText(text);
    else if (auto *frame = qobject_cast<QGroupBox *>(target))
        frame->setTitle(text);
    else if (auto *menu = qobject_cast<QMenu *>(target))
        menu->setTitle(text);
    else if (auto *action = qobject_cast<QAction *>(target))
        action->setText(text);
    else if (auto *widget = qobject_cast<QWidget *>(target))
        widget->setAccessibleName(text); // a field or list without a label of its own
    else
        qWarning("No control %s to caption", qUtf8Printable(control));
}

} // namespace

void applyCaption(QWidget &window, const QString &language, const Caption &caption)
{
    // No match for the language: the control keeps its caption.
    if (!Messages::isLanguage(language))
        return;
    setCaption(window, caption.control.toString(), Messages::pick(language, caption.texts));
}

namespace
{

const Caption command3Caption{u"Command3", {u"Browse", u"Esplora", u"Chemin"}};

// Captions of the main window after the Browse buttons, in the order written.
const Caption mainCaptions[] = {
    {u"Command1", {u"Select Header", u"Scegli Header", u"Sélectionner l'en-tête"}},
    {u"Command8", {u"Run SSE", u"Avvia SSE", u"Lancer SSE"}},
    {u"Frame4", {u"Emulator Path", u"Cartella Emulatore", u"Chemin de l'émulateur"}},
    {u"Frame1", {u"System and Game", u"Sistema e Gioco", u"Système et jeu"}},
    {u"Frame5", {u"Video Settings", u"Impostazioni Video", u"Paramètres Vidèo"}},
    {u"Frame3", {u"Advanced Settings", u"Impostazioni Avanzate", u"Paramètres Avancées"}},
    {u"Label11", {u"SSE Path:", u"Cartella di SSE:", u"Chemin de SSE:"}},
    {u"Label12", {u"Resolution:", u"Risoluzione:", u"Résolution:"}},
    {u"Label5", {u"Internal Backup:", u"Backup Interno:", u"Sauvegarde Interne:"}},
    {u"Label6", {u"Backup Cartridge:", u"Cartuccia di Backup:", u"Sauvegarde sur cartouche:"}},
    {u"Label7",
     {u"Poligon Coords Fix (see FAQ):", u"Poligon Coords Fix (vedi FAQ):",
      u"Coord. des polygones Fixes (Voir la FAQ):"}},
    {u"Label8",
     {u"Disable Math DSP Emulation", u"Disattiva Emulazione Math DSP",
      u"Désactiver l'émulation du DSP"}},
    {u"Label9",
     {u"Disable Sprite Priority", u"Disattiva Priorità Sprite",
      u"Désactiver la priorité des Sprites"}},
    {u"Label10",
     {u"Enable Logging to ERROR.LOG", u"Abilita Logging in ERROR.LOG",
      u"Activer le journal (ERROR.LOG)"}},
    {u"file", {u"&File", u"&File", u"&Fichier"}},
    {u"file1", {u"E&xit", u"&Esci", u"&Quitter"}},
    {u"opz", {u"&Options", u"&Opzioni", u"&Options"}},
    {u"opz1", {u"Frontend &Language", u"&Lingua Frontend", u"Interface et &Langues"}},
    {u"help", {u"&Help", u"&Aiuto", u"&Aide"}},
    {u"help1", {u"&About..", u"&Info su..", u"&A propos..."}},
    // What a screen reader says of the fields and lists that have no label of their own.
    {u"Text1", {u"Header file", u"File header", u"Fichier d'en-tête"}},
    {u"Text5",
     {u"Internal backup file", u"File di backup interno", u"Fichier de sauvegarde interne"}},
    {u"Text6",
     {u"Backup cartridge file", u"File della cartuccia di backup",
      u"Fichier de la cartouche de sauvegarde"}},
    {u"Combo1",
     {u"Polygon coords fix mode", u"Modalità Poligon Coords Fix",
      u"Mode de correction des polygones"}},
    {u"Combo2", {u"ST-V game", u"Gioco ST-V", u"Jeu ST-V"}},
};

} // namespace

void langmainform(Form1 &form, const QString &language)
{
    const auto &ui = form.ui;
    // A prompt shows only where nothing is chosen: a switch changes words, never choices.
    {
        const Form1::PromptRewrite rewrite(form);
        ui->Text1->setPrompt(Messages::msgselheader(language));
    }
    ui->Text3->setPrompt(Messages::msgselbios(language));
    ui->Text4->setPrompt(Messages::msgselbios(language));
    ui->Combo4->setItemText(0, Messages::msgnostretch(language));
    ui->Combo4->setItemText(1, Messages::msgfullstretch(language));
    ui->Combo4->setItemText(2, Messages::msgpropstretch(language));
    if (!form.selstvrom.isEmpty())
        ui->Label15->setText(Messages::msgromdirname(language, form.selstvrom));
    applyCaption(form, language, command3Caption);
    ui->Combo2->setItemData(0, Messages::msgselstvrom(language), Qt::AccessibleTextRole);
    if (form.selstvrom.isEmpty())
        ui->Combo2->setEditAreaText(Messages::msgselstvrom(language));
    for (QPushButton *browse : {ui->Command4, ui->Command5, ui->Command6, ui->Command7})
        browse->setText(ui->Command3->text());
    applyCaptions(form, language, mainCaptions);

    // Only the windows that are there: the others take the language when they
    // open, and making them here would cost every start-up their set-up.
    if (!form.about.isNull())
        langabout(form, language);
    if (!form.apriFile.isNull())
        langaprifile(form, language);
    if (!form.extrlowL.isNull())
        langextrlow(form, language);
}

} // namespace Lang
