#pragma once

#include "mainwindow/form1.h"
#include "mainwindow/platform.h"
#include "ui_form1.h"

#include <QMap>
#include <QPair>
#include <QVector>
#include <functional>
#include <memory>

// Platform seams that record what crosses them, for tests.

struct MemorySettings : kivo::SettingsStore {
    QMap<QPair<QString, QString>, QString> values;
    // Every save in order, as "key=value".
    QStringList saves;
    QString get(const QString &section, const QString &key) override
    {
        return values.value({section, key});
    }
    void save(const QString &section, const QString &key, const QString &value) override
    {
        values[{section, key}] = value;
        saves.append(key + QLatin1Char('=') + value);
    }
    QString general(const QString &key) const
    {
        return values.value({QStringLiteral("General"), key});
    }
    QString lastFolders(const QString &key) const
    {
        return values.value({QStringLiteral("Last Folders"), key});
    }
    void setGeneral(const QString &key, const QString &value)
    {
        values[{QStringLiteral("General"), key}] = value;
    }
    void setLastFolders(const QString &key, const QString &value)
    {
        values[{QStringLiteral("Last Folders"), key}] = value;
    }
};

struct RecordedStart {
    QString folder;
    QStringList arguments;
};

struct RecordingStarter : kivo::ProcessStarter {
    QVector<RecordedStart> starts;
    kivo::StartResult result = kivo::StartResult::Started;
    QString reason;
    kivo::StartOutcome start(const QString &folder, const QStringList &arguments) override
    {
        starts.append({folder, arguments});
        return {result, reason};
    }
};

struct ShownBox {
    QWidget *owner;
    QString text;
    kivo::BoxIcon icon;
    QString title;
};

struct RecordingBoxes : kivo::MessageBoxes {
    QVector<ShownBox> shown;
    // Runs while the box would be up, as a modal box's event loop would let it.
    std::function<void(const ShownBox &)> whileShown;
    void show(QWidget &owner, const QString &text, kivo::BoxIcon icon,
              const QString &title) override
    {
        shown.append({&owner, text, icon, title});
        if (whileShown)
            whileShown(shown.last());
    }
};

struct FixedFolder : kivo::OwnFolder {
    QString folder = QStringLiteral("/");
    QString path() const override { return folder; }
};

struct ListedVolumes : kivo::Volumes {
    QList<kivo::Volume> volumes{{QStringLiteral("/"), QString()}};
    QList<kivo::Volume> mounted() const override { return volumes; }
};

// The recording seams but the store, for a store of the test's own.
struct RecordingSeams {
    RecordingStarter processes;
    RecordingBoxes boxes;
    FixedFolder ownFolder;
    ListedVolumes volumes;
    kivo::Platform on(kivo::SettingsStore &store)
    {
        return {store, processes, boxes, ownFolder, volumes};
    }
};

// A main window on recording seams.
struct Harness : RecordingSeams {
    MemorySettings settings;
    kivo::Platform platform = on(settings);
    std::unique_ptr<Form1> form;

    Form1 &start()
    {
        form = std::make_unique<Form1>(platform);
        return *form;
    }
};
