#pragma once

#include "lang/messages.h"

#include <QString>
#include <QStringView>

class Form1;
class QWidget;

// The caption tables: each puts one window's texts into a language.
// Applying a table creates its window, hidden, when it is not there.
namespace Lang
{

// One control's caption in the three languages, found by its object name.
// The window's own object name stands for its title.
struct Caption {
    QStringView control;
    Messages::Texts texts;
};

// Writes each caption in the language named; with a name that is none of
// the three, changes nothing.
template <std::size_t N>
void applyCaptions(QWidget &window, const QString &language, const Caption (&captions)[N]);
void applyCaption(QWidget &window, const QString &language, const Caption &caption);

void langmainform(Form1 &form, const QString &language);
void langaprifile(Form1 &form, const QString &language);
void langextrlow(Form1 &form, const QString &language);
void langabout(Form1 &form, const QString &language);

template <std::size_t N>
void applyCaptions(QWidget &window, const QString &language, const Caption (&captions)[N])
{
    for (const Caption &caption : captions)
        applyCaption(window, language, caption);
}

} // namespace Lang
