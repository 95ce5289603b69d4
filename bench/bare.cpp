// The yardstick for KIVO's start-up: a bare Qt Widgets program that shows
// one empty main window, and nothing else.
//
// Built a second time with BARE_WITH_TEXT, it shows one line of text too, at
// the size given as arguments if any: what any window pays for the font
// system and for its size, for reference.

#include <QApplication>
#include <QMainWindow>
#ifdef BARE_WITH_TEXT
#include <QLabel>
#endif

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
#ifdef BARE_WITH_TEXT
    window.setCentralWidget(new QLabel(QStringLiteral("KIVO")));
    const QStringList size = QCoreApplication::arguments().mid(1);
    if (size.size() == 2)
        window.resize(size.at(0).toInt(), size.at(1).toInt());
#endif
    window.show();
    return application.exec();
}
