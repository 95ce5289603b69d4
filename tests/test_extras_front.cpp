#include "extras/about.h"
#include "extras/extrlowl.h"
#include "fakeplatform.h"
#include "mainwindow/keepinfront.h"
#include "mainwindow/messageboxes.h"
#include "ui_about.h"
#include "ui_aprifile.h"
#include "ui_extrlowl.h"

#include <QDialog>
#include <QTest>
#include <QTimer>

#include <optional>

namespace
{

// Lets queued activation changes happen; a window that takes the
// activation back does so in one of these rounds.
void settle()
{
    for (int round = 0; round < 20; ++round)
        QCoreApplication::processEvents();
}

// Counts how often each watched window is activated.
class ActivationCounter : public QObject
{
public:
    int count = 0;
    void watch(QWidget *window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate)
            ++count;
        return false;
    }
};

} // namespace

// The launcher and the About window stay in front of the program's other
// windows while open, and never fight each other for the activation.
class TestExtrasFront : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void theLauncherTakesTheActivationBack();
    void theWindowOpenedLastWins();
    void aModalBoxIsLeftAlone();
    void aMenuOfTheMainWindowIsLeftOpen();
    void whenTheWinnerClosesTheNextOneTakesOver();
    void aBoxBelongsToTheWindowThatAsks();

private:
    std::optional<Harness> harness;
    Form1 *form = nullptr;
    void activate(QWidget *window);
};

void TestExtrasFront::init()
{
    harness.emplace();
    form = &harness->start();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    activate(form);
    QCOMPARE(QApplication::activeWindow(), form);
}

// As a click on a window's frame does.
void TestExtrasFront::activate(QWidget *window)
{
    window->activateWindow();
    settle();
}

void TestExtrasFront::theLauncherTakesTheActivationBack()
{
    form->ui->extr1->trigger();
    ExtrlowL *launcher = form->extrlowL;
    settle();
    QCOMPARE(QApplication::activeWindow(), launcher);

    QTest::keyClicks(launcher->ui->Text1, QStringLiteral("day"));
    activate(form);
    QCOMPARE(QApplication::activeWindow(), launcher);
    // The focus is back where it was: typing goes on into the name.
    QCOMPARE(QApplication::focusWidget(), launcher->ui->Text1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("tona"));
    QCOMPARE(launcher->ui->Text1->text(), QStringLiteral("daytona"));
}

void TestExtrasFront::theWindowOpenedLastWins()
{
    form->ui->extr1->trigger();
    ExtrlowL *launcher = form->extrlowL;
    form->ui->help1->trigger();
    About *about = form->about;
    settle();
    QCOMPARE(QApplication::activeWindow(), about);

    ActivationCounter counter;
    for (QWidget *window : {static_cast<QWidget *>(form), static_cast<QWidget *>(launcher),
                            static_cast<QWidget *>(about)})
        counter.watch(window);

    // Whichever window the user picks, the About window comes back, asking
    // once: its deactivation and the new focus window make one change.
    int requests = 0;
    const KeepInFront::Activation activateWindow = KeepInFront::setActivation({});
    KeepInFront::setActivation([&](QWidget &window) {
        ++requests;
        activateWindow(window);
    });
    for (QWidget *picked : {static_cast<QWidget *>(launcher), static_cast<QWidget *>(form)}) {
        counter.count = 0;
        requests = 0;
        activate(picked);
        QCOMPARE(QApplication::activeWindow(), about);
        QCOMPARE(counter.count, 2);
        QCOMPARE(requests, 1);
        // Nothing moves any more.
        settle();
        QCOMPARE(counter.count, 2);
        QCOMPARE(requests, 1);
    }
    KeepInFront::setActivation(activateWindow);

    // Opening the launcher again brings it to the front, and now it wins.
    form->ui->extr1->trigger();
    settle();
    QCOMPARE(QApplication::activeWindow(), launcher);
    QCOMPARE(KeepInFront::winner(), launcher);
    activate(about);
    QCOMPARE(QApplication::activeWindow(), launcher);
}

void TestExtrasFront::aModalBoxIsLeftAlone()
{
    form->ui->extr1->trigger();
    ExtrlowL *launcher = form->extrlowL;
    settle();
    QDialog box(launcher);
    box.setModal(true);
    box.show();
    activate(&box);
    QCOMPARE(QApplication::activeWindow(), &box);
    box.accept();
    settle();
    activate(form);
    QCOMPARE(QApplication::activeWindow(), launcher);
}

void TestExtrasFront::aMenuOfTheMainWindowIsLeftOpen()
{
    form->ui->extr1->trigger();
    ExtrlowL *launcher = form->extrlowL;
    settle();
    // A click on the menu bar opens the menu, and the main window's
    // activation arrives while it is open: the menu stays.
    form->ui->help->popup(form->mapToGlobal(QPoint(0, 0)));
    form->activateWindow();
    settle();
    QVERIFY(form->ui->help->isVisible());
    // Dismissed without a choice: the launcher is in front again.
    form->ui->help->close();
    settle();
    QCOMPARE(QApplication::activeWindow(), launcher);
}

void TestExtrasFront::whenTheWinnerClosesTheNextOneTakesOver()
{
    form->ui->extr1->trigger();
    ExtrlowL *launcher = form->extrlowL;
    form->ui->help1->trigger();
    settle();
    QTest::mouseClick(form->about->ui->OKButton, Qt::LeftButton);
    settle();
    QCOMPARE(QApplication::activeWindow(), launcher);
    activate(form);
    QCOMPARE(QApplication::activeWindow(), launcher);

    // With none left open, nothing takes the activation.
    launcher->close();
    settle();
    activate(form);
    QCOMPARE(QApplication::activeWindow(), form);
    QCOMPARE(KeepInFront::winner(), nullptr);
}

QTEST_MAIN(TestExtrasFront)
#include "test_extras_front.moc"

// The real box: owned by, and modal for, the window whose action raised it,
// whatever window is active at that moment.
void TestExtrasFront::aBoxBelongsToTheWindowThatAsks()
{
    form->ui->extr1->trigger();
    ExtrlowL *launcher = form->extrlowL;
    form->ui->help1->trigger();
    settle();
    QCOMPARE(QApplication::activeWindow(), form->about);

    kivo::QtMessageBoxes boxes;
    QWidget *shownOver = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        shownOver = box ? box->parentWidget() : nullptr;
        if (box)
            box->close();
    });
    boxes.show(*launcher, QStringLiteral("text"), kivo::BoxIcon::None, QStringLiteral("KIVO"));
    QCOMPARE(shownOver, launcher);
}
