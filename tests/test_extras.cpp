// The header extraction launcher, the About window, how the program's
// windows come, go and keep in front, and every text whole.

#include "harness.h"
#include "mainwindow/keepinfront.h"
#include "mainwindow/messageboxes.h"

#include <QtWidgets>
#include <qpa/qwindowsysteminterface.h>

using namespace Messages;

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
                        if (!shown)
                            hidden << name;
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
            // A path too long shows its start and its end; a prompt, whole.
            const QString shown = field->shownText();
            const qsizetype kept = field->tag().isEmpty() ? field->text().size() : 4;
            if (shown.left(kept) != field->text().left(kept) ||
                shown.right(kept) != field->text().right(kept))
                cut << field->objectName() + u": "_qs + shown;
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
            room = style
                       ->subControlRect(style->CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                        list)
                       .width();
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

class TestExtras : public QObject
{
    Q_OBJECT

    std::unique_ptr<Harness> h;
    int requests = 0; // activations asked for
    KeepInFront::Activation activate;

    // Opens the launcher, then About, and lets the activations happen.
    void openLauncherAndAbout()
    {
        h->ui().extr1->trigger();
        h->ui().help1->trigger();
        settle();
    }
    QWidget *activated(QWidget *window)
    {
        window->activateWindow();
        settle();
        return QApplication::activeWindow();
    }
    void pressExtract(const QString &name)
    {
        h->form->extrlowL->ui->Text1->setText(name);
        QTest::mouseClick(h->form->extrlowL->ui->Command1, Qt::LeftButton);
    }

private slots:
    void init()
    {
        h = std::make_unique<Harness>();
        h->start();
        requests = 0;
        activate = KeepInFront::setActivation({});
        KeepInFront::setActivation([this](QWidget &window) {
            ++requests;
            activate(window);
        });
    }
    void cleanup()
    {
        KeepInFront::setActivation(activate);
        h.reset();
    }

    // Once each, in the language, afresh after closing.
    void aWindowOpensOnceAndAfreshAfterClosing()
    {
        h->ui().extr1->trigger();
        h->form->extrlowL->ui->Text1->setText(u"daytona"_qs);
        const QPointer<ExtrlowL> launcher = h->form->extrlowL.data();
        h->ui().extr1->trigger();
        QCOMPARE(h->form->extrlowL.data(), launcher.data());
        launcher->close();
        h->ui().extr1->trigger();
        QVERIFY(h->form->extrlowL.data() != launcher.data());
        QCOMPARE(h->form->extrlowL->ui->Text1->text(), QString());
    }

    // About opens with its OK focused; Escape closes it and the launcher, and
    // cancels the picker. Enter in the launcher's empty field starts nothing.
    void escapeClosesEachWindow()
    {
        Form1 &form = *h->form;
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
        QVERIFY(!form.about);
        QVERIFY(!form.extrlowL);
        QVERIFY(!form.apriFile);
        QCOMPARE(h->seams.starts, QList<QStringList>());
    }

    void exitClosesThePickerAboutTheMainWindowThenTheLauncher()
    {
        Form1 &form = *h->form;
        form.ui->extr1->trigger();
        form.ui->help1->trigger();
        form.aprifileWindow().show();
        HideOrder quitting{form.about, form.apriFile, form.extrlowL, &form};
        form.ui->file1->trigger();
        QCOMPARE(quitting.hidden,
                 QStringList({u"ApriFile"_qs, u"About"_qs, u"Form1"_qs, u"ExtrlowL"_qs}));
    }

    // In a plain box over the launcher.
    void theLauncherRefusesOnlyAnEmptyName()
    {
        h->ui().extr1->trigger();
        pressExtract(QString());
        QCOMPARE(h->takeBox(), (ShownBox{h->form->extrlowL, msgneedhdrname(h->form->lingua),
                                         kivo::BoxIcon::None, u"KIVO"_qs}));
        QCOMPARE(h->seams.starts, QList<QStringList>());
    }

    void anyOtherNameReachesTheToolWhole_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("blanks inside") << u"my game"_qs;
        QTest::newRow("blanks only") << u"  "_qs;
        QTest::newRow("shell characters") << u"$(id); `x` 'q' \"q\""_qs;
    }
    // ".sgh" with it, once a press, and the window stays.
    void anyOtherNameReachesTheToolWhole()
    {
        QFETCH(QString, name);
        h->ui().extr1->trigger();
        pressExtract(name);
        QCOMPARE(h->seams.starts, QList<QStringList>({{u"extrlow.exe"_qs, name + u".sgh"_qs}}));
        QCOMPARE(h->seams.windows, QList<kivo::WindowState>{kivo::WindowState::Minimised});
        QVERIFY(h->form->extrlowL->isVisible());
    }

    // Over the launcher; the name stays for another try.
    void aMissingToolIsReportedOverTheLauncher()
    {
        h->ui().extr1->trigger();
        h->seams.outcome = {kivo::StartResult::NotFound, {}};
        pressExtract(u"daytona"_qs);
        QCOMPARE(h->takeBox(),
                 (ShownBox{h->form->extrlowL, msgnoprogram(h->form->lingua, u"extrlow.exe"_qs),
                           kivo::BoxIcon::Critical, u"Error"_qs}));
        QVERIFY(h->form->isVisible());
        QCOMPARE(h->form->extrlowL->ui->Text1->text(), u"daytona"_qs);
    }

    // Said over the launcher, then About, picker, launcher and main window close.
    void outsideTheSseFolderTheLauncherClosesEverything()
    {
        Form1 &form = *h->form;
        form.ui->extr1->trigger();
        form.ui->help1->trigger();
        form.aprifileWindow().show();
        HideOrder outside{form.about, form.apriFile, form.extrlowL, &form};
        QWidget *const launcher = form.extrlowL;
        form.ui->Text7->setTag(u"/elsewhere"_qs);
        pressExtract(u"daytona"_qs);
        QCOMPARE(h->takeBox(), (ShownBox{launcher, msgnotinssedir(form.lingua),
                                         kivo::BoxIcon::Critical, u"KIVO"_qs}));
        QCOMPARE(outside.hidden,
                 QStringList({u"About"_qs, u"ApriFile"_qs, u"ExtrlowL"_qs, u"Form1"_qs}));
        QCOMPARE(h->seams.starts, QList<QStringList>());
    }

    void theWindowOpenedLastComesBack_data()
    {
        QTest::addColumn<QString>("picked");
        QTest::newRow("the launcher") << u"ExtrlowL"_qs;
        QTest::newRow("the main window") << u"Form1"_qs;
    }
    // Whichever window the user picks, About comes back, asking once: its
    // deactivation and the new focus window are one change.
    void theWindowOpenedLastComesBack()
    {
        QFETCH(QString, picked);
        QVERIFY(QTest::qWaitForWindowExposed(h->form.get()));
        openLauncherAndAbout();
        requests = 0;
        QWidget *window =
            picked == u"Form1" ? static_cast<QWidget *>(h->form.get()) : h->form->extrlowL.data();
        QCOMPARE(activated(window), h->form->about.data());
        QCOMPARE(requests, 1);
    }

    void aModalBoxIsLeftAlone()
    {
        QVERIFY(QTest::qWaitForWindowExposed(h->form.get()));
        openLauncherAndAbout();
        QDialog box(h->form->extrlowL);
        box.setModal(true);
        box.show();
        QCOMPARE(activated(&box), &box);
    }

    // When the winner closes, the one before takes over; then none does.
    void aClosedWinnerHandsOverToTheOneBefore()
    {
        QVERIFY(QTest::qWaitForWindowExposed(h->form.get()));
        openLauncherAndAbout();
        QCOMPARE(QApplication::activeWindow(), h->form->about.data());
        h->form->about->close();
        settle();
        QCOMPARE(QApplication::activeWindow(), h->form->extrlowL.data());
        h->form->extrlowL->close();
        QCOMPARE(activated(h->form.get()), h->form.get());
    }

    // A compositor answering late: Qt's focus window is one whose platform
    // window is gone. The check waits for the next focus change. Another
    // program taking the activation is asked nothing back.
    void aLateActivationWaitsForTheNextFocusChange()
    {
        QVERIFY(QTest::qWaitForWindowExposed(h->form.get()));
        openLauncherAndAbout();
        QWindow *const late = h->form->extrlowL->windowHandle();
        late->destroy();
        using Now = QWindowSystemInterface::SynchronousDelivery;
        QWindowSystemInterface::handleWindowActivated<Now>(late);
        requests = 0;
        settle();
        QCOMPARE(QGuiApplication::focusWindow(), late);
        QCOMPARE(requests, 0);
        QCOMPARE(activated(h->form.get()), h->form->about.data());
        QWindowSystemInterface::handleWindowActivated<Now>(nullptr);
        settle();
        QCOMPARE(QApplication::activeWindow(), nullptr);
        QCOMPARE(requests, 1);
    }

    // A screen reader's action needs no activation: a save that first fails
    // while another program is active is said over the main window.
    void aFailedSaveWithAnotherProgramActiveIsSaidOverTheMainWindow()
    {
        QVERIFY(QTest::qWaitForWindowExposed(h->form.get()));
        QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(
            nullptr);
        settle();
        h->settings.unwritable = true;
        h->form->ui->Check4->click();
        QCOMPARE(h->takeBox().owner, h->form.get());
    }

    // The real box belongs to the window that asks, whatever is active, shows
    // its text as it is, markup or not, and asks for a title bar with a close
    // button only, as the windows do.
    void aMessageBoxBelongsToTheWindowThatAsks()
    {
        h->ui().extr1->trigger();
        h->ui().help1->trigger();
        QWidget *owner = nullptr;
        QString text;
        Qt::TextFormat format = Qt::AutoText;
        Qt::WindowFlags flags;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            owner = box->parentWidget();
            text = box->text();
            format = box->textFormat();
            flags = box->windowFlags();
            box->close();
        });
        kivo::QtMessageBoxes().show(*h->form->extrlowL, u"<b>x\r\ny\rz"_qs, kivo::BoxIcon::None,
                                    u"KIVO"_qs);
        QCOMPARE(owner, h->form->extrlowL.data());
        // A carriage return breaks a line, alone or with its line feed.
        QCOMPARE(text, u"<b>x\ny\nz"_qs);
        QCOMPARE(format, Qt::PlainText);
        for (const Qt::WindowFlags asked : {flags, h->form->about->windowFlags()}) {
            QVERIFY(asked.testFlags(Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint));
            QVERIFY(!(asked & (Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint)));
        }
    }

    void aListLooksLikeQtsOwn_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::newRow("an entry") << u"640 x 480 (Default)"_qs;
        QTest::newRow("a text of its own") << u"Select a rom"_qs;
    }
    void aListLooksLikeQtsOwn()
    {
        QFETCH(QString, shown);
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

    void aPathFieldLooksLikeQtsOwn_data()
    {
        QTest::addColumn<int>("height");
        QTest::newRow("an even height") << 30;
        QTest::newRow("an odd height") << 23;
    }
    // A path that fits, where a line edit would put it, disabled as it is shown.
    void aPathFieldLooksLikeQtsOwn()
    {
        QFETCH(int, height);
        QLineEdit qt;
        PathField ours;
        for (QLineEdit *field : {&qt, static_cast<QLineEdit *>(&ours)}) {
            field->setText(u"bios/saturn.bin"_qs);
            field->setCursorPosition(0);
            field->setEnabled(false);
            field->resize(200, height);
        }
        QCOMPARE(ours.grab().toImage(), qt.grab().toImage());
    }

    void everyTextShowsWhole_data()
    {
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<int>("item");
        for (const qreal scale : {1.0, 1.5})
            for (int item = 0; item < 3; ++item)
                QTest::addRow("%s at %.1fx", qPrintable(languages[item].toString()), scale)
                    << scale << item;
    }
    // Every caption, label, button, list entry and prompt of every window, at
    // the default font and half as large again; a long path shows its ends.
    // The main window's border is fixed at its design size in every language,
    // larger only where a font needs it, and follows a switch back.
    void everyTextShowsWhole()
    {
        QFETCH(qreal, scale);
        QFETCH(int, item);
        h.reset();
        const QFont font = QApplication::font();
        const auto restore = qScopeGuard([&] { QApplication::setFont(font); });
        QFont larger = font;
        larger.setPointSizeF(font.pointSizeF() * scale);
        QApplication::setFont(larger);
        SseFolder sse;
        h = std::make_unique<Harness>(sse.path);
        h->seams.volumes.append({sse.temp.path(), u"a volume with a long name"_qs});
        // The prompts where nothing is chosen, and a path far too long for its field.
        h->chosen(5, u"a backup with a name far too long for its field, "_qs.repeated(4) +
                         u"daytona.bin"_qs);
        Form1 &form = h->start();
        settle();
        const QSize english = form.size();
        // Its whole path in its description.
        QCOMPARE(form.ui->Text5->accessibleDescription(), form.ui->Text5->text());
        form.ui->opz1Items->actions().at(item)->trigger();
        form.ui->help1->trigger();
        form.ui->extr1->trigger();
        for (QPushButton *request : {form.ui->Command1, form.ui->Command7}) {
            QTest::mouseClick(request, Qt::LeftButton);
            settle();
            QCOMPARE(cutTexts(), QStringList());
        }
        QCOMPARE(form.minimumSize(), form.maximumSize());
        if (scale == 1.0)
            QCOMPARE(form.size(), english);
        QVERIFY2(scale > 1.0 || english.width() <= 1024,
                 qPrintable(QString::number(english.width())));
        form.ui->opz11->trigger();
        settle();
        QCOMPARE(form.size(), english);
    }
};

QTEST_MAIN(TestExtras)
#include "test_extras.moc"
