#include "extras/about.h"
#include "extras/extrlowl.h"
#include "fakeplatform.h"
#include "lang/messages.h"
#include "picker/aprifile.h"
#include "ui_about.h"
#include "ui_aprifile.h"
#include "ui_extrlowl.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QTemporaryDir>
#include <QTest>

// Keyboard and screen-reader use: what a person who does not use the
// mouse, or does not see the screen, meets.
class TestAccess : public QObject
{
    Q_OBJECT

private slots:
    void listsTakeNoTypedCharactersOpenOrClosed();
    void enterAndEscapeInTheOtherWindows();
    void everyFieldAndListHasItsName();
};

namespace
{

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString accessibleName(QObject *object)
{
    return accessible(object)->text(QAccessible::Name);
}

// The labels a screen reader reads for the control.
QList<QObject *> labelsOf(QObject *control)
{
    QList<QObject *> labels;
    for (const auto &[label, relation] : accessible(control)->relations(QAccessible::Label))
        labels.append(label->object());
    return labels;
}

} // namespace

void TestAccess::listsTakeNoTypedCharactersOpenOrClosed()
{
    Harness harness;
    Form1 &form = harness.start();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    ListBox *resolution = form.ui->Combo3;
    harness.settings.saves.clear();

    // Open, the list would choose "1024 x 768" for a typed "1".
    resolution->showPopup();
    QAbstractItemView *entries = resolution->view();
    QTRY_VERIFY(entries->isVisible());
    QTest::keyClicks(entries, QStringLiteral("1 8"));
    QTest::keyClick(entries, Qt::Key_Return);
    QTRY_VERIFY(!entries->isVisible());
    QCOMPARE(resolution->currentIndex(), 0);
    QCOMPARE(harness.settings.saves, QStringList());

    // Keys that are no characters keep working, open and closed.
    resolution->showPopup();
    QTRY_VERIFY(entries->isVisible());
    QTest::keyClick(entries, Qt::Key_Down);
    QTest::keyClick(entries, Qt::Key_Return);
    QTRY_COMPARE(resolution->currentIndex(), 1);
    QTest::keyClicks(resolution, QStringLiteral("6"));
    QCOMPARE(resolution->currentIndex(), 1);
    QTest::keyClick(resolution, Qt::Key_End);
    QCOMPARE(resolution->currentIndex(), 2);
    QCOMPARE(harness.settings.saves,
             QStringList({QStringLiteral("res=1"), QStringLiteral("res=2")}));
}

void TestAccess::enterAndEscapeInTheOtherWindows()
{
    QTemporaryDir sse;
    Harness harness;
    harness.ownFolder.folder = sse.path();
    Form1 &form = harness.start();
    form.show();

    // Enter on the About window's focused OK closes it, as Escape does.
    for (const int key : {Qt::Key_Return, Qt::Key_Escape}) {
        form.ui->help1->trigger();
        QPointer<About> about = form.about.data();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QCOMPARE(QApplication::focusWidget(), about->ui->OKButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QVERIFY(!about->isVisible());
        QVERIFY(!form.about);
    }

    // Escape closes the launcher, keeping nothing; Enter in its name box
    // starts nothing: its button is no default.
    form.ui->extr1->trigger();
    QPointer<ExtrlowL> launcher = form.extrlowL.data();
    QVERIFY(QTest::qWaitForWindowActive(launcher));
    QTest::keyClicks(launcher->ui->Text1, QStringLiteral("daytona"));
    QTest::keyClick(launcher->ui->Text1, Qt::Key_Return);
    QCOMPARE(harness.processes.starts.size(), 0);
    QTest::keyClick(launcher->ui->Text1, Qt::Key_Escape);
    QVERIFY(!launcher->isVisible());

    // Escape cancels the picker: nothing handed over, nothing saved.
    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    QPointer<ApriFile> picker = form.apriFile.data();
    QVERIFY(QTest::qWaitForWindowActive(picker));
    harness.settings.saves.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!picker->isVisible());
    QCOMPARE(harness.settings.saves, QStringList());
    QCOMPARE(form.ui->Text7->text(), sse.path());
}

void TestAccess::everyFieldAndListHasItsName()
{
    QTemporaryDir sse;
    Harness harness;
    harness.ownFolder.folder = sse.path();
    Form1 &form = harness.start();
    const auto &ui = form.ui;

    // A label beside a control names it.
    const QPair<QWidget *, QLabel *> labelled[] = {
        {ui->Text7, ui->Label11},  {ui->Text3, ui->Label3},   {ui->Text4, ui->Label4},
        {ui->Combo3, ui->Label12}, {ui->Combo4, ui->Label13}, {ui->Combo5, ui->Label14},
        {ui->Option1, ui->Label1}, {ui->Check1, ui->Label5},  {ui->Check6, ui->Label10},
    };
    for (const auto &[control, label] : labelled)
        QVERIFY2(labelsOf(control).contains(label), qPrintable(control->objectName()));
    // The others have names of their own, each different, in the language.
    QWidget *const unlabelled[] = {ui->Text1, ui->Text5, ui->Text6, ui->Combo1, ui->Combo2};
    QSet<QString> names;
    for (QWidget *control : unlabelled)
        names.insert(accessibleName(control));
    QCOMPARE(names.size(), 5);
    form.ui->opz12->trigger();
    for (QWidget *control : unlabelled)
        QVERIFY(!names.contains(accessibleName(control)));
    for (const auto &[control, label] : labelled)
        QVERIFY(!accessibleName(control).contains(ui->Frame1->title()));

    // The game list tells its prompt, then the game chosen, in the language.
    QAccessibleInterface *game = accessible(ui->Combo2);
    QCOMPARE(game->text(QAccessible::Value), Messages::msgselstvrom(form.lingua));
    ui->Combo2->setCurrentIndex(33);
    const QString title = ui->Combo2->currentText();
    QCOMPARE(game->text(QAccessible::Value), title);
    form.ui->opz13->trigger();
    QCOMPARE(game->text(QAccessible::Value), title);

    // The launcher's box is named by its label; the picker's lists have names.
    form.ui->extr1->trigger();
    QVERIFY(labelsOf(form.extrlowL->ui->Text1).contains(form.extrlowL->ui->Label3));
    QTest::mouseClick(ui->Command7, Qt::LeftButton);
    const Ui::ApriFile &picker = *form.apriFile->ui;
    QVERIFY(labelsOf(picker.Drive1).contains(picker.Label1));
    QSet<QString> pickerNames;
    for (QWidget *control :
         {static_cast<QWidget *>(picker.Dir1), static_cast<QWidget *>(picker.File1),
          static_cast<QWidget *>(picker.Text1)})
        pickerNames.insert(accessibleName(control));
    QCOMPARE(pickerNames.size(), 3);
    QVERIFY(!pickerNames.contains(QString()));
}

QTEST_MAIN(TestAccess)
#include "test_access.moc"
