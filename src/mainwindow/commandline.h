#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace kivo
{

// A command line kept both as the text a person reads and as the argument
// list a process receives. Fixed words split at blanks; a value (a file,
// rom set or header name) is always exactly one argument, whatever it
// holds, and an empty value adds none.
class CommandLine
{
public:
    CommandLine() = default;
    static CommandLine words(QStringView text);
    static CommandLine value(const QString &text);

    QString text() const;
    QStringList arguments() const;
    bool isEmpty() const;

    CommandLine &operator+=(const CommandLine &other);
    friend CommandLine operator+(CommandLine left, const CommandLine &right)
    {
        return left += right;
    }

private:
    struct Piece {
        QString text;
        bool isValue;
    };
    QVector<Piece> pieces;
};

} // namespace kivo
