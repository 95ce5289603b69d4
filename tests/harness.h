#pragma once

// The main window on platform seams that record what crosses them, and an
// SSE folder of real files with awkward names.

#include "extras/about.h"
#include "extras/extrlowl.h"
#include "lang/messages.h"
#include "picker/aprifile.h"
#include "ui_about.h"
#include "ui_aprifile.h"
#include "ui_extrlowl.h"
#include "ui_form1.h"

#include <QtTest>

struct MemorySettings : kivo::SettingsStore {
    QMap<QString, QString> values; // "Section/key"
    QStringList saves;             // every save in order, "key=value"
    bool unwritable = false;       // every save kept for the run, and failed
    QString get(const QString &s, const QString &k) override { return values.value(s + u'/' + k); }
    void save(const QString &section, const QString &key, const QString &value) override
    {
        values[section + u'/' + key] = value;
        saves.append(key + u'=' + value);
        if (unwritable)
            failed({u"/config/KIVO.ini"_qs, u"Read-only file system"_qs});
    }
};

// A message box as the user meets it: over which window, what it says, its
// icon and its title. Compared whole, printed whole when it differs.
struct ShownBox {
    QWidget *owner = nullptr;
    QString text;
    kivo::BoxIcon icon = kivo::BoxIcon::None;
    QString title;
    bool operator==(const ShownBox &other) const
    {
        return owner == other.owner && text == other.text && icon == other.icon &&
               title == other.title;
    }
};
inline char *toString(const ShownBox &box)
{
    return qstrdup(qPrintable(u"over %1, icon %2, titled \"%3\": \"%4\""_qs.arg(
        box.owner ? box.owner->objectName() : u"nothing"_qs, QString::number(int(box.icon)),
        box.title, box.text)));
}
struct Recorders : kivo::ProcessStarter, kivo::MessageBoxes, kivo::OwnFolder, kivo::Volumes {
    QList<QStringList> starts;        // the arguments of every start from the own folder
    QList<kivo::WindowState> windows; // and the window each asked for
    kivo::StartOutcome outcome;
    QList<ShownBox> boxes;
    QString folder = u"/"_qs;
    QList<kivo::Volume> volumes{{u"/"_qs, u"system"_qs}};

    kivo::StartOutcome start(const QString &in, const QStringList &arguments,
                             kivo::WindowState window) override
    {
        starts.append(in == folder ? arguments : QStringList{u"elsewhere"_qs});
        windows.append(window);
        return outcome;
    }
    void show(QWidget &owner, const QString &text, kivo::BoxIcon icon, const QString &t) override
    {
        boxes.append({&owner, text, icon, t});
    }
    QString path() const override { return folder; }
    QList<kivo::Volume> mounted() const override { return volumes; }
};

inline bool makeFile(const QString &path, const QByteArray &content = "KIVO test data\n")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Blanks, quotes, shell characters, a backslash and letters beyond ASCII.
inline const QString oddHeader = u"my \"game\" $(touch x); \\ é.sgh"_qs;
inline const QString oddBios = u"Saturn BIOS 'v1' $HOME;`id` ü.bin"_qs;

// An SSE folder whose own name has a blank and an accent.
struct SseFolder {
    QTemporaryDir temp;
    QString path = QDir(temp.path()).canonicalPath() + u"/SSE é"_qs;
    SseFolder()
    {
        for (const QString &name :
             {u"headers/"_qs + oddHeader, u"headers/disc10.sgh"_qs, u"headers/Disc2.sgh"_qs,
              u"headers/.hidden.sgh"_qs, u"headers/README"_qs, u"bios/"_qs + oddBios,
              u"bios/stv.bin"_qs, u"cart.bin"_qs})
            makeFile(path + u'/' + name);
        QDir().mkpath(path + u"/headers/sub folder"_qs);
    }
    QString operator/(const QString &name) const { return path + u'/' + name; }
};

// The settings live in memory unless a test brings a store of its own.
struct Harness {
    MemorySettings settings;
    Recorders seams;
    kivo::Platform platform;
    std::unique_ptr<Form1> form;

    explicit Harness(const QString &ownFolder = u"/"_qs, kivo::SettingsStore *store = nullptr)
        : platform{store ? *store : settings, seams, seams, seams, seams}
    {
        seams.folder = ownFolder;
    }
    Form1 &start()
    {
        form = std::make_unique<Form1>(platform);
        form->show();
        return *form;
    }
    const Ui::Form1 &ui() const { return *form->ui; }
    // A file chosen for field number `field` in an earlier run.
    void chosen(int field, const QString &file)
    {
        settings.values[u"Last Folders/text%1"_qs.arg(field)] = file;
        settings.values[u"Last Folders/text%1tag"_qs.arg(field)] = file;
    }
    QString &general(const char *key)
    {
        return settings.values[u"General/"_qs + QLatin1String(key)];
    }
    QString &lastFolders(const char *key)
    {
        return settings.values[u"Last Folders/"_qs + QLatin1String(key)];
    }
    Ui::ApriFile &picker() { return *form->apriFile->ui; }
    // Presses a Browse button: the picker it opens.
    Ui::ApriFile &request(QPushButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        return picker();
    }
    QStringList files()
    {
        return static_cast<QStringListModel *>(picker().File1->model())->stringList();
    }
    QStringList lastStart() const { return seams.starts.value(seams.starts.size() - 1); }
    ShownBox takeBox() { return seams.boxes.isEmpty() ? ShownBox{} : seams.boxes.takeLast(); }
    // Presses "Run SSE": the arguments it started, none when it started nothing.
    QStringList run()
    {
        const qsizetype before = seams.starts.size();
        QTest::mouseClick(form->ui->Command8, Qt::LeftButton);
        return seams.starts.size() > before ? lastStart() : QStringList();
    }
};

// Where the entry of a list or folder tree shows, scrolled into view.
inline QPoint itemAt(QAbstractItemView *view, const QString &text)
{
    QAbstractItemModel *model = view->model();
    const QModelIndexList found = model->match(model->index(0, 0), Qt::DisplayRole, text, 1,
                                               Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty())
        return {-1, -1};
    view->scrollTo(found[0]);
    return view->visualRect(found[0]).center();
}

// Selects the entry by clicking it.
inline void clickItem(QAbstractItemView *view, const QString &text)
{
    const QPoint at = itemAt(view, text);
    QVERIFY2(at.x() >= 0, qPrintable(text));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
}

// Opens the entry by double-clicking it, as a person does: a click, then a double-click.
inline void openItem(QAbstractItemView *view, const QString &text)
{
    const QPoint at = itemAt(view, text);
    QVERIFY2(at.x() >= 0, qPrintable(text));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}
