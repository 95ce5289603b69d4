#pragma once

#include <QList>
#include <QPair>
#include <QProcessEnvironment>
#include <QString>

// What KIVO needs to know of Wine, the way Linux users run SSE, a Windows
// program.
namespace kivo
{

// What a program file is, by its header.
enum class ProgramKind { Native, Windows32, Windows64 };
ProgramKind programKind(const QString &file);

// The Wine that would start a Windows program.
class WineSupport
{
public:
    virtual ~WineSupport() = default;
    // The wine found on the PATH, or "" when there is none.
    virtual QString program() const = 0;
    // Whether that wine can run a 32-bit Windows program.
    virtual bool runs32Bit(const QString &wine) const = 0;
};

class InstalledWine : public WineSupport
{
public:
    QString program() const override;
    bool runs32Bit(const QString &wine) const override;
};

// The environment to start Wine in: Wine reads the names it is given in
// the character locale, so a locale that is not UTF-8 would garble every
// name that is not plain ASCII. Such a locale gets a UTF-8 one for its
// characters; everything else stays as it is.
QProcessEnvironment wineEnvironment(const QProcessEnvironment &environment);

// The Wine prefix in use: $WINEPREFIX, else ~/.wine.
QString winePrefix(const QProcessEnvironment &environment);
// The drive letters the prefix defines ("c:", "d::", ...) and what each
// stands for, in name order; none when the prefix has no dosdevices.
QList<QPair<QString, QString>> wineDrives(const QString &prefix);

} // namespace kivo
