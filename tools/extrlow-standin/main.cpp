// A stand-in for extrlow, so that KIVO's launcher can be tried and tested
// without a Saturn disc. Given a header file name, it writes a generated
// file of 16 sectors under that name into "headers" of its working folder,
// and records what it received in extrlow-standin.log beside itself. The
// bytes are made up here; nothing is read from any disc.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

namespace
{

const QString logName = QStringLiteral("extrlow-standin.log");
constexpr int sectorSize = 2048;
constexpr int sectorCount = 16;

void complain(const QString &text)
{
    std::fprintf(stderr, "extrlow.exe: %s\n", text.toLocal8Bit().constData());
}

// A recognisable text at the start of every sector, padded with a simple
// counting pattern.
QByteArray generatedHeader(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(sectorSize * sectorCount);
    for (int sector = 0; sector < sectorCount; ++sector) {
        QByteArray block = QStringLiteral("KIVO demo data: generated stand-in header \"%1\", "
                                          "sector %2 of %3. Not read from any disc.\n")
                               .arg(name, QString::number(sector), QString::number(sectorCount))
                               .toUtf8()
                               .left(sectorSize);
        for (int at = int(block.size()); at < sectorSize; ++at)
            block.append(char((sector * 31 + at) % 251));
        bytes.append(block);
    }
    return bytes;
}

bool appendLog(const QString &ownFolder, const QStringList &arguments, const QString &folder)
{
    const QJsonObject entry{{QStringLiteral("arguments"), QJsonArray::fromStringList(arguments)},
                            {QStringLiteral("cwd"), folder}};
    QFile log(QDir(ownFolder).filePath(logName));
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    return log.open(QIODevice::WriteOnly | QIODevice::Append) && log.write(line) == line.size();
}

bool writeHeader(const QString &folder, const QString &name)
{
    const QDir headers(QDir(folder).filePath(QStringLiteral("headers")));
    if (!headers.mkpath(QStringLiteral("."))) {
        complain(QStringLiteral("cannot make the folder %1").arg(headers.path()));
        return false;
    }
    QSaveFile file(headers.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) {
        complain(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
        return false;
    }
    file.write(generatedHeader(name));
    if (!file.commit()) {
        complain(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    QCoreApplication application(argc, argv);

    const QString folder = QDir::currentPath();
    if (!appendLog(QCoreApplication::applicationDirPath(), arguments, folder))
        complain(QStringLiteral("cannot write %1").arg(logName));

    if (arguments.size() != 1) {
        complain(QStringLiteral("usage: extrlow.exe HEADERFILE (one argument, got %1)")
                     .arg(arguments.size()));
        return 2;
    }
    // A name, not a path: the file goes into "headers" and nowhere else.
    const QString name = arguments.first();
    if (name.isEmpty() || name.contains(u'/') || name == u"." || name == u"..") {
        complain(QStringLiteral("not a file name: \"%1\"").arg(name));
        return 2;
    }
    return writeHeader(folder, name) ? 0 : 1;
}
