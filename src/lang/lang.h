#pragma once

#include <QString>

class Form1;

// The caption tables: each puts one window's texts into a language.
namespace Lang
{

void langmainform(Form1 &form, const QString &language);

} // namespace Lang
