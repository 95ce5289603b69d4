// The main window as a person uses it: start-up and what it restores, the
// lines "Run SSE" starts and what it refuses, the languages and the keyboard.

#include "harness.h"
#include "mainwindow/settingsstore.h"
#include "mainwindow/wine.h"
#include "testdata.h"

#include <QTextDocumentFragment>

using kivo::StartResult;
using namespace Messages;

// What a person has chosen, and what "Run SSE" would start with it.
static QStringList choices(Form1 &form)
{
    QStringList chosen{u"line="_qs + form.launchDecision().line.arguments().join(u'|')};
    for (PathField *field : form.findChildren<PathField *>())
        chosen << field->objectName() + u".tag="_qs + field->tag();
    for (ListBox *list : form.findChildren<ListBox *>())
        chosen << list->objectName() + u".index="_qs + QString::number(list->currentIndex());
    for (QAbstractButton *box : form.findChildren<QAbstractButton *>())
        chosen << box->objectName() + u".checked="_qs + QString::number(box->isChecked())
               << box->objectName() + u".enabled="_qs + QString::number(box->isEnabled());
    return chosen;
}

// The words the window shows for them.
static QStringList texts(Form1 &form)
{
    QStringList shown{u"Label15="_qs + form.ui->Label15->text()};
    for (PathField *field : form.findChildren<PathField *>())
        shown << field->objectName() + u'=' + field->text();
    for (ListBox *list : form.findChildren<ListBox *>())
        shown << list->objectName() + u'=' + list->editAreaText();
    return shown;
}

// Every text of the program's windows, by window, control and property.
static QMap<QString, QString> captions(Form1 &form)
{
    QCoreApplication::processEvents(); // the descriptions, kept current once idle
    QMap<QString, QString> all;
    for (QWidget *window : std::initializer_list<QWidget *>{
             &form, form.about.data(), form.extrlowL.data(), form.apriFile.data()}) {
        all[window->objectName()] = window->windowTitle();
        for (QObject *child : window->findChildren<QObject *>()) {
            // The window a control belongs to; a menu's popup counts as its menu bar's.
            QObject *owner = child;
            while (!owner->isWidgetType() || !static_cast<QWidget *>(owner)->isWindow() ||
                   qobject_cast<QMenu *>(owner))
                owner = owner->parent();
            if (owner != window || child->objectName().startsWith(u"qt_"))
                continue;
            for (const char *property :
                 {"title", "text", "accessibleName", "accessibleDescription", "editAreaText"})
                if (const QVariant value = child->property(property); value.isValid())
                    all[window->objectName() + u'/' + child->objectName() + u'.' +
                        QLatin1String(property)] = value.toString();
        }
    }
    return all;
}

// The items of the language menu, in the order of the menu, English last.
static void languageRows(bool english)
{
    QTest::addColumn<int>("item");
    QTest::newRow("Italiano") << 1;
    QTest::newRow("Français") << 2;
    if (english)
        QTest::newRow("English") << 0;
}

static QString plain(const QString &rich)
{
    return QTextDocumentFragment::fromHtml(rich).toPlainText();
}

// A whole configuration, as saved.
static const QByteArray wholeConfiguration =
    "[General]\nfirstrun=no\nlanguage=Italiano\nopz1=1\nres=2\ndrive=12\nstvrom=33\n"
    "system-sat=True\nsystem-stv=False\n[Last%20Folders]\ntext1=a.sgh\ntext1tag=a.sgh\n"
    "text5=b.bin\n";

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> own;
    std::unique_ptr<Harness> h;

    // What "Run SSE" starts once the files of an earlier run are chosen: the
    // header, both BIOS, the backup RAM and the cartridge.
    Form1 &startChosen()
    {
        h->general("firstrun") = u"no"_qs;
        for (const auto &[field, file] : {std::pair{1, "daytona.sgh"},
                                          {3, "satbios.bin"},
                                          {4, "stvbios.bin"},
                                          {5, "int back.bin"},
                                          {6, "cart 2.bin"}})
            h->chosen(field, QString::fromUtf8(file));
        return h->start();
    }
    QAction *languageItem(int item) { return h->ui().opz1Items->actions().at(item); }

private slots:
    void init()
    {
        own = std::make_unique<QTemporaryDir>();
        h = std::make_unique<Harness>(own->path());
    }
    void cleanup()
    {
        h.reset();
        own.reset();
    }

    void aFirstStartShowsThePromptsAndItsOwnFolder()
    {
        const Ui::Form1 &ui = *h->start().ui;
        QCOMPARE(ui.Text1->text(), msgselheader(u"English"_qs));
        QCOMPARE(ui.Text3->text(), msgselbios(u"English"_qs));
        QCOMPARE(ui.Text4->text(), msgselbios(u"English"_qs));
        QCOMPARE(ui.Text5->text(), u"-none-"_qs);
        QCOMPARE(ui.Text7->text(), own->path());
        QCOMPARE(ui.Text7->tag(), QDir(own->path()).canonicalPath());
        QCOMPARE(ui.Combo2->editAreaText(), msgselstvrom(u"English"_qs));
        QVERIFY(ui.Option1->isChecked());
        QVERIFY(!ui.Option2->isEnabled());
        QVERIFY(!ui.Check1->isEnabled());
        QCOMPARE(h->settings.saves,
                 words("system-sat=True system-stv=False drive=2 res=0 stretch=0"));
    }

    // The header and the game select their systems on the way; the system
    // saved wins, and the language saved is the one ticked.
    void theSavedSystemWinsOverWhatTheRestoreChose()
    {
        for (const QString &pair :
             words("firstrun=no stvrom=33 language=Italiano system-sat=True system-stv=False"))
            h->settings.values[u"General/"_qs + pair.section(u'=', 0, 0)] = pair.section(u'=', 1);
        h->chosen(1, oddHeader);
        h->chosen(3, oddBios);
        Form1 &form = h->start();
        QVERIFY(form.ui->Option1->isChecked());
        QVERIFY(form.ui->opz12->isChecked());
        QCOMPARE(form.ui->Combo2->currentIndex(), 33);
        QCOMPARE(h->general("system-stv"), u"False"_qs);
        QCOMPARE(h->run(),
                 QStringList({u"sse.exe"_qs, oddHeader, u"-d"_qs, u"F:"_qs, u"-b"_qs, oddBios,
                              u"-res"_qs, u"640"_qs, u"480"_qs, u"-stretch"_qs, u"0"_qs}));
    }

    void aSwitchComesBackAsItWasLeft_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("clicks");
        for (int number = 1; number <= 6; ++number) {
            QTest::addRow("Check%d ticked", number) << number << 1;
            QTest::addRow("Check%d ticked and cleared", number) << number << 2;
        }
    }
    // Saved under its own key as it is clicked; the next start shows it and
    // starts the same line.
    void aSwitchComesBackAsItWasLeft()
    {
        QFETCH(int, number);
        QFETCH(int, clicks);
        Form1 &form = startChosen();
        const QString name = u"Check%1"_qs.arg(number);
        for (int click = 0; click < clicks; ++click)
            form.findChild<QCheckBox *>(name)->click();
        const QStringList line = h->run();
        Harness again(own->path());
        again.settings.values = h->settings.values;
        QCOMPARE(again.start().findChild<QCheckBox *>(name)->isChecked(), clicks == 1);
        QCOMPARE(again.run(), line);
    }

    void aListEntryComesBack_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("index");
        QTest::newRow("the ST-V game") << u"Combo2"_qs << 33;
        QTest::newRow("the resolution") << u"Combo3"_qs << 2;
        QTest::newRow("the stretch") << u"Combo4"_qs << 1;
        QTest::newRow("the drive") << u"Combo5"_qs << 7;
    }
    void aListEntryComesBack()
    {
        QFETCH(QString, list);
        QFETCH(int, index);
        startChosen().findChild<ListBox *>(list)->setCurrentIndex(index);
        const QStringList line = h->run();
        Harness again(own->path());
        again.settings.values = h->settings.values;
        QCOMPARE(again.start().findChild<ListBox *>(list)->currentIndex(), index);
        QCOMPARE(again.run(), line);
    }

    // Whatever the header and the game chose; either chosen again clears the
    // other. A backup switch saved ticked without its file can be cleared.
    void neitherSystemSavedStartsNeither()
    {
        h->general("firstrun") = u"no"_qs;
        h->general("system-sat") = h->general("system-stv") = u"False"_qs;
        h->general("opz1") = u"1"_qs;
        h->general("stvrom") = u"5"_qs;
        h->chosen(1, u"a.sgh"_qs);
        Form1 &form = h->start();
        QCOMPARE(form.launchDecision().kind, Launch::Nothing);
        QVERIFY(form.ui->Check1->isEnabled());
        form.ui->Option2->click();
        form.ui->Option1->click();
        QVERIFY(!form.ui->Option2->isChecked());
    }

    void aBrokenSettingsFileStartsAsAFirstStart_data()
    {
        QTest::addColumn<QByteArray>("content");
        QByteArray noise(4096, '\0');
        QRandomGenerator(4096).fillRange(reinterpret_cast<quint32 *>(noise.data()),
                                         noise.size() / 4);
        QTest::newRow("random bytes") << noise;
        QTest::newRow("NULs") << QByteArray(1024, '\0');
        QTest::newRow("broken sections") << QByteArray("\x01[[[General\n=\n\xff\xfe \0\0 \n[Last");
        QTest::newRow("another format") << QByteArray("{\"General\": {\"res\": 2}}\n");
        QTest::newRow("values of the wrong type or out of range") << QByteArray(
            "[General]\ndrive=23\nres=3\nstretch=-1\nstvrom=40\nopz1=7\nopz2=maybe\n"
            "opz3=1.0\nopz4=@Rect(1 2 3 4)\nopz5=2\nsystem-sat=maybe\nsystem-stv=1\n");
    }
    // It shows what a person could have chosen, and takes choices again.
    void aBrokenSettingsFileStartsAsAFirstStart()
    {
        QFETCH(QByteArray, content);
        const QString file = own->filePath(u"KIVO.ini"_qs);
        kivo::IniSettingsStore firstStore(own->filePath(u"empty.ini"_qs)), store(file);
        Harness first(own->path(), &firstStore), broken(own->path(), &store);
        QVERIFY(makeFile(file, content));
        Form1 &form = broken.start();
        QCOMPARE(choices(form), choices(first.start()));
        QCOMPARE(texts(form), texts(*first.form));
        QCOMPARE(broken.seams.boxes.size(), 0);
        form.ui->Check5->click();
        QCOMPARE(QSettings(file, QSettings::IniFormat).value(u"opz5"_qs).toString(), u"1"_qs);
    }

    void aSettingsFileCutShortStartsSoundly_data()
    {
        QTest::addColumn<qsizetype>("size");
        for (qsizetype size = 1; size < wholeConfiguration.size(); size += 7)
            QTest::addRow("cut at %lld bytes", qlonglong(size)) << size;
    }
    void aSettingsFileCutShortStartsSoundly()
    {
        QFETCH(qsizetype, size);
        const QString file = own->filePath(u"KIVO.ini"_qs);
        QVERIFY(makeFile(file, wholeConfiguration.left(size)));
        kivo::IniSettingsStore store(file);
        Harness harness(own->path(), &store);
        harness.start().ui->Check5->click();
        QCOMPARE(harness.seams.boxes.size(), 0);
        QCOMPARE(QSettings(file, QSettings::IniFormat).value(u"opz5"_qs).toString(), u"1"_qs);
    }

    // Said once the window shows, over it, with the file and why; the first
    // run says it will come again; no second box.
    void aFileThatCannotBeWrittenIsSaidOnce()
    {
        h->settings.unwritable = true;
        Form1 &form = h->start();
        QCOMPARE(h->seams.boxes.size(), 0);
        QTRY_COMPARE(h->seams.boxes.size(), 1);
        const ShownBox box = h->takeBox();
        QCOMPARE(box.owner, &form);
        QCOMPARE(box.icon, kivo::BoxIcon::Critical);
        QCOMPARE(box.title, u"Error"_qs);
        QCOMPARE(box.text,
                 msgnotsaved(form.lingua, u"/config/KIVO.ini"_qs, u"Read-only file system"_qs));
        h->run();
        QCOMPARE(h->takeBox().text, msgfirstrunnotsaved(form.lingua));
        form.ui->Check4->click();
        QCOMPARE(h->seams.boxes.size(), 0);
    }

    void theSaturnLineCarriesEveryChoice_data()
    {
        QTest::addColumn<int>("resolution");
        QTest::addColumn<int>("stretch");
        QTest::addColumn<QList<int>>("switches");
        QTest::addColumn<QStringList>("line");
        const QStringList start = words("sse.exe daytona.sgh -d F: -b satbios.bin");
        QTest::newRow("800x600, proportional, no DSP, logging")
            << 1 << 2 << QList<int>{4, 6} << start + words("-res 800 600 -stretch 2 -nodsp -log");
        // Each backup file one argument, blanks and all.
        QTest::newRow("every switch")
            << 0 << 0 << QList<int>{1, 2, 3, 4, 5, 6}
            << start + words("-res 640 480 -stretch 0 -br") +
                   QStringList{u"int back.bin"_qs, u"-bc"_qs, u"cart 2.bin"_qs} +
                   words("-polycoordfix 0 -nodsp -nospritepri -log");
        QTest::newRow("1024x768, full screen")
            << 2 << 1 << QList<int>() << start + words("-res 1024 768 -stretch 1");
    }
    void theSaturnLineCarriesEveryChoice()
    {
        QFETCH(int, resolution);
        QFETCH(int, stretch);
        QFETCH(QList<int>, switches);
        QFETCH(QStringList, line);
        Form1 &form = startChosen();
        form.ui->Combo3->setCurrentIndex(resolution);
        form.ui->Combo4->setCurrentIndex(stretch);
        for (const int number : switches)
            form.findChild<QCheckBox *>(u"Check%1"_qs.arg(number))->click();
        QCOMPARE(h->run(), line);
        // The emulator shows as it opens.
        QCOMPARE(h->seams.windows, QList<kivo::WindowState>{kivo::WindowState::Normal});
        QCOMPARE(h->general("opz4"), switches.contains(4) ? u"1"_qs : QString());
    }

    // A ticked switch follows a new file and a new mode; without a file, no switch.
    void theStvLineCarriesTheGameAndItsBios()
    {
        Form1 &form = startChosen();
        for (QCheckBox *box : {form.ui->Check1, form.ui->Check2, form.ui->Check3})
            box->click();
        form.ui->Combo1->setCurrentIndex(1);
        form.ui->Text5->setTag(u"other back.bin"_qs);
        form.ui->Text6->setTag(QString());
        form.ui->Combo2->setCurrentIndex(33);
        QVERIFY(form.ui->Option2->isEnabled());
        QVERIFY(form.ui->Option2->isChecked());
        QCOMPARE(form.ui->Label15->text(), u"(Dir or Zip name for selected game: sss)"_qs);
        QCOMPARE(h->run(), (words("sse.exe -g sss -b stvbios.bin -res 640 480 -stretch 0 -br") +
                            QStringList{u"other back.bin"_qs, u"-polycoordfix"_qs, u"1"_qs}));
        QCOMPARE(h->seams.windows, QList<kivo::WindowState>{kivo::WindowState::Normal});
        QCOMPARE(h->general("stvrom"), u"33"_qs);
        QCOMPARE(h->general("system-sat"), u"False"_qs);
        QCOMPARE(h->general("system-stv"), u"True"_qs);
    }

    void eachDriveReachesTheLineAsItsCaptionSays_data()
    {
        QTest::addColumn<int>("index");
        for (int index = 0; index < 23; ++index)
            QTest::addRow("%c:", 'D' + index) << index;
    }
    void eachDriveReachesTheLineAsItsCaptionSays()
    {
        QFETCH(int, index);
        Form1 &form = startChosen();
        form.ui->Combo5->setCurrentIndex(index);
        QCOMPARE(h->run().mid(2, 2), QStringList({u"-d"_qs, form.ui->Combo5->currentText()}));
        QCOMPARE(form.ui->Combo5->currentText(), QString(QLatin1Char('D' + index)) + u':');
    }

    // The game label names the rom set the line names, each its own.
    void everyGameHasARomSetOfItsOwn()
    {
        Form1 &form = startChosen();
        QSet<QString> roms;
        for (int index = 1; index < form.ui->Combo2->count(); ++index) {
            form.ui->Combo2->setCurrentIndex(index);
            const QStringList line = h->run();
            QCOMPARE(line.value(1), u"-g"_qs);
            QVERIFY2(form.ui->Label15->text().contains(line.value(2)), qPrintable(line.value(2)));
            roms.insert(line.value(2));
        }
        QCOMPARE(roms.size(), 39);
    }

    void everyWindowSpeaksTheLanguage_data() { languageRows(false); }
    // Every window: the same controls, no text empty in one language only,
    // the titles and texts of each window its own; a window opened in the
    // language reads as one switched while open. Words change; choices stay,
    // the ST-V game and the chosen BIOS with them; the item ticked and saved.
    void everyWindowSpeaksTheLanguage()
    {
        QFETCH(int, item);
        Form1 &form = startChosen();
        form.ui->Combo2->setCurrentIndex(33);
        const auto openAll = [&] {
            form.ui->extr1->trigger();
            form.ui->help1->trigger();
            QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
        };
        openAll();
        const QMap<QString, QString> english = captions(form);
        QStringList englishStretch;
        for (int entry = 0; entry < 3; ++entry)
            englishStretch << form.ui->Combo4->itemText(entry);
        const QStringList before = choices(form);
        languageItem(item)->trigger();
        const QMap<QString, QString> switched = captions(form);
        QCOMPARE(choices(form), before);
        QCOMPARE(form.ui->Text3->text(), u"satbios.bin"_qs);
        QVERIFY(languageItem(item)->isChecked());
        QCOMPARE(h->general("language"), Messages::languages[item].toString());
        QCOMPARE(switched.keys(), english.keys());
        for (auto text = switched.cbegin(); text != switched.cend(); ++text)
            QCOMPARE(text->isEmpty(), english.value(text.key()).isEmpty());
        for (const QString &key :
             words("About ApriFile Form1/Frame1.title Form1/Label8.text Form1/help1.text "
                   "About/Label3.text ExtrlowL/Label3.text ApriFile/Label1.text "
                   "Form1/Text5.accessibleName Form1/Combo2.accessibleName Form1/Label15.text "
                   "Form1/Combo5.accessibleDescription ApriFile/File1.accessibleName"))
            QVERIFY2(switched[key] != english[key], qPrintable(key));
        for (int entry = 0; entry < 3; ++entry)
            QVERIFY2(form.ui->Combo4->itemText(entry) != englishStretch.value(entry),
                     qPrintable(form.ui->Combo4->itemText(entry)));
        for (QWidget *window : std::initializer_list<QWidget *>{form.extrlowL, form.about})
            window->close();
        form.apriFile->close();
        openAll();
        QCOMPARE(captions(form), switched);
    }

    void thePromptsFollowTheLanguage_data() { languageRows(false); }
    // Nothing chosen yet: the fields ask in the new language, and still hold nothing.
    void thePromptsFollowTheLanguage()
    {
        const Ui::Form1 &ui = *h->start().ui;
        const QList<PathField *> fields{ui.Text1, ui.Text3, ui.Text4};
        QStringList english;
        for (const PathField *field : fields)
            english << field->text();
        QFETCH(int, item);
        languageItem(item)->trigger();
        for (qsizetype index = 0; index < fields.size(); ++index) {
            QVERIFY2(fields[index]->text() != english[index], qPrintable(english[index]));
            QCOMPARE(fields[index]->tag(), QString());
        }
    }

    void captionsKeepTheirMarks_data() { languageRows(true); }
    // "&" before a letter or "&", line breaks CR LF, no access key twice
    // among the menus, and the Browse buttons alike.
    void captionsKeepTheirMarks()
    {
        QFETCH(int, item);
        Form1 &form = h->start();
        form.ui->extr1->trigger();
        form.ui->help1->trigger();
        QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
        languageItem(item)->trigger();
        const QMap<QString, QString> texts = captions(form);
        static const QRegularExpression loneAmpersand(u"&(?!\\w)"_qs);
        for (const QString &text : texts) {
            QVERIFY2(!QString(text).remove(u"&&"_qs).contains(loneAmpersand), qPrintable(text));
            QVERIFY2(!QString(text).remove(u"\r\n"_qs).contains(u'\r'), qPrintable(text));
        }
        QSet<QChar> keys;
        for (QMenu *menu : {form.ui->file, form.ui->opz, form.ui->extr, form.ui->help})
            keys << menu->title().at(menu->title().indexOf(u'&') + 1).toLower();
        QCOMPARE(keys.size(), 4);
        for (int browse = 4; browse <= 7; ++browse)
            QCOMPARE(texts[u"Form1/Command%1.text"_qs.arg(browse)],
                     texts[u"Form1/Command3.text"_qs]);
    }

    // No system chosen stays so.
    void theSameLanguageAgainIsAppliedAndSavedAgain()
    {
        Form1 &form = h->start();
        form.ui->Option1->setAutoExclusive(false);
        form.ui->Option1->setChecked(false);
        h->settings.saves.clear();
        form.ui->opz11->trigger();
        QCOMPARE(h->settings.saves, QStringList{u"language=English"_qs});
        QVERIFY(!form.ui->Option1->isChecked());
        QVERIFY(!form.ui->Option2->isChecked());
        // A header chosen makes Saturn the system again.
        form.ui->Text1->setText(u"other.sgh"_qs);
        QVERIFY(form.ui->Option1->isChecked());
    }

    void aListTakesNoTypedCharacters_data()
    {
        QTest::addColumn<QString>("list");
        for (const char *list : {"Combo1", "Combo2", "Combo3", "Combo4", "Combo5"})
            QTest::newRow(list) << QString::fromLatin1(list);
    }
    // Its next entry's name, which a list would otherwise search for.
    void aListTakesNoTypedCharacters()
    {
        QFETCH(QString, list);
        Form1 &form = h->start();
        ListBox *const entries = form.findChild<ListBox *>(list);
        const QString shown = entries->editAreaText();
        h->settings.saves.clear();
        QTest::keyClicks(entries,
                         entries->itemText((entries->currentIndex() + 1) % entries->count()));
        QCOMPARE(entries->editAreaText(), shown);
        QCOMPARE(h->settings.saves, QStringList());
    }

    // Open or closed, the lists take their keys, and no typed character.
    void theArrowsChooseInAList()
    {
        const Ui::Form1 &ui = *h->start().ui;
        QVERIFY(QTest::qWaitForWindowExposed(h->form.get()));
        h->settings.saves.clear();
        ui.Combo3->showPopup();
        QTRY_VERIFY(ui.Combo3->view()->isVisible());
        QTest::keyClicks(ui.Combo3->view(), u"1 8"_qs);
        QTest::keySequence(ui.Combo3->view(), QKeySequence(Qt::Key_Down, Qt::Key_Return));
        QTRY_COMPARE(ui.Combo3->currentIndex(), 1);
        QTest::keyClick(ui.Combo3, Qt::Key_End);
        QCOMPARE(h->settings.saves, words("res=1 res=2"));
    }

    // In every window, all open at once; the picker's Cancel closes it,
    // About's OK closes it, the launcher's button starts its tool.
    void enterPressesTheFocusedButton()
    {
        Form1 &form = startChosen();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ui->extr1->trigger();
        form.ui->help1->trigger();
        QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
        for (QPushButton *button : {form.apriFile->ui->CancelButton, form.about->ui->OKButton,
                                    form.extrlowL->ui->Command1, form.ui->Command8}) {
            button->setFocus();
            QTest::keyClick(button, button == form.ui->Command8 ? Qt::Key_Enter : Qt::Key_Return);
        }
        QVERIFY(!form.apriFile);
        QVERIFY(!form.about);
        QCOMPARE(h->seams.boxes.size(), 1); // the launcher's empty name
        QCOMPARE(h->seams.starts.size(), 1);
        // Shift+F1 shows the focused control's description.
        QTest::keyClick(form.ui->Command8, Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY(QApplication::activePopupWidget());
    }

    // As tool tip, What's This and description, once the window is idle;
    // names in it are never read as markup.
    void runSseTellsTheLineItStarts()
    {
        Form1 &form = startChosen();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        // Described for the start and the activation first, so that only the new file can tell.
        QTRY_COMPARE(form.ui->Command8->accessibleDescription(), form.launchDecision().line.text());
        QCoreApplication::processEvents();
        form.ui->Text1->setTag(u"<b>a</b> & b.sgh"_qs);
        const QString line = form.launchDecision().line.text();
        QTRY_COMPARE(form.ui->Command8->accessibleDescription(), line);
        QCOMPARE(plain(form.ui->Command8->toolTip()), line);
        QCOMPARE(plain(form.ui->Command8->whatsThis()), line);
        // Kept current: a list's new entry is in it at once.
        form.ui->Combo3->setCurrentIndex(2);
        QTRY_COMPARE(form.ui->Command8->accessibleDescription(), form.launchDecision().line.text());
    }

    // As tool tip and description: Wine's drive letters, or why there are none.
    void theDriveListTellsWinesDriveLetters()
    {
        Form1 &form = startChosen();
        const QString prefix = kivo::winePrefix(QProcessEnvironment::systemEnvironment());
        QTRY_VERIFY(!form.ui->Combo5->accessibleDescription().isEmpty());
        const QString drives = form.ui->Combo5->accessibleDescription();
        QVERIFY2(drives.startsWith(msgwinedrives(form.lingua, prefix)) ||
                     drives == msgnowineprefix(form.lingua, prefix),
                 qPrintable(drives));
        QCOMPARE(plain(form.ui->Combo5->toolTip()), drives);
    }

    void eachBrowseButtonSaysItsOwnFieldAndFile_data() { languageRows(true); }
    // The buttons' captions are alike; their descriptions are not: each names
    // the field it fills, in the language, and what that field shows.
    void eachBrowseButtonSaysItsOwnFieldAndFile()
    {
        QFETCH(int, item);
        Form1 &form = startChosen();
        languageItem(item)->trigger();
        QCoreApplication::processEvents();
        QSet<QString> purposes;
        for (int code : {1, 3, 4, 5, 6, 7}) {
            const auto *field = form.findChild<PathField *>(u"Text%1"_qs.arg(code));
            const auto *button = form.findChild<QPushButton *>(u"Command%1"_qs.arg(code));
            const QString description = button->accessibleDescription();
            const QString shown = u": "_qs + field->text();
            QVERIFY2(description.endsWith(shown), qPrintable(description));
            QVERIFY2(description.size() > shown.size(), qPrintable(description));
            purposes << description.chopped(shown.size());
        }
        QCOMPARE(purposes.size(), 6);
    }

    // No emulator beside the program on the first run: it says so and ends,
    // and the run is not counted.
    void noEmulatorBesideKivoEndsIt()
    {
        Form1 &form = h->start();
        h->seams.outcome = {StartResult::NotFound, {}};
        h->run();
        QCOMPARE(h->takeBox(), (ShownBox{&form, msgnotinssedir(form.lingua),
                                         kivo::BoxIcon::Critical, u"KIVO"_qs}));
        QVERIFY(!form.isVisible());
        QCOMPARE(h->general("firstrun"), QString());
    }

    void aFailedFirstRunSaysWhyAndIsNotCounted_data()
    {
        QTest::addColumn<StartResult>("result");
        QTest::addColumn<QString>("text");
        const QString program = u"sse.exe"_qs, english = u"English"_qs;
        QTest::newRow("not executable")
            << StartResult::NotExecutable << msgnotexecutable(english, program);
        QTest::newRow("no wine") << StartResult::NoWine << msgnowine(english, program);
        QTest::newRow("no 32-bit wine") << StartResult::NoWine32 << msgnowine32(english, program);
        QTest::newRow("the system's reason")
            << StartResult::Failed << msgnotstarted(english, program, u"Exec format error"_qs);
    }
    void aFailedFirstRunSaysWhyAndIsNotCounted()
    {
        QFETCH(StartResult, result);
        QFETCH(QString, text);
        Form1 &form = h->start();
        h->seams.outcome = {result, u"Exec format error"_qs};
        h->run();
        QCOMPARE(h->takeBox(), (ShownBox{&form, text, kivo::BoxIcon::Critical, u"Error"_qs}));
        QCOMPARE(h->general("firstrun"), QString());
    }

    void theFirstRunPreparesTheEmulator()
    {
        Form1 &form = h->start();
        QCOMPARE(h->run(), words("sse.exe -resetcfg"));
        // Minimised, so that the box below is read first.
        QCOMPARE(h->seams.windows, QList<kivo::WindowState>{kivo::WindowState::Minimised});
        QCOMPARE(h->general("firstrun"), u"no"_qs);
        QCOMPARE(h->takeBox(), (ShownBox{&form, msgfirstrun(form.lingua),
                                         kivo::BoxIcon::Information, u"KIVO"_qs}));
    }

    void eachSystemNeedsBothItsChoices_data()
    {
        QTest::addColumn<bool>("stv");
        QTest::addColumn<bool>("withBios");
        QTest::newRow("Saturn without its BIOS") << false << false;
        QTest::newRow("Saturn without a header") << false << true;
        QTest::newRow("ST-V without its BIOS") << true << false;
        QTest::newRow("ST-V without a game") << true << true;
    }
    void eachSystemNeedsBothItsChoices()
    {
        QFETCH(bool, stv);
        QFETCH(bool, withBios);
        h->general("firstrun") = u"no"_qs;
        Form1 &form = h->start();
        (stv ? form.ui->Text4 : form.ui->Text3)->setTag(withBios ? u"bios.bin"_qs : QString());
        if (stv)
            form.ui->Combo2->setCurrentIndex(withBios ? 0 : 33);
        else
            form.ui->Text1->setTag(withBios ? QString() : u"game.sgh"_qs);
        QCOMPARE(h->run(), QStringList());
        QCOMPARE(h->takeBox(),
                 (ShownBox{&form, stv ? msgneedbiosrom(form.lingua) : msgneedbioshdr(form.lingua),
                           kivo::BoxIcon::Information, u"Error"_qs}));
    }

    // Started through a link to its folder, the program is still in it;
    // another SSE folder: it says so and ends.
    void onlyTheSseFolderRunsTheEmulator()
    {
        h->general("firstrun") = u"no"_qs;
        h->seams.folder = own->filePath(u"link"_qs);
        QVERIFY(QFile::link(own->path(), h->seams.folder));
        Form1 &form = h->start();
        form.ui->Text7->setText(h->seams.folder);
        form.ui->Combo2->setCurrentIndex(5);
        form.ui->Text4->setTag(u"stv.bin"_qs);
        QCOMPARE(h->run().value(1), u"-g"_qs);
        form.ui->Text7->setTag(own->filePath(u"elsewhere"_qs));
        QTRY_COMPARE(form.ui->Command8->accessibleDescription(), QString());
        QCOMPARE(h->run(), QStringList());
        QCOMPARE(h->takeBox().text, msgnotinssedir(form.lingua));
        QVERIFY(!form.isVisible());
        QCOMPARE(Form1::lowerDriveLetters(u"Z:M:a:/C:\\PROGRA~1"_qs), u"z:m:a:/c:\\PROGRA~1"_qs);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
