#include "mainwindow/wine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtEndian>

namespace kivo
{

namespace
{

constexpr quint16 machineX64 = 0x8664;
constexpr quint16 machineArm64 = 0xaa64;

bool isUtf8(const QString &locale)
{
    const QString lower = locale.toLower();
    return lower.contains(u"utf-8") || lower.contains(u"utf8");
}

} // namespace

// A Windows program begins "MZ"; its PE header, found at offset 0x3c,
// names the machine it is for. Anything with "MZ" but no 64-bit machine
// needs a 32-bit Wine (32-bit programs, and older kinds that Wine runs the
// same way).
ProgramKind programKind(const QString &file)
{
    QFile program(file);
    if (!program.open(QIODevice::ReadOnly))
        return ProgramKind::Native;
    const QByteArray dos = program.read(0x40);
    if (!dos.startsWith("MZ"))
        return ProgramKind::Native;
    if (dos.size() < 0x40)
        return ProgramKind::Windows32;
    const quint32 peOffset = qFromLittleEndian<quint32>(dos.constData() + 0x3c);
    if (!program.seek(peOffset))
        return ProgramKind::Windows32;
    const QByteArray pe = program.read(6);
    if (pe.size() < 6 || !pe.startsWith(QByteArrayView("PE\0\0", 4)))
        return ProgramKind::Windows32;
    const quint16 machine = qFromLittleEndian<quint16>(pe.constData() + 4);
    return machine == machineX64 || machine == machineArm64 ? ProgramKind::Windows64
                                                            : ProgramKind::Windows32;
}

QString InstalledWine::program() const
{
    return QStandardPaths::findExecutable(QStringLiteral("wine"));
}

// Debian's rule, read off its packages: "wine" is a script that runs
// <prefix>/lib/wine/wine, the 32-bit loader of the package wine32, when it
// is there, and otherwise <prefix>/lib/wine/wine64 of the package wine64,
// which runs 64-bit programs only. A Wine laid out otherwise is trusted to
// run both.
bool InstalledWine::runs32Bit(const QString &wine) const
{
    const QString real = QFileInfo(wine).canonicalFilePath();
    if (real.isEmpty())
        return true;
    const QDir loaders(QFileInfo(real).dir().filePath(QStringLiteral("../lib/wine")));
    const QFileInfo loader32(loaders.filePath(QStringLiteral("wine")));
    const QFileInfo loader64(loaders.filePath(QStringLiteral("wine64")));
    return !loader64.isExecutable() || loader32.isExecutable();
}

QProcessEnvironment wineEnvironment(const QProcessEnvironment &environment)
{
    // The character locale is the first of these that is set.
    const QString all = environment.value(QStringLiteral("LC_ALL"));
    QString characters = all;
    if (characters.isEmpty())
        characters = environment.value(QStringLiteral("LC_CTYPE"));
    if (characters.isEmpty())
        characters = environment.value(QStringLiteral("LANG"));
    if (isUtf8(characters))
        return environment;

    QProcessEnvironment forWine = environment;
    if (!all.isEmpty()) {
        // LC_ALL would override the character locale. Without it, every
        // other category must still resolve to its value, not to what
        // LC_ALL used to hide.
        static const char *const categories[] = {
            "LANG",           "LC_ADDRESS",  "LC_COLLATE",   "LC_IDENTIFICATION",
            "LC_MEASUREMENT", "LC_MESSAGES", "LC_MONETARY",  "LC_NAME",
            "LC_NUMERIC",     "LC_PAPER",    "LC_TELEPHONE", "LC_TIME"};
        forWine.remove(QStringLiteral("LC_ALL"));
        for (const char *category : categories)
            forWine.insert(QLatin1String(category), all);
    }
    forWine.insert(QStringLiteral("LC_CTYPE"), QStringLiteral("C.UTF-8"));
    return forWine;
}

QString winePrefix(const QProcessEnvironment &environment)
{
    const QString prefix = environment.value(QStringLiteral("WINEPREFIX"));
    if (!prefix.isEmpty())
        return prefix;
    return QDir::home().filePath(QStringLiteral(".wine"));
}

QList<QPair<QString, QString>> wineDrives(const QString &prefix)
{
    QList<QPair<QString, QString>> drives;
    const QDir devices(QDir(prefix).filePath(QStringLiteral("dosdevices")));
    const QFileInfoList entries =
        devices.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    // Drive letters and their devices ("d::") only: not com1, lpt1 and the like.
    static const QRegularExpression driveLetter(QStringLiteral("^[a-z]::?$"));
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink() && driveLetter.match(entry.fileName()).hasMatch())
            drives.append({entry.fileName(), entry.symLinkTarget()});
    }
    return drives;
}

} // namespace kivo
