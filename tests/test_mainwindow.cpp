// The main window as a person uses it: start-up and what it restores, the
// lines "Run SSE" starts, the languages, keyboard and screen reader.

#include "harness.h"
#include "mainwindow/settingsstore.h"

using kivo::StartResult;
using namespace Messages;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startUpShowsWhatWasSaved();
    void theLinesRunSseStartsLanguagesAndKeys();
    void whatRunSseRefusesOrReports();
};

// What a person has chosen, what "Run SSE" would start, and with words the
// words they are shown with.
static QStringList shown(Form1 &form, bool texts = true)
{
    QStringList seen{form.launchDecision().line.arguments().join(u'|'), form.ui->Label15->text()};
    for (PathField *field : form.findChildren<PathField *>())
        seen << field->tag() + u'|' + (texts ? field->text() : QString());
    for (ListBox *list : form.findChildren<ListBox *>())
        seen << QString::number(list->currentIndex()) + (texts ? list->editAreaText() : QString());
    for (QAbstractButton *box : form.findChildren<QAbstractButton *>())
        seen << QString::number(box->isChecked()) + QString::number(box->isEnabled());
    return texts ? seen : seen.mid(2);
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

void TestMainWindow::startUpShowsWhatWasSaved()
{
    QTemporaryDir own;
    Harness first(own.path());
    const Ui::Form1 &ui = *first.start().ui;
    QVERIFY(!ui.Text1->text().isEmpty() && ui.Text3->text() == ui.Text4->text());
    QCOMPARE(ui.Text5->text() + ui.Text7->text(), u"-none-"_qs + own.path());
    QCOMPARE(ui.Text7->tag(), QDir(own.path()).canonicalPath());
    QVERIFY(ui.Option1->isChecked() && !ui.Option2->isEnabled() && !ui.Check1->isEnabled());
    QCOMPARE(ui.Combo2->editAreaText(), msgselstvrom(u"English"_qs));
    QCOMPARE(first.settings.saves,
             words("system-sat=True system-stv=False drive=2 res=0 stretch=0"));
    // What "Run SSE" tells a screen reader, once the window is idle.
    QTRY_COMPARE(ui.Command8->accessibleDescription(), u"sse.exe -resetcfg"_qs);

    // All of it comes back. The header and the game select their systems
    // on the way; the system saved wins.
    Harness again(own.path());
    again.settings.values = first.settings.values;
    for (const QString &pair : words("firstrun=no opz1=1 opz3=1 opz6=1 stvrom=33 res=1 stretch=2 "
                                     "drive=0 language=Italiano"))
        again.settings.values[u"General/"_qs + pair.section(u'=', 0, 0)] = pair.section(u'=', 1);
    again.chosen(
        {oddHeader, QString(), oddBios, QString(), u"b.bin"_qs, QString(), ui.Text7->tag()});
    Form1 &restored = again.start();
    QVERIFY(restored.ui->Option1->isChecked() && restored.ui->opz12->isChecked());
    QCOMPARE(restored.ui->Combo2->currentIndex(), 33);
    QCOMPARE(again.general("system-stv"), u"False"_qs);
    QCOMPARE(restored.launchDecision().line.arguments(),
             QStringList({u"sse.exe"_qs, oddHeader, u"-d"_qs, u"D:"_qs, u"-b"_qs, oddBios}) +
                 words("-res 800 600 -stretch 2 -br b.bin -polycoordfix 0 -log"));
    // Neither system saved: neither comes back, whatever the header and game
    // chose; either chosen again clears the other. A backup switch saved
    // ticked without its file can be cleared.
    again.settings["General/system-sat"] = u"False"_qs;
    again.settings.values.remove(u"Last Folders/text5"_qs);
    Form1 &none = again.start();
    QVERIFY(none.launchDecision().kind == Launch::Nothing && none.ui->Check1->isEnabled());
    none.ui->Option2->click();
    none.ui->Option1->click();
    QVERIFY(!none.ui->Option2->isChecked());

    // Garbage, values of the wrong type or out of range, a file cut short: the
    // start shows what a person could have chosen, and choices are saved again.
    const QString path = own.filePath(u"KIVO.ini"_qs);
    const auto startOn = [&](const QByteArray &content) {
        const bool written = makeFile(path, content);
        kivo::IniSettingsStore store(path);
        Harness harness(own.path(), &store);
        Form1 &form = harness.start();
        const QStringList seen = shown(form) << QString::number(harness.seams.boxes.size());
        form.ui->Check5->click();
        const bool saved = QSettings(path, QSettings::IniFormat).value(u"opz5"_qs).toInt() ==
                           form.ui->Check5->isChecked();
        return written && saved ? seen : QStringList{u"unwritten or not saved"_qs};
    };
    const QStringList firstStart = startOn({});
    QByteArray noise(4096, '\0');
    QRandomGenerator(4096).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    for (const QByteArray &content :
         {noise, QByteArray(1024, '\0'), QByteArray("\x01[[[General\n=\n\xff\xfe \0\0 \n[Last"),
          QByteArray("{\"General\": {\"res\": 2}}\n"),
          QByteArray("[General]\ndrive=23\nres=3\nstretch=-1\nstvrom=40\nopz1=7\nopz2=maybe\n"
                     "opz3=1.0\nopz4=@Rect(1 2 3 4)\nopz5=2\nsystem-sat=maybe\nsystem-stv=1\n")})
        QCOMPARE(startOn(content), firstStart);
    const QByteArray whole = "[General]\nfirstrun=no\nlanguage=Italiano\nopz1=1\nres=2\n"
                             "drive=12\nstvrom=33\nsystem-sat=True\nsystem-stv=False\n"
                             "[Last%20Folders]\ntext1=a.sgh\ntext1tag=a.sgh\ntext5=b.bin\n";
    for (qsizetype size = 1; size < whole.size(); size += 7)
        QVERIFY(startOn(whole.left(size)).size() == firstStart.size());

    // A file that cannot be written: said once, once the window shows, with
    // the file and why; the first run says it will come again; choices hold.
    Harness harness;
    harness.settings.unwritable = true;
    Form1 &form = harness.start();
    QVERIFY(harness.seams.boxes.isEmpty());
    QTRY_COMPARE(harness.seams.boxes.size(), 1);
    const ShownBox box = harness.takeBox();
    QVERIFY(box.owner == &form && box.icon == kivo::BoxIcon::Critical && box.title == u"Error");
    QVERIFY(box.text.contains(u"/config/KIVO.ini") && box.text.contains(u"Read-only file system"));
    QTest::mouseClick(form.ui->Command8, Qt::LeftButton);
    QCOMPARE(harness.takeBox().text, msgfirstrunnotsaved(form.lingua));
    form.ui->Check4->click();
    QVERIFY(form.launchDecision().kind == Launch::Missing && harness.seams.boxes.isEmpty());
}

void TestMainWindow::theLinesRunSseStartsLanguagesAndKeys()
{
    Harness harness;
    harness.settings["General/firstrun"] = u"no"_qs;
    // The header, none in the second field, both BIOS, the backup RAM, the cartridge.
    harness.chosen(words("daytona.sgh  satbios.bin stvbios.bin intback.bin cart.bin"));
    Form1 &form = harness.start();
    const Ui::Form1 &ui = *form.ui;
    const auto run = [&] {
        QTest::mouseClick(ui.Command8, Qt::LeftButton);
        return harness.lastStart().join(u' ');
    };
    ui.Combo3->setCurrentIndex(1);
    ui.Combo4->setCurrentIndex(2);
    ui.Check4->click();
    ui.Check6->click();
    QCOMPARE(run(), QStringLiteral("sse.exe daytona.sgh -d F: -b satbios.bin -res 800 600 "
                                   "-stretch 2 -nodsp -log"));
    QCOMPARE(harness.general("opz4"), u"1"_qs);

    ui.Combo3->setCurrentIndex(0);
    ui.Combo4->setCurrentIndex(0);
    for (QCheckBox *box : {ui.Check1, ui.Check2, ui.Check3, ui.Check5})
        box->click();
    QCOMPARE(run(), QStringLiteral("sse.exe daytona.sgh -d F: -b satbios.bin -res 640 480 "
                                   "-stretch 0 -br intback.bin -bc cart.bin -polycoordfix 0 "
                                   "-nodsp -nospritepri -log"));

    // Each entry reaches the line as its caption says: the resolution's
    // numbers, the stretch's position, the drive, the rom set its line names.
    // Last the first entry, for the lines below.
    for (ListBox *list : {ui.Combo3, ui.Combo4, ui.Combo5}) {
        for (int index = list->count() - 1; index >= 0; --index) {
            list->setCurrentIndex(index);
            // "800 x 600 (Default)" as "800 600".
            const QString caption =
                list->currentText().section(u" ("_qs, 0, 0).replace(u" x "_qs, u" "_qs);
            const QString fragment = list == ui.Combo3   ? u"-res "_qs + caption
                                     : list == ui.Combo4 ? u"-stretch %1"_qs.arg(index)
                                                         : u"-d "_qs + caption;
            QVERIFY((form.launchDecision().line.text() + u' ').contains(u' ' + fragment + u' '));
        }
    }
    QSet<QString> roms;
    for (int index = 1; index < ui.Combo2->count(); ++index) {
        ui.Combo2->setCurrentIndex(index);
        const QStringList arguments = form.launchDecision().line.arguments();
        roms.insert(arguments.value(2));
        QVERIFY(arguments.value(1) == u"-g" && ui.Label15->text().contains(arguments.value(2)));
    }
    QCOMPARE(roms.size(), ui.Combo2->count() - 1);

    // A ticked switch follows its file and its mode; without a file, no switch.
    for (QCheckBox *box : {ui.Check4, ui.Check5, ui.Check6})
        box->click();
    ui.Combo1->setCurrentIndex(1);
    ui.Text6->setTag(QString());
    ui.Combo2->setCurrentIndex(33);
    QVERIFY(ui.Option2->isChecked());
    QCOMPARE(ui.Label15->text(), u"(Dir or Zip name for selected game: sss)"_qs);
    QCOMPARE(run(), QStringLiteral("sse.exe -g sss -b stvbios.bin -res 640 480 -stretch 0 "
                                   "-br intback.bin -polycoordfix 1"));
    ui.Text5->setTag(u"back 1.bin"_qs);
    ui.Text6->setTag(u"cart 2.bin"_qs);
    QCOMPARE(form.launchDecision().line.arguments().mid(10, 4),
             QStringList({u"-br"_qs, u"back 1.bin"_qs, u"-bc"_qs, u"cart 2.bin"_qs}));
    QCOMPARE(harness.general("stvrom") + harness.general("system-sat"), u"33False"_qs);
    QCOMPARE(harness.general("system-stv"), u"True"_qs);

    // The languages, with every window opened in French and the ST-V game chosen.
    ui.opz13->trigger();
    ui.extr1->trigger();
    ui.help1->trigger();
    QTest::mouseClick(ui.Command7, Qt::LeftButton);
    const QMap<QString, QString> opened = captions(form);

    QMap<QString, QMap<QString, QString>> byLanguage;
    for (QAction *item : {ui.opz12, ui.opz13, ui.opz11}) {
        const QStringList before = shown(form, false);
        item->trigger();
        QVERIFY(item->isChecked() && harness.general("language") == form.lingua);
        byLanguage[form.lingua] = captions(form);
        // Words change; choices stay, the ST-V game and the chosen BIOS with them.
        QCOMPARE(shown(form, false), before);
        QCOMPARE(ui.Text3->text(), u"satbios.bin"_qs);
        // No access key twice among the menus.
        QSet<QChar> keys;
        for (QMenu *menu : {ui.file, ui.opz, ui.extr, ui.help})
            keys << menu->title().at(menu->title().indexOf(u'&') + 1).toLower();
        QCOMPARE(keys.size(), 4);
    }
    QCOMPARE(byLanguage.value(u"Français"_qs), opened);
    const QMap<QString, QString> &english = byLanguage[u"English"_qs];

    // Every table: the same controls in every language, no text empty in
    // one only, line breaks CR LF, "&" before a letter or "&", and the
    // Browse buttons alike.
    static const QRegularExpression loneAmpersand(u"&(?!\\w)"_qs);
    for (const auto &texts : std::as_const(byLanguage)) {
        QCOMPARE(texts.keys(), english.keys());
        for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
            QCOMPARE(it->isEmpty(), english.value(it.key()).isEmpty());
            QVERIFY2(!QString(*it).remove(u"&&"_qs).contains(loneAmpersand), qPrintable(*it));
            QVERIFY2(QString(*it).remove(u"\r\n"_qs).count(u'\r') == 0, qPrintable(*it));
        }
        for (int browse = 4; browse <= 7; ++browse)
            QCOMPARE(texts[u"Form1/Command%1.text"_qs.arg(browse)],
                     texts[u"Form1/Command3.text"_qs]);
    }
    for (const QString &key :
         words("Form1/Frame1.title Form1/Label8.text Form1/help1.text About About/Label3.text "
               "ExtrlowL/Label3.text Form1/Text5.accessibleName Form1/Combo2.accessibleDescription "
               "Form1/Label15.text Form1/Combo5.accessibleDescription"))
        QVERIFY2(byLanguage[u"Italiano"_qs][key] != english[key], qPrintable(key));

    // The same language again applies and saves again; no system chosen stays so.
    harness.settings.saves.clear();
    ui.Option2->setAutoExclusive(false);
    ui.Option2->setChecked(false);
    ui.opz11->trigger();
    QCOMPARE(harness.settings.saves, QStringList{u"language=English"_qs});
    QVERIFY(!ui.Option1->isChecked() && !ui.Option2->isChecked());
    // A header chosen makes Saturn the system again.
    ui.Text1->setText(u"other.sgh"_qs);
    QVERIFY(ui.Option1->isChecked() && QTest::qWaitForWindowExposed(&form));
    harness.settings.saves.clear();

    // The lists take no typed characters, open or closed; other keys work.
    ui.Combo3->showPopup();
    QTRY_VERIFY(ui.Combo3->view()->isVisible());
    QTest::keyClicks(ui.Combo3->view(), u"1 8"_qs);
    QTest::keySequence(ui.Combo3->view(), QKeySequence(Qt::Key_Down, Qt::Key_Return));
    QTRY_COMPARE(ui.Combo3->currentIndex(), 1);
    QTest::keyClick(ui.Combo3, Qt::Key_End);
    QCOMPARE(harness.settings.saves, words("res=1 res=2"));
    for (ListBox *list : {ui.Combo1, ui.Combo2, ui.Combo4, ui.Combo5, ui.Combo3}) {
        const QString shown = list->editAreaText();
        // Its next entry's name, which a list would otherwise search for.
        QTest::keyClicks(list, list->itemText((list->currentIndex() + 1) % list->count()));
        QCOMPARE(list->editAreaText(), shown);
    }
    QCOMPARE(harness.settings.saves.size(), 2);

    // Enter and keypad Enter press the focused button, in every window (all
    // still open).
    for (QPushButton *button : {form.apriFile->ui->CancelButton, form.extrlowL->ui->Command1,
                                form.about->ui->OKButton, ui.Command8}) {
        button->setFocus();
        QTest::keyClick(button, button == ui.Command8 ? Qt::Key_Enter : Qt::Key_Return);
    }
    QVERIFY(!form.apriFile && !form.about && harness.seams.boxes.size() == 1);
    QCOMPARE(harness.seams.starts.size(), 4);

    // Shift+F1 shows the focused control's description.
    QTest::keyClick(ui.Command8, Qt::Key_F1, Qt::ShiftModifier);
    QVERIFY(QApplication::activePopupWidget());
}

void TestMainWindow::whatRunSseRefusesOrReports()
{
    QTemporaryDir own;
    Harness harness(own.path());
    Form1 &form = harness.start();
    const Ui::Form1 &ui = *form.ui;
    const auto press = [&] { QTest::mouseClick(ui.Command8, Qt::LeftButton); };

    // No emulator beside the program, on the first run: it says so and ends,
    // and the run is not counted (below).
    harness.seams.outcome = {StartResult::NotFound, {}};
    press();
    QVERIFY(harness.takeBox().text == msgnotinssedir(form.lingua) && !form.isVisible());
    form.show();

    // A first run that fails says why, over the main window, and is not recorded.
    const QString program = u"sse.exe"_qs, reason = u"Exec format error"_qs;
    for (const auto &[result, text] :
         {qMakePair(StartResult::NotExecutable, msgnotexecutable(form.lingua, program)),
          qMakePair(StartResult::NoWine, msgnowine(form.lingua, program)),
          qMakePair(StartResult::NoWine32, msgnowine32(form.lingua, program)),
          qMakePair(StartResult::Failed, msgnotstarted(form.lingua, program, reason))}) {
        harness.seams.outcome = {result, reason};
        press();
        const ShownBox box = harness.takeBox();
        QVERIFY(box.owner == &form && box.icon == kivo::BoxIcon::Critical);
        QCOMPARE(box.title + box.text, u"Error"_qs + text);
    }
    QCOMPARE(harness.general("firstrun"), QString());
    harness.seams.outcome = {};
    press();
    QCOMPARE(harness.lastStart() << harness.general("firstrun"), words("sse.exe -resetcfg no"));
    QCOMPARE(harness.takeBox().text, msgfirstrun(form.lingua));

    // Each system starts nothing without either of its two choices, and says so.
    const qsizetype started = harness.seams.starts.size();
    for (const bool stv : {false, true})
        for (const bool withBios : {false, true}) {
            (stv ? ui.Text4 : ui.Text3)->setTag(withBios ? u"bios.bin"_qs : QString());
            stv ? ui.Combo2->setCurrentIndex(withBios ? 0 : 33)
                : ui.Text1->setTag(withBios ? QString() : u"game.sgh"_qs);
            press();
            const ShownBox box = harness.takeBox();
            QVERIFY(box.icon == kivo::BoxIcon::Information && box.title == u"Error");
            QCOMPARE(box.text, stv ? msgneedbiosrom(form.lingua) : msgneedbioshdr(form.lingua));
        }
    QCOMPARE(harness.seams.starts.size(), started);

    // Started through a link to its folder, the program is still in it.
    harness.seams.folder = own.filePath(u"link"_qs);
    QVERIFY(QFile::link(own.path(), harness.seams.folder));
    ui.Text7->setText(harness.seams.folder);
    ui.Combo2->setCurrentIndex(5);
    press();
    QCOMPARE(harness.seams.starts.size(), started + 1);
    QCOMPARE(Form1::lowerDriveLetters(u"Z:M:a:/C:\\PROGRA~1"_qs), u"z:m:a:/c:\\PROGRA~1"_qs);

    // Another SSE folder: it says so and ends.
    ui.Text7->setTag(own.path() + u"/elsewhere"_qs);
    QTRY_COMPARE(ui.Command8->accessibleDescription(), QString());
    press();
    QVERIFY(harness.seams.starts.size() == started + 1 && !form.isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
