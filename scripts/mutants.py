"""The mutation check: small faults put into KIVO one at a time, each built
and tested, to see which ones the tests catch. Run through scripts/mutants.

The faults are generated, not chosen: every site of a few operators in the
.cpp files under src/ (comparisons, logical operators, negations, boolean
and integer literals, call statements) and every buddy or accessible name
or description in the .ui files is a possible mutant, and a seeded random
sample of them is run. A short hand-written list (--hand) keeps the faults
that no operator can express: a misspelt word, key or name, two fragments
swapped.

It works on a copy of a commit (a git worktree in a temporary folder),
never on the working tree, so it can run while the code is being edited.
The list of equivalent mutants, tests/equivalent-mutants, is read from the
working tree, so that an entry can be tried before it is committed.
"""

import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass

EQUIVALENTS = os.path.join("tests", "equivalent-mutants")

# Faults that no generated operator expresses: (file under src/, the text as
# it stands, the fault put in its place, what the fault is). Each text must
# stand exactly once in its file.
HAND = [
    ("mainwindow/settingskeys.h", 'drive = QStringLiteral("drive")', 'drive = QStringLiteral("drives")',
     "the drive saved under a wrong key"),
    ("mainwindow/form1.cpp", 'if (held == u"True") {', 'if (held == u"true") {',
     "the stored system read in the wrong case"),
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
    ("mainwindow/launch.cpp", 'CommandLine::words(u"sse.exe -resetcfg")',
     'CommandLine::words(u"sse.exe -resetcf")', "the first-run switch misspelt"),
    ("mainwindow/launch.cpp", "opzione4 + opzione5 +\n           opzione6", "opzione4 + opzione6 +\n           opzione5",
     "two option fragments swapped"),
    ("mainwindow/launch.cpp", 'CommandLine::words(u" -b ") + CommandLine::value(ui->Text4->tag())',
     "CommandLine::value(ui->Text4->tag())", "the ST-V line loses -b"),
    ("mainwindow/settingskeys.h", 'QStringLiteral("text%1")', 'QStringLiteral("Text%1")',
     "the fields' keys misspelt"),
    ("mainwindow/wine.cpp", 'QStringLiteral("C.UTF-8")', 'QStringLiteral("C")',
     "wine gets no UTF-8 locale"),
    ("mainwindow/stvcatalogue.cpp", '{u"Steep Slope Sliders", u"sss"}', '{u"Steep Slope Sliders", u"ss"}',
     "a rom set name misspelt"),
    ("mainwindow/settingskeys.h", 'QStringLiteral("load-lastdir1")', 'QStringLiteral("load-lastdir")',
     "the saved folder under a wrong key"),
    ("mainwindow/settingskeys.h", 'language = QStringLiteral("language")', 'language = QStringLiteral("lang")',
     "the language under a wrong key"),
    ("lang/messages.cpp", 'u"Sélectionner le BIOS"', 'u"Selectionner le BIOS"', "a French prompt loses an accent"),
]

# ---- Finding the sites -----------------------------------------------------------------------

KEYWORDS = set("""
alignas alignof and and_eq asm auto bitand bitor bool break case catch char char8_t char16_t
char32_t class compl concept const consteval constexpr constinit const_cast continue co_await
co_return co_yield decltype default delete do double dynamic_cast else enum explicit export
extern false float for friend goto if inline int long mutable namespace new noexcept not not_eq
nullptr operator or or_eq private protected public register reinterpret_cast requires return
short signed sizeof static static_assert static_cast struct switch template thread_local throw
true try typedef typeid typename union unsigned using virtual void volatile wchar_t while xor
xor_eq emit Q_EMIT signals slots
""".split())

PUNCTUATORS = sorted("""
<=> ->* <<= >>= ... :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= .* ##
{ } [ ] ( ) ; : ? . , + - * / % ^ & | ~ ! = < > #
""".split(), key=len, reverse=True)

STRING_PREFIXES = ("u8", "u", "U", "L", "")
IDENTIFIER = re.compile(r"[A-Za-z_][A-Za-z0-9_]*")
PP_NUMBER = re.compile(r"\.?[0-9](?:[eEpP][+-]|'[0-9A-Za-z_]|[0-9A-Za-z_.])*")
DECIMAL = re.compile(r"([1-9][0-9']*|0)([uUlLzZ]*|_[A-Za-z0-9_]*|[a-df-zA-DF-Z_][A-Za-z0-9_]*)")
HEXADECIMAL = re.compile(r"(0[xX])([0-9a-fA-F][0-9a-fA-F']*)([uUlLzZ]*)")


@dataclass
class Token:
    kind: str  # "name", "number", "text" (a string or character literal) or "punct"
    text: str
    start: int
    end: int


def tokens_of(source):
    """The C++ tokens of a file, comments and preprocessor lines left out."""
    tokens = []
    at, length = 0, len(source)
    line_start = True  # only blanks so far on this line
    while at < length:
        char = source[at]
        if char == "\n":
            line_start = True
            at += 1
            continue
        if char in " \t\r\f\v":
            at += 1
            continue
        if char == "\\" and source.startswith("\n", at + 1):
            at += 2
            continue
        if line_start and char == "#":
            # A directive runs to the end of its line, continued lines included.
            while at < length and source[at] != "\n":
                at += 2 if source[at] == "\\" else 1
            continue
        line_start = False
        if source.startswith("//", at):
            end = source.find("\n", at)
            at = length if end < 0 else end
            continue
        if source.startswith("/*", at):
            end = source.find("*/", at + 2)
            at = length if end < 0 else end + 2
            continue
        literal = literal_end(source, at)
        if literal:
            tokens.append(Token("text", source[at:literal], at, literal))
            at = literal
            continue
        match = IDENTIFIER.match(source, at)
        if match:
            tokens.append(Token("name", match.group(), at, match.end()))
            at = match.end()
            continue
        match = PP_NUMBER.match(source, at)
        if match:
            tokens.append(Token("number", match.group(), at, match.end()))
            at = match.end()
            continue
        for punctuator in PUNCTUATORS:
            if source.startswith(punctuator, at):
                tokens.append(Token("punct", punctuator, at, at + len(punctuator)))
                at += len(punctuator)
                break
        else:
            at += 1  # a stray character: not ours to judge
    return tokens


def literal_end(source, at):
    """Where the string or character literal starting at `at` ends, or None."""
    for prefix in STRING_PREFIXES:
        if not source.startswith(prefix, at):
            continue
        quote = at + len(prefix)
        if source.startswith('R"', quote):
            opening = source.find("(", quote + 2)
            if opening < 0:
                return None
            closing = ")" + source[quote + 2:opening] + '"'
            end = source.find(closing, opening + 1)
            return len(source) if end < 0 else end + len(closing)
        if quote < len(source) and source[quote] in "\"'":
            # Not the end of a longer name (a digit separator is a number's).
            if at > 0 and (source[at - 1].isalnum() or source[at - 1] == "_"):
                return None
            delimiter, end = source[quote], quote + 1
            while end < len(source) and source[end] not in (delimiter, "\n"):
                end += 2 if source[end] == "\\" else 1
            return min(end + 1, len(source))
    return None


@dataclass
class Site:
    path: str  # relative to src/
    start: int
    end: int
    replacement: str
    line: int  # the first line, counted from 1
    text: str  # the lines it spans, blanks collapsed
    what: str  # the operator: "&& -> ||", "call deleted" ...
    kind: str  # for the counts: "&&", "call" ...
    index: int = 0  # among the sites of the same text and operator in the file
    column: int = 0  # where it stands in `text`

    @property
    def identity(self):
        return f"{self.path} | {self.text} | {self.what} | {self.index}"

    def shown(self):
        text = self.text
        if len(text) > 60:
            # From the start if the site is there, else around it.
            begin = 0
            if self.column >= 40:
                begin = self.column - 24
                space = self.text.find(" ", begin, self.column - 8)
                begin = space + 1 if space >= 0 else begin
            text = ("... " if begin else "") + text[begin:begin + 56].rstrip() + " ..."
            if begin + 56 >= len(self.text):
                text = "... " + self.text[begin:]
        number = f" [{self.index}]" if self.index else ""
        return f"{self.path}:{self.line}: '{text}' {self.what}{number}"

    def applied(self, source):
        return source[:self.start] + self.replacement + source[self.end:]


def collapsed(text):
    return " ".join(text.split())


def lines_around(source, start, end):
    first = source.rfind("\n", 0, start) + 1
    last = source.find("\n", end)
    return collapsed(source[first:len(source) if last < 0 else last])


def blank_both_sides(source, token):
    return (token.start > 0 and source[token.start - 1] in " \t\n"
            and token.end < len(source) and source[token.end] in " \t\n")


SWAPS = {"==": "!=", "!=": "==", "<": "<=", ">": ">=", "<=": "<", ">=": ">", "&&": "||", "||": "&&"}


def operator_sites(source, tokens):
    """(start, end, replacement, what, kind) of each operator and literal."""
    found = []
    for number, token in enumerate(tokens):
        before = tokens[number - 1] if number else None
        after = tokens[number + 1] if number + 1 < len(tokens) else None
        if before is not None and before.text == "operator":
            continue
        text = token.text
        if token.kind == "punct" and text in SWAPS:
            # Relational and logical operators stand between blanks; template
            # brackets and rvalue references do not.
            if text in ("==", "!=") or blank_both_sides(source, token):
                found.append((token.start, token.end, SWAPS[text], f"{text} -> {SWAPS[text]}", text))
        elif token.kind == "punct" and text == "!":
            if after is not None and after.start == token.end and (
                    after.kind == "name" or after.text in ("(", "*", "::")):
                found.append((token.start, token.end, "", "! dropped", "!"))
        elif token.kind == "name" and text in ("true", "false"):
            other = "false" if text == "true" else "true"
            found.append((token.start, token.end, other, f"{text} -> {other}", text))
        elif token.kind == "number":
            bigger = plus_one(text)
            if bigger:
                found.append((token.start, token.end, bigger, f"{text} -> {bigger}", "integer + 1"))
    return found


def plus_one(literal):
    """The integer literal one larger, or None for what is not a decimal or
    hexadecimal integer."""
    match = HEXADECIMAL.fullmatch(literal)
    if match:
        prefix, digits, suffix = match.groups()
        digits = digits.replace("'", "")
        bigger = format(int(digits, 16) + 1, "x")
        if digits.upper() == digits and not digits.isdigit():
            bigger = bigger.upper()
        return prefix + bigger.rjust(len(digits), "0") + suffix
    match = DECIMAL.fullmatch(literal)
    if match and literal[:2].lower() not in ("0b", "0x"):
        digits, suffix = match.groups()
        return str(int(digits.replace("'", "")) + 1) + suffix
    return None


def block_opens(tokens, number, stack):
    """Whether the { at tokens[number] opens a compound statement (a function
    or lambda body, or a block), rather than a namespace, a class or an
    initializer."""
    if number == 0:
        return False
    before = tokens[number - 1].text
    if before in (")", "]", "else", "do", "try", "const", "override", "final", "noexcept", "mutable"):
        return True
    return before in (";", "{", "}", ":") and bool(stack) and stack[-1] == "block"


def call_end(tokens, number):
    """The index of the ; ending a call statement that starts at
    tokens[number], or None: a name, scoped, dotted or arrowed
    (`Ns::f`, `obj.f`, `ptr->f`), then calls and member accesses only, the
    last a call."""
    at = number
    if tokens[at].text == "::":
        at += 1
    if at >= len(tokens) or tokens[at].kind != "name" or tokens[at].text in KEYWORDS \
            or re.fullmatch(r"[A-Z][A-Z0-9_]+", tokens[at].text):  # macros: Q_UNUSED, Q_ASSERT ...
        return None
    at += 1
    while at + 1 < len(tokens) and tokens[at].text in (".", "->", "::") and tokens[at + 1].kind == "name":
        at += 2
    called = False
    while at < len(tokens):
        text = tokens[at].text
        if text == "(":
            depth = 0
            while at < len(tokens):
                depth += {"(": 1, ")": -1}.get(tokens[at].text, 0)
                if depth == 0:
                    break
                at += 1
            at += 1
            called = True
        elif text in (".", "->") and at + 1 < len(tokens) and tokens[at + 1].kind == "name" and called:
            at += 2
        elif text == ";" and called and tokens[at - 1].text == ")":
            return at
        else:
            return None
    return None


def call_sites(source, tokens):
    """(start, end, replacement, what, kind) of each call statement."""
    found = []
    stack = []  # "block", "brace", "(", "header(" or "["
    at_start = False  # the token begins a statement
    header = label = False
    for number, token in enumerate(tokens):
        text = token.text
        in_block = bool(stack) and stack[-1] == "block"
        if at_start and in_block:
            end = call_end(tokens, number)
            if end is not None:
                span = source[token.start:tokens[end].end]
                found.append((token.start, tokens[end].end, ";" + "\n" * span.count("\n"),
                              "call deleted", "call"))
        at_start = False
        if token.kind == "text" or token.kind == "number":
            continue
        if text == "{":
            stack.append("block" if block_opens(tokens, number, stack) else "brace")
            at_start = stack[-1] == "block"
        elif text == "}":
            if stack:
                stack.pop()
            at_start = bool(stack) and stack[-1] == "block"
        elif text in ("(", "["):
            stack.append("header(" if text == "(" and header else text)
            header = False
        elif text in (")", "]"):
            at_start = bool(stack) and stack.pop() == "header("
        elif text == ";":
            at_start = in_block
            label = False
        elif in_block and text in ("if", "for", "while", "switch"):
            header = True
        elif in_block and text in ("else", "do", "try"):
            at_start = True
        elif in_block and text in ("case", "default"):
            label = True
        elif text == ":" and label:
            at_start, label = True, False
    return found


UI_PROPERTY = re.compile(
    r'<property\s+name="(buddy|accessibleName|accessibleDescription)"[^>]*?(?:/>|>.*?</property\s*>)',
    re.DOTALL)


def ui_sites(source):
    found = []
    comments = [(m.start(), m.end()) for m in re.finditer(r"<!--.*?-->", source, re.DOTALL)]
    for match in UI_PROPERTY.finditer(source):
        if any(start <= match.start() < end for start, end in comments):
            continue
        name = match.group(1)
        found.append((match.start(), match.end(), "\n" * match.group().count("\n"), f"{name} removed", name))
    return found


def sites_of(path, source):
    """Every site of a file under src/, in the order of the file."""
    if path.endswith(".ui"):
        found = ui_sites(source)
    else:
        tokens = tokens_of(source)
        found = operator_sites(source, tokens) + call_sites(source, tokens)
    found.sort()
    sites, seen = [], {}
    for start, end, replacement, what, kind in found:
        site = Site(path, start, end, replacement, source.count("\n", 0, start) + 1,
                    lines_around(source, start, end), what, kind)
        before = " ".join(source[source.rfind("\n", 0, start) + 1:start].split())
        site.column = len(before) + (1 if before and source[start - 1].isspace() else 0)
        site.index = seen.get((site.text, what), 0)
        seen[(site.text, what)] = site.index + 1
        sites.append(site)
    return sites


def mutable(path):
    return path.endswith(".cpp") or path.endswith(".ui")


# Headers hold no generated sites, but hand-written faults may stand there.
def read(path):
    return mutable(path) or path.endswith(".h")


def sources_in_commit(root, commit):
    """{path under src/: text} of the .cpp, .h and .ui files of a commit."""
    names = subprocess.run(["git", "ls-tree", "-r", "--name-only", commit, "--", "src"], cwd=root,
                           capture_output=True, text=True, check=True).stdout.split("\n")
    sources = {}
    for name in names:
        if name.startswith("src/") and read(name):
            sources[name[4:]] = subprocess.run(["git", "show", f"{commit}:{name}"], cwd=root,
                                               capture_output=True, check=True).stdout.decode("utf-8")
    return sources


def sources_in_folder(src):
    sources = {}
    for folder, _, files in os.walk(src):
        for name in files:
            if read(name):
                full = os.path.join(folder, name)
                with open(full, encoding="utf-8", newline="") as file:
                    sources[os.path.relpath(full, src).replace(os.sep, "/")] = file.read()
    return sources


def all_sites(sources):
    return [site for path in sorted(sources) if mutable(path)
            for site in sites_of(path, sources[path])]


# ---- The equivalents ------------------------------------------------------------------------


def read_equivalents(root):
    """{identity: why} of tests/equivalent-mutants, and the format errors."""
    entries, errors, pending = {}, [], None
    path = os.path.join(root, EQUIVALENTS)
    if not os.path.exists(path):
        return entries, errors
    with open(path, encoding="utf-8") as file:
        for number, line in enumerate(file, 1):
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            if line[0] in " \t":
                if pending is None:
                    errors.append(f"{EQUIVALENTS}:{number}: a reason without a mutant")
                else:
                    entries[pending] = line.strip()
                    pending = None
            else:
                if pending is not None:
                    errors.append(f"{EQUIVALENTS}:{number - 1}: a mutant without its reason")
                pending = collapsed(line)
    if pending is not None:
        errors.append(f"{EQUIVALENTS}: the last mutant has no reason")
    return entries, errors


# ---- Running ---------------------------------------------------------------------------------


def run(command, cwd, log, timeout=None):
    with open(log, "a") as out:
        out.write("\n$ " + " ".join(command) + "\n")
        out.flush()
        try:
            return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                                  timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return -1


@dataclass
class Mutant:
    path: str
    shown: str
    identity: str
    mutate: object  # the file's text -> the mutated text, or None if it does not apply


def generated(sites):
    return [Mutant(site.path, site.shown(), site.identity,
                   lambda text, site=site: site.applied(text)) for site in sites]


def hand_written(chosen):
    def mutate(old, new):
        return lambda text: text.replace(old, new) if text.count(old) == 1 else None
    return [Mutant(path, f"{path}: {what}", f"{path} | {what}", mutate(old, new))
            for path, old, new, what in chosen]


def check(sources, equivalents):
    identities = {site.identity for site in all_sites(sources)}
    stale = [identity for identity in equivalents if identity not in identities]
    for identity in stale:
        print(f"{EQUIVALENTS}: no longer a site: {identity}")
    bad = 0
    for path, old, _, what in HAND:
        count = sources.get(path, "").count(old)
        if count != 1:
            print(f"hand-written: {path}: '{what}' stands {count} times")
            bad += 1
    print(f"{len(equivalents) - len(stale)} of {len(equivalents)} equivalents match a site; "
          f"{len(HAND) - bad} of {len(HAND)} hand-written mutants apply")
    return 1 if stale or bad else 0


def counts(sites):
    by_kind = {}
    for site in sites:
        by_kind[site.kind] = by_kind.get(site.kind, 0) + 1
    return ", ".join(f"{kind} {count}" for kind, count in sorted(by_kind.items(), key=lambda k: -k[1]))


def run_mutants(root, options, chosen, equivalents):
    folder = tempfile.mkdtemp(prefix="kivo-mutants-")
    tree, build, log = (os.path.join(folder, name) for name in ("tree", "build", "log"))
    subprocess.run(["git", "worktree", "add", "--detach", tree, options.commit], cwd=root, check=True,
                   capture_output=True)
    try:
        commit = subprocess.run(["git", "rev-parse", "--short", "HEAD"], cwd=tree, capture_output=True,
                                text=True).stdout.strip()
        print(f"Building {options.commit} ({commit}) in {folder} (log: {log})", flush=True)
        if run(["cmake", "-S", tree, "-B", build], folder, log) or \
                run(["cmake", "--build", build, "-j2"], folder, log):
            print("the unchanged program does not build")
            return 1
        # The behaviour tests only, one at a time as CI runs them: the size rule
        # would count a deleted line as caught.
        test = ["ctest", "--test-dir", build, "-E", "^test_share$", "--stop-on-failure",
                "--timeout", "180"]
        if run(test, folder, log):
            print("the unchanged program fails its tests")
            return 1
        verdicts = {"caught": [], "SURVIVED": [], "does not build": [], "equivalent": [],
                    "does not apply": []}
        for number, mutant in enumerate(chosen, 1):
            started = time.monotonic()
            if mutant.identity in equivalents:
                verdict = "equivalent"
            else:
                source = os.path.join(tree, "src", mutant.path)
                with open(source, "rb") as file:
                    original = file.read()
                mutated = mutant.mutate(original.decode("utf-8"))
                if mutated is None:
                    verdict = "does not apply"
                else:
                    with open(source, "wb") as file:
                        file.write(mutated.encode("utf-8"))
                    try:
                        if run(["cmake", "--build", build, "-j2"], folder, log):
                            verdict = "does not build"
                        else:
                            verdict = "caught" if run(test, folder, log) else "SURVIVED"
                    finally:
                        with open(source, "wb") as file:
                            file.write(original)
            verdicts[verdict].append(mutant)
            print(f"{number:3}/{len(chosen)} {verdict:14} {mutant.shown} "
                  f"({time.monotonic() - started:.0f} s)", flush=True)
        caught, survived = len(verdicts["caught"]), len(verdicts["SURVIVED"])
        print(f"\nCaught {caught}, survived {survived}, does not build {len(verdicts['does not build'])}, "
              f"equivalent {len(verdicts['equivalent'])}"
              + (f", does not apply {len(verdicts['does not apply'])}" if verdicts["does not apply"] else "")
              + f" ({options.what}).")
        print(f"Caught {caught} of the {caught + survived} that build and are not equivalent "
              f"({100 * caught / max(caught + survived, 1):.0f} %).")
        if survived:
            print("Survivors:")
            for mutant in verdicts["SURVIVED"]:
                print(f"  {mutant.identity}")
        return 0
    finally:
        subprocess.run(["git", "worktree", "remove", "--force", tree], cwd=root, capture_output=True)
        if not options.keep:
            shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--seed", type=int, help="the sample's seed (by default a new one, printed)")
    parser.add_argument("--count", type=int, default=60, help="how many mutants to draw (60)")
    parser.add_argument("--all", action="store_true", help="every site, no sample")
    parser.add_argument("--only", action="append", default=[],
                        help="only the mutants whose identity holds this text (repeatable: any of them)")
    parser.add_argument("--list", action="store_true", help="print the mutants without building")
    parser.add_argument("--hand", action="store_true", help="the hand-written mutants instead")
    parser.add_argument("--check", action="store_true",
                        help="report equivalents that match no site and hand-written mutants that do not apply")
    parser.add_argument("--commit", default="HEAD", help="the commit to check (the last one)")
    parser.add_argument("--keep", action="store_true", help="leave the temporary folder")
    options = parser.parse_args()
    root = subprocess.run(["git", "rev-parse", "--show-toplevel"], capture_output=True, text=True,
                          check=True).stdout.strip()
    equivalents, errors = read_equivalents(root)
    for error in errors:
        print(error, file=sys.stderr)
    if errors:
        return 1
    sources = sources_in_commit(root, options.commit)

    if options.check:
        return check(sources, equivalents)

    def wanted(identity):
        return not options.only or any(text in identity for text in options.only)

    if options.hand:
        chosen = [m for m in hand_written(HAND) if wanted(m.identity)]
        options.what = "hand-written"
    else:
        sites = [site for site in all_sites(sources) if wanted(site.identity)]
        if options.all or options.count >= len(sites):
            chosen_sites = sites
            options.what = f"all {len(sites)} sites"
        else:
            seed = options.seed if options.seed is not None else random.SystemRandom().randrange(10000)
            chosen_sites = sorted(random.Random(seed).sample(sites, options.count),
                                  key=lambda site: (site.path, site.start))
            options.what = f"{options.count} of {len(sites)} sites, --seed {seed}"
        print(f"{options.what}: {counts(chosen_sites)}", file=sys.stderr if options.list else sys.stdout,
              flush=True)
        chosen = generated(chosen_sites)

    if options.list:
        for mutant in chosen:
            mark = "  (equivalent)" if mutant.identity in equivalents else ""
            print(f"{mutant.shown}{mark}")
        return 0
    return run_mutants(root, options, chosen, equivalents)


if __name__ == "__main__":
    sys.exit(main())
