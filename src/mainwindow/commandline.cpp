#include "mainwindow/commandline.h"

namespace kivo
{

CommandLine CommandLine::words(QStringView text)
{
    CommandLine line;
    if (!text.isEmpty())
        line.pieces.append({text.toString(), false});
    return line;
}

CommandLine CommandLine::value(const QString &text)
{
    CommandLine line;
    if (!text.isEmpty())
        line.pieces.append({text, true});
    return line;
}

QString CommandLine::text() const
{
    QString joined;
    for (const Piece &piece : pieces)
        joined += piece.text;
    return joined;
}

QStringList CommandLine::arguments() const
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    for (const Piece &piece : pieces) {
        if (piece.isValue) {
            current += piece.text;
            inArgument = true;
            continue;
        }
        for (const QChar c : piece.text) {
            if (c != QLatin1Char(' ')) {
                current += c;
                inArgument = true;
            } else if (inArgument) {
                arguments.append(current);
                current.clear();
                inArgument = false;
            }
        }
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

bool CommandLine::isEmpty() const
{
    return pieces.isEmpty();
}

CommandLine &CommandLine::operator+=(const CommandLine &other)
{
    pieces += other.pieces;
    return *this;
}

} // namespace kivo
