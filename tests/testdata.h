#pragma once

// Small pieces of data that the widget, library and end-to-end tests make alike.

#include <QByteArray>
#include <QStringList>

// A list written as one text, its items between single blanks.
inline QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(u' ');
}

// A Windows program for that machine: "MZ", and at 0x40 the PE header.
inline QByteArray windowsProgram(quint16 machine)
{
    QByteArray bytes = QByteArray("MZ").leftJustified(0x40, '\0');
    bytes[0x3c] = char(0x40);
    return bytes + QByteArray("PE\0\0", 4) + char(machine & 0xff) + char(machine >> 8);
}
