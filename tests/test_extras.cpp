// The header extraction launcher, the About window, and how the program's
// windows come, go and keep in front.

#include "harness.h"
#include "mainwindow/keepinfront.h"
#include "mainwindow/messageboxes.h"

#include <QtWidgets>
#include <qpa/qwindowsysteminterface.h>

using namespace Messages;

class TestExtras : public QObject
{
    Q_OBJECT

private slots:
    void windowsComeAndGoAndTheLauncherStartsTheTool();
    void theWindowOpenedLastKeepsInFront();
    void everyTextShowsWhole();
};

static constexpr auto editField = QStyle::SC_ComboBoxEditField;

// Lets queued activation changes happen.
static void settle()
{
    for (int round = 0; round < 20; ++round)
        QCoreApplication::processEvents();
}

// The windows' names in the order they are hidden while this lives.
struct HideOrder : QObject {
    QStringList hidden;
    HideOrder(std::initializer_list<QWidget *> windows)
    {
        for (QWidget *window : windows)
            connect(window->windowHandle(), &QWindow::visibleChanged, this,
                    [this, name = window->objectName()](bool shown) {
                        hidden << QStringList(!shown, name); // the name once when hidden
                    });
    }
};

// The texts of the visible controls that do not fit the room their control
// gives them, measured with the control's font.
static QStringList cutTexts()
{
    QStringList cut;
    for (QWidget *control : QApplication::allWidgets()) {
        if (!control->isVisible())
            continue;
        const QRect contents = control->contentsRect();
        const QFontMetrics metrics = control->fontMetrics();
        QStyle *style = control->style();
        int room = contents.width();
        QStringList texts; // each to fit the room, line by line
        auto *label = qobject_cast<QLabel *>(control);
        if (auto *field = qobject_cast<PathField *>(control)) {
            // A path too long shows its start and its end.
            texts << field->shownText();
            if (texts[0].left(4) != field->text().left(4) ||
                texts[0].right(4) != field->text().right(4))
                cut << field->objectName() + u": "_qs + texts[0];
        } else if (label && !label->wordWrap()) {
            texts << label->text();
        } else if (label) {
            if (metrics.boundingRect(contents, Qt::TextWordWrap, label->text()).height() >
                contents.height())
                cut << label->objectName();
        } else if (auto *button = qobject_cast<QPushButton *>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            room = style->subElementRect(style->SE_PushButtonContents, &option, button).width();
            texts << button->text();
        } else if (auto *frame = qobject_cast<QGroupBox *>(control)) {
            room = frame->width();
            texts << frame->title();
        } else if (auto *list = qobject_cast<QComboBox *>(control)) {
            QStyleOptionComboBox option;
            option.initFrom(list);
            room = style->subControlRect(style->CC_ComboBox, &option, editField, list).width();
            for (int index = 0; index < list->count(); ++index)
                texts << list->itemText(index);
            if (auto *listBox = qobject_cast<ListBox *>(list))
                texts << listBox->editAreaText();
        }
        for (QString text : texts) {
            text.replace(u"&&"_qs, u"\x01"_qs).remove(u'&').replace(u'\x01', u'&');
            for (const QString &line : text.split(u"\r\n"_qs))
                if (metrics.horizontalAdvance(line) > room)
                    cut << control->objectName() + u": "_qs + line;
        }
    }
    return cut;
}

void TestExtras::windowsComeAndGoAndTheLauncherStartsTheTool()
{
    Harness harness;
    Form1 &form = harness.start();

    // Once each, in the language, afresh after closing.
    form.ui->extr1->trigger();
    form.extrlowL->ui->Text1->setText(u"daytona"_qs);
    QPointer<ExtrlowL> launcher = form.extrlowL.data();
    form.ui->extr1->trigger();
    QCOMPARE(form.extrlowL.data(), launcher.data());
    launcher->close();
    form.ui->extr1->trigger();
    QVERIFY(form.extrlowL.data() != launcher.data() && form.extrlowL->ui->Text1->text().isEmpty());

    // About opens with its OK focused; Escape closes it and the launcher, and
    // cancels the picker. Enter in the launcher's empty field starts nothing.
    form.ui->help1->trigger();
    QVERIFY(QTest::qWaitForWindowActive(form.about));
    QCOMPARE(QApplication::focusWidget(), form.about->ui->OKButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    form.ui->extr1->trigger();
    QVERIFY(QTest::qWaitForWindowActive(form.extrlowL));
    QTest::keySequence(form.extrlowL->ui->Text1, QKeySequence(Qt::Key_Return, Qt::Key_Escape));
    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowActive(form.apriFile));
    QTest::keyClick(form.apriFile->ui->Dir1, Qt::Key_Escape);
    QVERIFY(!form.about && !form.extrlowL && !form.apriFile && harness.seams.starts.isEmpty());

    // Exit: picker, About, main window, launcher.
    form.ui->extr1->trigger();
    form.ui->help1->trigger();
    form.aprifileWindow().show();
    HideOrder quitting{form.about, form.apriFile, form.extrlowL, &form};
    form.ui->file1->trigger();
    QCOMPARE(quitting.hidden, words("ApriFile About Form1 ExtrlowL"));

    // The launcher, shown again.
    form.show();
    form.ui->extr1->trigger();
    launcher = form.extrlowL;
    const QList<ShownBox> &boxes = harness.seams.boxes;
    const auto press = [&](const QString &name) {
        launcher->ui->Text1->setText(name);
        QTest::mouseClick(launcher->ui->Command1, Qt::LeftButton);
    };

    // Only the empty name is refused, in a plain box over the launcher.
    press(QString());
    QCOMPARE(boxes.value(0).text, msgneedhdrname(form.lingua));
    QVERIFY(boxes.value(0).owner == launcher && boxes.value(0).icon == kivo::BoxIcon::None);
    // Any other name reaches the tool whole, ".sgh" with it, once a press.
    press(u"my game"_qs);
    press(u"  "_qs);
    QCOMPARE(harness.seams.starts, QList<QStringList>({{u"extrlow.exe"_qs, u"my game.sgh"_qs},
                                                       {u"extrlow.exe"_qs, u"  .sgh"_qs}}));

    // A tool that is not there is reported over the launcher; the name stays.
    harness.seams.outcome = {kivo::StartResult::NotFound, {}};
    press(u"daytona"_qs);
    QCOMPARE(boxes.last().text, msgnoprogram(form.lingua, u"extrlow.exe"_qs));
    QCOMPARE(boxes.last().owner, launcher);
    QVERIFY(launcher->isVisible() && form.isVisible() && launcher->ui->Text1->text() == u"daytona");

    // Outside the SSE folder: said over the launcher, then every window closes.
    harness.seams.outcome = {};
    form.ui->help1->trigger();
    form.aprifileWindow().show();
    HideOrder outside{form.about, form.apriFile, launcher, &form};
    form.ui->Text7->setTag(u"/elsewhere"_qs);
    press(u"daytona"_qs);
    QVERIFY(boxes.last().text == msgnotinssedir(form.lingua) && boxes.last().owner == launcher);
    QCOMPARE(outside.hidden, words("About ApriFile ExtrlowL Form1"));
    QCOMPARE(harness.seams.starts.size(), 3);
}

void TestExtras::theWindowOpenedLastKeepsInFront()
{
    Harness harness;
    Form1 &form = harness.start();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    int requests = 0;
    const KeepInFront::Activation activate = KeepInFront::setActivation({});
    KeepInFront::setActivation([&](QWidget &window) {
        ++requests;
        activate(window);
    });
    const auto restore = qScopeGuard([&] { KeepInFront::setActivation(activate); });
    // Opens the launcher, then About, and lets the activations happen.
    const auto openBoth = [&] {
        form.ui->extr1->trigger();
        form.ui->help1->trigger();
        settle();
    };
    const auto activated = [&](QWidget *window) {
        window->activateWindow();
        settle();
        return QApplication::activeWindow();
    };
    openBoth();

    // Whichever window the user picks, the About window comes back, asking
    // once: its deactivation and the new focus window are one change.
    for (QWidget *picked : std::initializer_list<QWidget *>{form.extrlowL.data(), &form}) {
        requests = 0;
        QCOMPARE(activated(picked), form.about);
        QCOMPARE(requests, 1);
    }
    // A modal box is left alone.
    {
        QDialog box(form.extrlowL);
        box.setModal(true);
        box.show();
        QCOMPARE(activated(&box), &box);
    }

    // The real box belongs to the window that asks, whatever is active, shows
    // its text as it is, markup or not, and asks for a title bar with a close
    // button only, as the windows do.
    QWidget *owner = nullptr;
    Qt::WindowFlags flags;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        owner = box->textFormat() == Qt::PlainText ? box->parentWidget() : nullptr;
        flags = box->windowFlags();
        box->close();
    });
    kivo::QtMessageBoxes().show(*form.extrlowL, u"<b>x"_qs, kivo::BoxIcon::None, u"KIVO"_qs);
    QCOMPARE(owner, form.extrlowL.data());
    for (const Qt::WindowFlags asked : {flags, form.about->windowFlags()})
        QVERIFY(asked.testFlags(Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) &&
                !(asked & (Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint)));

    // When the winner closes, the one before takes over; then none.
    form.about->close();
    settle();
    QCOMPARE(QApplication::activeWindow(), form.extrlowL);
    form.extrlowL->close();
    QCOMPARE(activated(&form), &form);

    // A compositor answering late: Qt's focus window is one whose platform
    // window is gone. The check waits for the next focus change.
    openBoth();
    QWindow *const late = form.extrlowL->windowHandle();
    late->destroy();
    using Now = QWindowSystemInterface::SynchronousDelivery;
    QWindowSystemInterface::handleWindowActivated<Now>(late);
    requests = 0;
    settle();
    QVERIFY(QGuiApplication::focusWindow() == late && requests == 0);
    QVERIFY(activated(&form) == form.about && requests == 1);
    // Another program takes the activation: none is asked back.
    QWindowSystemInterface::handleWindowActivated<Now>(nullptr);
    settle();
    QVERIFY(!QApplication::activeWindow() && requests == 1);
}

// In every language, at the default font and half as large again, every
// window shows every caption, label, button and list entry whole. The main
// window's border is fixed at its design size, larger only where a font
// needs it, and follows a language switch both ways.
void TestExtras::everyTextShowsWhole()
{
    // A list looks like Qt's own, showing an entry or a text of its own.
    for (const QString &shown : {u"640 x 480 (Default)"_qs, u"Select a rom"_qs}) {
        QComboBox qt;
        ListBox ours;
        qt.addItem(shown);
        ours.appendEntries({u"640 x 480 (Default)"_qs});
        ours.setCurrentIndex(0);
        ours.setEditAreaText(shown);
        qt.resize(200, 30);
        ours.resize(200, 30);
        QCOMPARE(ours.grab().toImage(), qt.grab().toImage());
    }

    SseFolder sse;
    Harness harness(sse.path);
    harness.seams.volumes.append({sse.temp.path(), u"a volume with a long name"_qs});
    harness.chosen(
        {u"a header with a name far too long for its field, "_qs.repeated(4) + u"daytona.sgh"_qs});
    Form1 &form = harness.start();
    QCOMPARE(form.ui->Text1->accessibleDescription(), form.ui->Text1->text());
    const QFont font = QApplication::font();
    for (const qreal scale : {1.0, 1.5}) {
        QFont larger = font;
        larger.setPointSizeF(font.pointSizeF() * scale);
        QApplication::setFont(larger);
        QMap<QString, QSize> sizes;
        for (QAction *language : {form.ui->opz11, form.ui->opz13, form.ui->opz12}) {
            language->trigger();
            form.ui->help1->trigger();
            form.ui->extr1->trigger();
            for (QPushButton *request : {form.ui->Command1, form.ui->Command7}) {
                QTest::mouseClick(request, Qt::LeftButton);
                settle();
                QCOMPARE(cutTexts(), QStringList());
            }
            QCOMPARE(form.minimumSize(), form.maximumSize());
            sizes[form.lingua] = form.size();
        }
        QVERIFY(scale > 1 ||
                (sizes.first().width() <= 1024 && QSet(sizes.cbegin(), sizes.cend()).size() == 1));
        form.ui->opz13->trigger();
        form.ui->opz11->trigger();
        settle();
        QCOMPARE(form.size(), sizes[u"English"_qs]);
    }
    QApplication::setFont(font);
}

QTEST_MAIN(TestExtras)
#include "test_extras.moc"
