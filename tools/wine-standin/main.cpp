// A stand-in for wine, for tests: it records how it was asked to start a
// Windows program, in wine-standin.log in its working folder, and starts
// nothing.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));

    const QString folder = QDir::currentPath();
    const QJsonObject entry{{QStringLiteral("arguments"), QJsonArray::fromStringList(arguments)},
                            {QStringLiteral("cwd"), folder}};
    QFile log(QDir(folder).filePath(QStringLiteral("wine-standin.log")));
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append) || log.write(line) != line.size()) {
        std::fprintf(stderr, "wine: cannot write %s\n", log.fileName().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
