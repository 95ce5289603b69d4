// A stand-in for SSE, so that KIVO can be tried and tested without the
// emulator. It checks a launch the way the emulator would, records what it
// received in sse-standin.log beside itself, and shows a summary when a
// display is at hand.

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QVBoxLayout>

#include <cstdio>
#include <memory>

namespace
{

const QString configName = QStringLiteral("sse.cfg");
const QString logName = QStringLiteral("sse-standin.log");

// Everything a launch asked for, as the emulator would understand it.
struct Launch {
    bool firstRun = false;
    QString system;
    QString game;
    QString bios;
    QString drive;
    QString resolution;
    QString stretch;
    QString internalBackup;
    QString cartridge;
    QString polycoordfix;
    QStringList flags;
    QStringList problems;
};

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

// The configuration the emulator writes for itself on its first run.
bool writeConfiguration(const QString &ownFolder, QString *error)
{
    QFile file(QDir(ownFolder).filePath(configName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray text = "; sse.cfg, written by KIVO's stand-in for SSE (sse.exe -resetcfg).\n"
                            "; KIVO demo data: no emulator reads it.\n"
                            "[video]\n"
                            "width=640\n"
                            "height=480\n"
                            "stretch=0\n"
                            "[cdrom]\n"
                            "drive=F:\n";
    if (file.write(text) != text.size()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

class Checker
{
public:
    Checker(const QStringList &arguments, const QString &folder, const QString &ownFolder)
        : arguments(arguments), folder(folder), ownFolder(ownFolder)
    {
    }

    Launch check()
    {
        if (arguments == QStringList{QStringLiteral("-resetcfg")}) {
            launch.firstRun = true;
            launch.system = QStringLiteral("first-run preparation");
            return launch;
        }

        qsizetype at = 0;
        if (!arguments.isEmpty() && !arguments.first().startsWith(u'-')) {
            launch.system = QStringLiteral("Saturn");
            launch.game = arguments.first();
            if (!isFileIn(QStringLiteral("headers"), launch.game))
                problem(QStringLiteral("header %1 not found in the headers folder")
                            .arg(quoted(launch.game)));
            at = 1;
        }
        while (at < arguments.size())
            at = readSwitch(at);

        if (launch.system.isEmpty())
            problem(QStringLiteral("no game: a Saturn line starts with the header file name, an "
                                   "ST-V line gives -g ROMSET"));
        if (!seen.contains(QStringLiteral("-b")))
            problem(QStringLiteral("no BIOS: -b BIOSFILE is missing"));
        if (!QFileInfo(QDir(ownFolder).filePath(configName)).isFile())
            problem(QStringLiteral("sse.cfg is missing: run the first-run preparation "
                                   "(sse.exe -resetcfg) first"));
        return launch;
    }

private:
    void problem(const QString &text) { launch.problems.append(text); }

    bool isFileIn(const QString &subfolder, const QString &name) const
    {
        if (name.isEmpty())
            return false;
        // As under Windows, "Headers" is "headers".
        QDir base(folder);
        for (const QString &entry : base.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (entry.compare(subfolder, Qt::CaseInsensitive) == 0)
                base.cd(entry);
        }
        return QFileInfo(base.filePath(name)).isFile();
    }

    // Takes the values of the switch at `at`; returns where the next one starts.
    qsizetype readSwitch(qsizetype at)
    {
        const QString word = arguments.at(at);
        static const QHash<QString, int> valueCounts{
            {QStringLiteral("-g"), 1},       {QStringLiteral("-b"), 1},
            {QStringLiteral("-d"), 1},       {QStringLiteral("-res"), 2},
            {QStringLiteral("-stretch"), 1}, {QStringLiteral("-br"), 1},
            {QStringLiteral("-bc"), 1},      {QStringLiteral("-polycoordfix"), 1},
            {QStringLiteral("-nodsp"), 0},   {QStringLiteral("-nospritepri"), 0},
            {QStringLiteral("-log"), 0}};

        if (word == u"-resetcfg") {
            problem(QStringLiteral("-resetcfg must be given alone"));
            return at + 1;
        }
        const auto known = valueCounts.constFind(word);
        if (known == valueCounts.constEnd()) {
            if (word.startsWith(u'-'))
                problem(QStringLiteral("unknown switch %1").arg(quoted(word)));
            else
                problem(QStringLiteral("unexpected argument %1").arg(quoted(word)));
            return at + 1;
        }
        const int count = *known;
        if (at + count >= arguments.size()) {
            problem(QStringLiteral("%1 needs %2 value(s)").arg(word).arg(count));
            return arguments.size();
        }
        if (seen.contains(word))
            problem(QStringLiteral("%1 is given twice").arg(word));
        seen.insert(word);
        const QStringList values = arguments.mid(at + 1, count);
        apply(word, values);
        return at + 1 + count;
    }

    void apply(const QString &word, const QStringList &values)
    {
        const QString value = values.isEmpty() ? QString() : values.first();
        if (word == u"-g") {
            if (launch.system == u"Saturn")
                problem(QStringLiteral("both a Saturn header and -g were given"));
            launch.system = QStringLiteral("ST-V");
            launch.game = value;
            if (value.isEmpty())
                problem(QStringLiteral("-g needs a rom set name"));
        } else if (word == u"-b") {
            launch.bios = value;
            if (!isFileIn(QStringLiteral("bios"), value))
                problem(QStringLiteral("BIOS %1 not found in the bios folder").arg(quoted(value)));
        } else if (word == u"-d") {
            launch.drive = value;
            static const QRegularExpression driveLetter(QStringLiteral("^[A-Za-z]:$"));
            if (!driveLetter.match(value).hasMatch())
                problem(
                    QStringLiteral("-d needs a drive letter like F:, not %1").arg(quoted(value)));
        } else if (word == u"-res") {
            launch.resolution = values.join(QStringLiteral(" x "));
            for (const QString &size : values) {
                bool ok = false;
                if (size.toInt(&ok) <= 0 || !ok)
                    problem(QStringLiteral("-res needs two positive numbers, not %1")
                                .arg(quoted(size)));
            }
        } else if (word == u"-stretch") {
            launch.stretch = value;
            checkMode(word, value);
        } else if (word == u"-polycoordfix") {
            launch.polycoordfix = value;
            checkMode(word, value);
        } else if (word == u"-br" || word == u"-bc") {
            (word == u"-br" ? launch.internalBackup : launch.cartridge) = value;
            if (!isFileIn(QString(), value))
                problem(QStringLiteral("backup file %1 not found in the SSE folder")
                            .arg(quoted(value)));
        } else {
            launch.flags.append(word);
        }
    }

    void checkMode(const QString &word, const QString &value)
    {
        static const QStringList modes{QStringLiteral("0"), QStringLiteral("1"),
                                       QStringLiteral("2")};
        if (!modes.contains(value))
            problem(QStringLiteral("%1 takes 0, 1 or 2, not %2").arg(word, quoted(value)));
    }

    const QStringList arguments;
    const QString folder;
    const QString ownFolder;
    Launch launch;
    QSet<QString> seen;
};

bool appendLog(const QString &ownFolder, const QJsonObject &entry)
{
    QFile log(QDir(ownFolder).filePath(logName));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    return log.write(line) == line.size();
}

bool displayAvailable()
{
    if (qEnvironmentVariableIsSet("SSE_STANDIN_NO_WINDOW"))
        return false;
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == u"offscreen")
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QString orDash(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

void addRow(QFormLayout *form, const QString &label, const QString &text)
{
    auto *value = new QLabel(orDash(text));
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setWordWrap(true);
    form->addRow(label, value);
}

int showSummary(const Launch &launch, const QStringList &arguments)
{
    QDialog window;
    window.setWindowTitle(QStringLiteral("SSE stand-in"));
    window.setMinimumWidth(480);
    auto *layout = new QVBoxLayout(&window);
    auto *heading = new QLabel(launch.problems.isEmpty()
                                   ? QStringLiteral("The emulator would run:")
                                   : QStringLiteral("The emulator would refuse this launch:"));
    layout->addWidget(heading);

    auto *form = new QFormLayout;
    addRow(form, QStringLiteral("System:"), launch.system);
    if (!launch.firstRun) {
        addRow(form,
               launch.system == u"ST-V" ? QStringLiteral("Rom set:") : QStringLiteral("Header:"),
               launch.game);
        addRow(form, QStringLiteral("BIOS:"), launch.bios);
        addRow(form, QStringLiteral("CD drive:"), launch.drive);
        addRow(form, QStringLiteral("Resolution:"), launch.resolution);
        addRow(form, QStringLiteral("Stretch:"), launch.stretch);
        addRow(form, QStringLiteral("Internal backup:"), launch.internalBackup);
        addRow(form, QStringLiteral("Backup cartridge:"), launch.cartridge);
        addRow(form, QStringLiteral("Polygon fix:"), launch.polycoordfix);
        addRow(form, QStringLiteral("Switches:"), launch.flags.join(u' '));
    }
    QStringList shownArguments;
    for (const QString &argument : arguments)
        shownArguments.append(u'[' + argument + u']');
    addRow(form, QStringLiteral("Arguments:"), shownArguments.join(u' '));
    addRow(form, QStringLiteral("Problems:"), launch.problems.join(u'\n'));
    layout->addLayout(form);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    // Return closes it too, as it would a message box.
    buttons->button(QDialogButtonBox::Close)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    layout->addWidget(buttons);
    return window.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // Taken before QApplication, which removes the options it knows.
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));

    const bool withWindow = displayAvailable();
    std::unique_ptr<QCoreApplication> application;
    if (withWindow)
        application = std::make_unique<QApplication>(argc, argv);
    else
        application = std::make_unique<QCoreApplication>(argc, argv);

    const QString ownFolder = QCoreApplication::applicationDirPath();
    const QString folder = QDir::currentPath();
    Launch launch = Checker(arguments, folder, ownFolder).check();

    if (launch.firstRun) {
        QString error;
        if (!writeConfiguration(ownFolder, &error))
            launch.problems.append(QStringLiteral("cannot write sse.cfg: %1").arg(error));
    }

    const bool accepted = launch.problems.isEmpty();
    QJsonObject entry{{QStringLiteral("arguments"), QJsonArray::fromStringList(arguments)},
                      {QStringLiteral("cwd"), folder},
                      {QStringLiteral("accepted"), accepted},
                      {QStringLiteral("system"), launch.system},
                      {QStringLiteral("problems"), QJsonArray::fromStringList(launch.problems)}};
    if (!appendLog(ownFolder, entry))
        std::fprintf(stderr, "sse.exe: cannot write %s\n",
                     QDir(ownFolder).filePath(logName).toLocal8Bit().constData());
    for (const QString &problem : std::as_const(launch.problems))
        std::fprintf(stderr, "sse.exe: %s\n", problem.toLocal8Bit().constData());

    if (withWindow)
        showSummary(launch, arguments);
    return accepted ? 0 : 2;
}
