#include "mainwindow/form1.h"
#include "mainwindow/messageboxes.h"
#include "mainwindow/processstart.h"
#include "mainwindow/session.h"
#include "mainwindow/settingsstore.h"
#include "picker/mountedvolumes.h"

#include <QApplication>

#include <vector>

int main(int argc, char *argv[])
{
    // The platforms go to Qt as options, so that the programs KIVO starts
    // inherit the environment unchanged.
    std::vector<char *> arguments(argv, argv + argc);
    QByteArray option("-platform");
    QByteArray platforms =
        kivo::preferredPlatforms(QProcessEnvironment::systemEnvironment()).toLocal8Bit();
    if (!platforms.isEmpty())
        arguments.insert(arguments.end(), {option.data(), platforms.data()});
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    QApplication application(count, arguments.data());
    application.setApplicationName(kivo::applicationTitle);

    kivo::IniSettingsStore settings;
    kivo::InstalledWine wine;
    kivo::DetachedProcessStarter processes(wine);
    kivo::QtMessageBoxes messages;
    kivo::ExecutableFolder ownFolder;
    kivo::MountedVolumes volumes;
    kivo::Platform platform{settings, processes, messages, ownFolder, volumes};

    Form1 form(platform);
    form.show();
    return application.exec();
}
