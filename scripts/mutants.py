"""The mutation check: small faults put into KIVO one at a time, each built
and tested, to see which ones the tests catch. Run through scripts/mutants.

It works on a copy of the last commit (a git worktree in a temporary folder),
never on the working tree, so it can run while the code is being edited.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

# (file under src/, the text as it stands, the fault put in its place, what
# the fault is). Each text must stand exactly once in its file.
MUTANTS = [
    # The main window: options, start-up, restore.
    ("mainwindow/form1.cpp", 'QStringLiteral(" -res 800 600")', 'QStringLiteral(" -res 800 601")',
     "a resolution's fragment changed"),
    ("mainwindow/form1.cpp", 'QStringLiteral(" -stretch ") + QString::number(index)',
     'QStringLiteral(" -stretch ") + QString::number(index + 1)', "stretch fragment off by one"),
    ("mainwindow/form1.cpp", 'saveGeneral(QStringLiteral("drive")', 'saveGeneral(QStringLiteral("drives")',
     "the drive saved under a wrong key"),
    ("mainwindow/form1.cpp", "ui->Combo5->setCurrentIndex(2);", "ui->Combo5->setCurrentIndex(3);",
     "default drive off by one"),
    ("mainwindow/form1.cpp", 'lingua = QStringLiteral("English");', "",
     "no default language at a first start"),
    ("mainwindow/form1.cpp", "if (!rewritingPrompt)", "if (rewritingPrompt)",
     "a new header no longer chooses Saturn"),
    ("mainwindow/form1.cpp", "if (ui->Text5->text() != noFile)", "if (ui->Text5->text() == noFile)",
     "the internal backup box enabled the wrong way"),
    ("mainwindow/form1.cpp", "index >= 0 && index < list->count()", "index >= 0 && index <= list->count()",
     "a stored list index one past the end accepted"),
    ("mainwindow/form1.cpp", 'if (held == u"True") {', 'if (held == u"true") {',
     "the stored system read in the wrong case"),
    ("mainwindow/form1.cpp", "for (char letter = 'A'; letter <= 'Z'; ++letter) {",
     "for (char letter = 'A'; letter < 'Z'; ++letter) {", "Z: not lowered"),
    ("mainwindow/form1.cpp", "ssepath = lowerDriveLetters(ui->Text7->tag());",
     "ssepath = lowerDriveLetters(ui->Text7->text());", "the SSE folder taken from the wrong string"),
    ("mainwindow/form1.cpp",
     "    restoreListIndex(ui->Combo2, combo2cont);\n    restoreListIndex(ui->Combo3, combo3cont);"
     "\n    restoreListIndex(ui->Combo4, combo4cont);\n    restoreListIndex(ui->Combo5, combo5cont);"
     "\n\n    // Last, so that the system actually saved wins over the one the\n"
     "    // restored header and game selected on the way.\n"
     "    restoreOption(ui->Option1, optbut1cont);\n    restoreOption(ui->Option2, optbut2cont);",
     "    restoreOption(ui->Option1, optbut1cont);\n    restoreOption(ui->Option2, optbut2cont);\n"
     "    restoreListIndex(ui->Combo2, combo2cont);\n    restoreListIndex(ui->Combo3, combo3cont);"
     "\n    restoreListIndex(ui->Combo4, combo4cont);\n    restoreListIndex(ui->Combo5, combo5cont);",
     "the system restored before the game"),
    ("mainwindow/form1.cpp", "const int saved = state == Qt::Checked ? 1 : (state == Qt::Unchecked ? 0 : 2);",
     "const int saved = state == Qt::Checked ? 0 : (state == Qt::Unchecked ? 1 : 2);",
     "a switch's state saved the other way"),
    ("mainwindow/form1.cpp", "box->checkState() != Qt::Checked || field->tag().isEmpty()",
     "box->checkState() != Qt::Checked", "a backup switch without its file"),
    ("mainwindow/form1.cpp", 'saveGeneral(QStringLiteral("system-stv"), trueFalse(true));',
     'saveGeneral(QStringLiteral("system-stv"), trueFalse(false));', "ST-V not saved as chosen"),
    # Launching.
    ("mainwindow/launch.cpp", "ui->Text1->tag().isEmpty() || ui->Text3->tag().isEmpty()",
     "ui->Text1->tag().isEmpty() || ui->Text4->tag().isEmpty()", "Saturn checks the ST-V BIOS"),
    ("mainwindow/launch.cpp", 'CommandLine::words(u"sse.exe -resetcfg")',
     'CommandLine::words(u"sse.exe -resetcf")', "the first-run switch misspelt"),
    ("mainwindow/launch.cpp", "        if (!startProgram(launch, asking))\n            return;\n", "        startProgram(launch, asking);\n",
     "a first run that failed recorded"),
    ("mainwindow/launch.cpp", "outcome.result == StartResult::NotFound && launch.missingProgramMeansOutside",
     "outcome.result == StartResult::NotFound", "a missing tool ends the program"),
    ("mainwindow/launch.cpp", "opzione4 + opzione5 +\n           opzione6", "opzione4 + opzione6 +\n           opzione5",
     "two option fragments swapped"),
    ("mainwindow/launch.cpp", 'CommandLine::words(u" -b ") + CommandLine::value(ui->Text4->tag())',
     "CommandLine::value(ui->Text4->tag())", "the ST-V line loses -b"),
    ("mainwindow/launch.cpp", "        return msgnowine(language, program);", "        return msgnotexecutable(language, program);",
     "no wine reported as not runnable"),
    # The path fields and the hand-over.
    ("mainwindow/pathfields.cpp", "{4, &Ui::Form1::Text4,", "{4, &Ui::Form1::Text3,",
     "the ST-V BIOS request fills the Saturn BIOS"),
    ("mainwindow/pathfields.cpp", 'QStringLiteral("text%1")', 'QStringLiteral("Text%1")',
     "the fields' keys misspelt"),
    ("mainwindow/pathfields.cpp", "            field->setTag(GetShortPathName(folder));",
     "            field->setTag(folder);", "the SSE folder's tag not in short form"),
    ("mainwindow/pathfields.cpp", "    }\n    fixssekivopath();\n}", "    }\n}",
     "no folder check after a choice"),
    # The store, the process start, Wine.
    ("mainwindow/settingsstore.cpp", "    write(std::exchange(held, {}));", "    held.clear();",
     "held saves never written"),
    ("mainwindow/settingsstore.cpp", "    if (section == sectionGeneral)\n        return key;\n", "",
     "General written as a group of its own"),
    ("mainwindow/wine.cpp", 'QStringLiteral("C.UTF-8")', 'QStringLiteral("C")',
     "wine gets no UTF-8 locale"),
    ("mainwindow/wine.cpp", "return !loader64.isExecutable() || loader32.isExecutable();",
     "return !loader64.isExecutable() && loader32.isExecutable();", "32-bit support misread"),
    ("mainwindow/wine.cpp", "constexpr quint16 machineX64 = 0x8664;", "constexpr quint16 machineX64 = 0x8665;",
     "64-bit programs taken for 32-bit ones"),
    ("mainwindow/processstart.cpp", "    process.setWorkingDirectory(folder);\n", "",
     "the emulator started in KIVO's working folder"),
    ("mainwindow/processstart.cpp", "process.setArguments(arguments.mid(1));", "process.setArguments(arguments.mid(2));",
     "the first argument dropped"),
    ("mainwindow/commandline.cpp", "        if (piece.isValue) {", "        if (false) {",
     "names split at their blanks"),
    ("mainwindow/stvcatalogue.cpp", '{u"Steep Slope Sliders", u"sss"}', '{u"Steep Slope Sliders", u"ss"}',
     "a rom set name misspelt"),
    ("mainwindow/listbox.cpp", "    return keyAscii == 0;", "    return keyAscii != 0;",
     "typed characters reach the lists"),
    ("mainwindow/keepinfront.cpp", "for (auto it = order.crbegin(); it != order.crend(); ++it) {",
     "for (auto it = order.cbegin(); it != order.cend(); ++it) {", "the window shown first wins"),
    ("mainwindow/keepinfront.cpp", "if (!front || now == front || QApplication::activeModalWidget() ||",
     "if (!front || now == front ||", "a modal box fought for"),
    ("mainwindow/secondarywindow.cpp", "    emit closed();\n", "", "a closed window not forgotten"),
    # The picker and the Browse requests.
    ("picker/browserequests.cpp", "richiestafile(*this, *pathRequest(3));", "richiestafile(*this, *pathRequest(4));",
     "the Saturn BIOS button asks for the ST-V BIOS"),
    ("picker/browserequests.cpp", 'lastFolders(QStringLiteral("load-lastdir1"))', 'lastFolders(QStringLiteral("load-lastdir"))',
     "the saved folder read under a wrong key"),
    ("picker/browserequests.cpp", "    if (apriFile)\n        apriFile->close();\n", "",
     "a second Browse reuses the open picker"),
    ("picker/aprifile.cpp", "    if (keyCode != 13)", "    if (keyCode != 14)", "Enter does not confirm"),
    ("picker/aprifile.cpp", "    saveLastPlace();\n    selezionafiles();\n    close();\n}\n\nvoid ApriFile::File1_DblClick()",
     "    selezionafiles();\n    close();\n}\n\nvoid ApriFile::File1_DblClick()", "Ok forgets the last place"),
    ("picker/aprifile.cpp", 'QStringLiteral("Errore: Drive non accessibile.")', 'QStringLiteral("Errore: Drive non accessibile")',
     "the drive message changed"),
    ("picker/drives.cpp", "return next == QLatin1Char('/') || next == QLatin1Char(' ');", "return next == QLatin1Char('/');",
     "a drive list entry no longer designates its drive"),
    ("picker/folderlisting.cpp", "if (entry->d_name[0] == '.' || !isKind(directory, entry, kind))",
     "if (!isKind(directory, entry, kind))", "hidden files listed"),
    ("picker/folderlisting.cpp", "    collator.setNumericMode(true);\n", "", "numbers sorted as text"),
    ("picker/folderlisting.cpp", "(found.isEmpty() || QFile::encodeName(entry) < QFile::encodeName(found))",
     "(found.isEmpty() || QFile::encodeName(entry) > QFile::encodeName(found))", "the wrong case variant wins"),
    ("picker/shortpath.cpp", "strString.left(terminator)", "strString.left(terminator + 1)", "the terminator kept"),
    ("picker/filelistbox.cpp", 'if (glob == u"*.*" || glob == u"*") {', 'if (glob == u"*") {',
     "files without a dot hidden"),
    # Languages.
    ("lang/lang.cpp", "    if (field->tag().isEmpty())\n        field->setText(prompt);", "    field->setText(prompt);",
     "a switch writes prompts over chosen files"),
    ("lang/lang.cpp", "for (QPushButton *browse : {ui->Command4, ui->Command5, ui->Command6, ui->Command7})",
     "for (QPushButton *browse : {ui->Command4, ui->Command5, ui->Command6})", "one Browse button not translated"),
    ("lang/lang.cpp", "    else if (auto *frame = qobject_cast<QGroupBox *>(target))\n        frame->setTitle(text);\n", "",
     "frames not translated"),
    ("lang/languageswitch.cpp", 'QStringLiteral("language"), language);', 'QStringLiteral("lang"), language);',
     "the language saved under a wrong key"),
    ("lang/messages.cpp", "texts.column[index].toString()", "texts.column[0].toString()",
     "every message in English"),
    ("lang/messages.cpp", 'u"Sélectionner le BIOS"', 'u"Selectionner le BIOS"', "a French prompt loses an accent"),
    ("lang/langextras.cpp", 'u"Usage  && Requirements:"', 'u"Usage  & Requirements:"', "a frame caption loses an ampersand"),
    # The extras.
    ("extras/extrlowl.cpp", 'CommandLine::words(u".sgh")', 'CommandLine::words(u".SGH")', "the header's extension changed"),
    ("extras/extrlowl.cpp", "    if (name.isEmpty())", "    if (name.trimmed().isEmpty())", "a name of blanks refused"),
    ("extras/extras.cpp", "    Lang::langabout(*this, lingua);\n", "", "About opens in English"),
]


def run(command, cwd, log, timeout=None):
    with open(log, "a") as out:
        out.write("\n$ " + " ".join(command) + "\n")
        out.flush()
        try:
            return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                                  timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return -1


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--only", action="append",
                        help="run the mutants whose description holds this text (repeatable)")
    parser.add_argument("--check", action="store_true", help="only check that every mutant applies")
    parser.add_argument("--keep", action="store_true", help="leave the temporary folder")
    parser.add_argument("--commit", default="HEAD", help="the commit to check (the last one)")
    options = parser.parse_args()
    root = subprocess.run(["git", "rev-parse", "--show-toplevel"], capture_output=True, text=True,
                          check=True).stdout.strip()
    chosen = [m for m in MUTANTS if not options.only or any(o in m[3] for o in options.only)]

    if options.check:
        bad = 0
        for path, old, _, what in chosen:
            count = open(os.path.join(root, "src", path), encoding="utf-8").read().count(old)
            if count != 1:
                print(f"{path}: '{what}' stands {count} times")
                bad += 1
        print(f"{len(chosen) - bad} of {len(chosen)} mutants apply")
        return 1 if bad else 0

    folder = tempfile.mkdtemp(prefix="kivo-mutants-")
    tree, build, log = (os.path.join(folder, name) for name in ("tree", "build", "log"))
    subprocess.run(["git", "worktree", "add", "--detach", tree, options.commit], cwd=root, check=True,
                   capture_output=True)
    try:
        print(f"Building {options.commit} in {folder} (log: {log})", flush=True)
        if run(["cmake", "-S", tree, "-B", build], folder, log) or \
                run(["cmake", "--build", build, "-j2"], folder, log):
            print("the unchanged program does not build")
            return 1
        test = ["ctest", "--test-dir", build, "-LE", "wine", "--stop-on-failure", "--timeout", "180"]
        if run(test, folder, log):
            print("the unchanged program fails its tests")
            return 1
        caught, survived = [], []
        for number, (path, old, new, what) in enumerate(chosen, 1):
            source = os.path.join(tree, "src", path)
            original = open(source, encoding="utf-8").read()
            if original.count(old) != 1:
                print(f"{number:3} {path}: does not apply: {what}")
                continue
            started = time.monotonic()
            open(source, "w", encoding="utf-8").write(original.replace(old, new))
            try:
                if run(["cmake", "--build", build, "-j2"], folder, log):
                    verdict = "does not build"
                else:
                    verdict = "caught" if run(test, folder, log) else "SURVIVED"
            finally:
                open(source, "w", encoding="utf-8").write(original)
            (caught if verdict == "caught" else survived).append(what)
            print(f"{number:3} {verdict:14} {path}: {what} ({time.monotonic() - started:.0f} s)",
                  flush=True)
        total = len(caught) + len(survived)
        print(f"\nCaught {len(caught)} of {total} mutants ({100 * len(caught) / max(total, 1):.0f} %).")
        for what in survived:
            print(f"  survived: {what}")
        return 0
    finally:
        subprocess.run(["git", "worktree", "remove", "--force", tree], cwd=root, capture_output=True)
        if not options.keep:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
