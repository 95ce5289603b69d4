#include "picker/shortpath.h"

#include <QFileInfo>

QString GetShortPathName(const QString &strLongPath)
{
    // The system reads a path up to its first NUL, as it would a C string.
    const QString canonical = QFileInfo(StripTerminator(strLongPath)).canonicalFilePath();
    if (canonical.isEmpty())
        return QStringLiteral("Impossibile trovare il file o la cartella: ") + strLongPath;
    return canonical;
}

QString StripTerminator(const QString &strString)
{
    const qsizetype terminator = strString.indexOf(QChar(0));
    return terminator < 0 ? strString : strString.left(terminator);
}
