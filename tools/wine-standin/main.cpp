// A stand-in for wine, for tests: it records how it was asked to start a
// Windows program, in wine-standin.log in its working folder, and starts
// nothing. It reads its arguments as Wine does, in the codeset of the
// character locale it was given, so a name that would reach the Windows
// program garbled is logged garbled.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <clocale>
#include <cstdio>
#include <langinfo.h>

int main(int argc, char *argv[])
{
    std::setlocale(LC_CTYPE, "");
    const QString codeset = QString::fromLatin1(nl_langinfo(CODESET));
    const bool utf8 = codeset == u"UTF-8";
    QStringList arguments;
    for (int index = 1; index < argc; ++index) {
        arguments.append(utf8 ? QString::fromUtf8(argv[index]) : QString::fromLatin1(argv[index]));
    }

    const QString folder = QDir::currentPath();
    const QJsonObject entry{{QStringLiteral("arguments"), QJsonArray::fromStringList(arguments)},
                            {QStringLiteral("cwd"), folder},
                            {QStringLiteral("codeset"), codeset}};
    QFile log(QDir(folder).filePath(QStringLiteral("wine-standin.log")));
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append) || log.write(line) != line.size()) {
        std::fprintf(stderr, "wine: cannot write %s\n",
                     QFile::encodeName(log.fileName()).constData());
        return 1;
    }
    return 0;
}
