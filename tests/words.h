#pragma once

#include <QStringList>

// A list written as one text, its items between single blanks.
inline QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(u' ');
}
