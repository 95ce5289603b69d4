#include "mainwindow/form1.h"
#include "mainwindow/messageboxes.h"
#include "mainwindow/processstart.h"
#include "mainwindow/settingsstore.h"
#include "picker/mountedvolumes.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
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
