#pragma once

#include "mainwindow/form1.h"
#include "ui_form1.h"

#include <QStringList>

// What a person sees of every choice in the main window, and what "Run SSE"
// would start: two starts that show the same list look the same to a user.
inline QStringList shownState(Form1 &form)
{
    const auto &ui = form.ui;
    QStringList shown;
    for (PathField *field : {ui->Text1, ui->Text3, ui->Text4, ui->Text5, ui->Text6, ui->Text7})
        shown << field->objectName() + u'=' + field->text() + u'|' + field->tag() + u'|' +
                     QString::number(field->isEnabled());
    for (ListBox *list : {ui->Combo1, ui->Combo2, ui->Combo3, ui->Combo4, ui->Combo5})
        shown << list->objectName() + u'=' + QString::number(list->currentIndex()) + u'|' +
                     list->editAreaText();
    for (QCheckBox *box : {ui->Check1, ui->Check2, ui->Check3, ui->Check4, ui->Check5, ui->Check6})
        shown << box->objectName() + u'=' + QString::number(box->checkState()) + u'|' +
                     QString::number(box->isEnabled());
    for (QRadioButton *option : {ui->Option1, ui->Option2})
        shown << option->objectName() + u'=' + QString::number(option->isChecked()) + u'|' +
                     QString::number(option->isEnabled());
    for (QAction *language : {ui->opz11, ui->opz12, ui->opz13})
        shown << language->objectName() + u'=' + QString::number(language->isChecked());
    shown << QStringLiteral("Frame1=") + ui->Frame1->title();
    shown << QStringLiteral("Label15=") + ui->Label15->text();
    shown << QStringLiteral("run=") + form.launchDecision().line.arguments().join(u'|');
    return shown;
}
