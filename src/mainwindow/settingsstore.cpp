#include "mainwindow/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>

namespace kivo
{

namespace
{

// The file is read and written exactly as QSettings (Qt 6.4, IniFormat, on
// Linux) does, so that files it wrote read the same and it reads ours.

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isHexDigit(char16_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The next line from pos, split as QSettings splits them: a quoted part may
// span lines, a backslash joins the next one, and ';' starts a comment.
bool nextLine(QByteArrayView data, qsizetype &pos, qsizetype &start, qsizetype &length,
              qsizetype &equals)
{
    const auto isSpace = [](char c) { return isBlank(c) || c == '\n' || c == '\r'; };
    const auto isSpecial = [](char c) {
        return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\';
    };
    const qsizetype size = data.size();
    bool inQuotes = false;
    equals = -1;
    start = pos;
    while (start < size && isSpace(data[start]))
        ++start;
    qsizetype i = start;
    while (i < size) {
        while (i < size && !isSpecial(data[i]))
            ++i;
        if (i == size)
            break;
        const char c = data[i++];
        if (c == '=') {
            if (!inQuotes && equals == -1)
                equals = i - 1;
        } else if (c == '\n' || c == '\r') {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size) {
                const char next = data[i++];
                if (i < size &&
                    ((next == '\n' && data[i] == '\r') || (next == '\r' && data[i] == '\n')))
                    ++i;
            }
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (i == start + 1) { // ';' starting a line: a comment
            while (i < size && data[i] != '\n' && data[i] != '\r')
                ++i;
            while (i < size && isSpace(data[i]))
                ++i;
            start = i;
        } else if (!inQuotes) {
            --i;
            break;
        }
    }
    pos = i;
    length = i - start;
    return length > 0;
}

QString readKey(QByteArrayView bytes)
{
    const QString key = QString::fromUtf8(bytes);
    QString result;
    for (qsizetype i = 0; i < key.size();) {
        const QChar c = key[i];
        if (c == u'\\' || c != u'%' || i == key.size() - 1) {
            result += c == u'\\' ? u'/' : c;
            ++i;
            continue;
        }
        const qsizetype first = key[i + 1] == u'U' ? i + 2 : i + 1;
        const qsizetype digits = first == i + 2 ? 4 : 2;
        bool ok = first + digits <= key.size();
        const ushort code = ok ? QStringView(key).sliced(first, digits).toUShort(&ok, 16) : 0;
        result += ok ? QChar(code) : u'%';
        i = ok ? first + digits : i + 1;
    }
    return result;
}

// Keys and section names: '\\' for '/', %XX or %UXXXX for all but [A-Za-z0-9_.-].
void writeKey(const QString &key, QByteArray &out)
{
    for (const QChar c : key) {
        const char16_t code = c.unicode();
        if (code == '/')
            out += '\\';
        else if ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
                 (code >= '0' && code <= '9') || code == '_' || code == '-' || code == '.')
            out += char(code);
        else if (code <= 0xff)
            out += '%' + QByteArray::number(code, 16).toUpper().rightJustified(2, '0');
        else
            out += "%U" + QByteArray::number(code, 16).toUpper().rightJustified(4, '0');
    }
}

void chopBlanks(QString &text, qsizetype limit)
{
    while (text.size() > limit && (text.back() == u' ' || text.back() == u'\t'))
        text.chop(1);
}

// A value's text, or its items when unquoted commas make it a list.
QStringList readValue(QByteArrayView in)
{
    // Each escape letter, then what it stands for.
    static constexpr char escapes[] = "a\ab\bf\fn\nr\rt\tv\v\"\"?\?''\\\\";
    QStringDecoder utf8(QStringDecoder::Utf8);
    QStringList items;
    QString text;
    bool list = false, inQuotes = false, quoted = false;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < in.size() && isBlank(in[i]))
            ++i;
    };
    // At the end of the value QSettings stops at once, trimming nothing.
    const auto done = [&] { return list ? items << text : QStringList{text}; };
    // Appends the character of a \x or octal code; false if the value ends in it.
    const auto code = [&](int base, char16_t value) {
        for (; i < in.size() &&
               (base == 16 ? isHexDigit(uchar(in[i])) : in[i] >= '0' && in[i] <= '7');
             ++i)
            value =
                char16_t(value * base + (in[i] <= '9' ? in[i] - '0' : (in[i] | 0x20) - 'a' + 10));
        text += QChar(value);
        return i < in.size();
    };
    skipBlanks();
    qsizetype chopLimit = 0;
    while (i < in.size()) {
        const char c = in[i];
        if (c == '\\') {
            if (++i == in.size())
                return done();
            const char escape = in[i++];
            const qsizetype known = QByteArrayView(escapes).indexOf(escape);
            if (known >= 0 && known % 2 == 0) {
                text += QLatin1Char(escapes[known + 1]);
            } else if (escape == 'x') {
                if (i == in.size() || (isHexDigit(uchar(in[i])) && !code(16, 0)))
                    return done();
            } else if (escape >= '0' && escape <= '7') {
                if (!code(8, char16_t(escape - '0')))
                    return done();
            } else if ((escape == '\n' || escape == '\r') && i < in.size() &&
                       (in[i] == '\n' || in[i] == '\r') && in[i] != escape) {
                ++i;
            }
            chopLimit = text.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                chopLimit = text.size();
            }
        } else if (c == ',' && !inQuotes) {
            if (!quoted)
                chopBlanks(text, chopLimit);
            list = true;
            items << std::exchange(text, QString());
            quoted = false;
            ++i;
            skipBlanks();
            chopLimit = 0;
        } else {
            qsizetype end = i + 1;
            while (end < in.size() && in[end] != '\\' && in[end] != '"' && in[end] != ',')
                ++end;
            text += utf8(in.sliced(i, end - i));
            i = end;
        }
    }
    if (!quoted)
        chopBlanks(text, chopLimit);
    return done();
}

void writeValue(const QString &text, QByteArray &out)
{
    static constexpr char escapes[] = "\aa\bb\ff\nn\rr\tt\vv\"\"\\\\";
    // Binary values of QSettings keep their bytes as \x codes.
    const bool utf8 = !text.startsWith(u"@ByteArray(") && !text.startsWith(u"@Variant(") &&
                      !text.startsWith(u"@DateTime(");
    QStringEncoder encoder(QStringEncoder::Utf8);
    const qsizetype start = out.size();
    bool quotes = false, hexAfter = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        quotes = quotes || c == ';' || c == ',' || c == '=';
        // A digit after a \x code would read as part of it.
        if (hexAfter && isHexDigit(c)) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        hexAfter = false;
        const qsizetype escape = c ? QByteArrayView(escapes).indexOf(char(c)) : -1;
        if (c == 0) {
            out += "\\0";
            hexAfter = true;
        } else if (c < 0x80 && escape >= 0 && escape % 2 == 0) {
            out += '\\';
            out += escapes[escape + 1];
        } else if (c <= 0x1f || (c >= 0x7f && !utf8)) {
            out += "\\x" + QByteArray::number(c, 16);
            hexAfter = true;
        } else {
            out +=
                utf8 ? QByteArray(encoder(QStringView(text).sliced(i, 1))) : QByteArray(1, char(c));
        }
    }
    if (quotes || (out.size() > start && (out[start] == ' ' || out.back() == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

QMap<QString, QStringList> parse(QByteArrayView data)
{
    QMap<QString, QStringList> entries;
    const bool byteOrderMark = data.startsWith("\xef\xbb\xbf");
    QString prefix;
    qsizetype pos = byteOrderMark ? 3 : 0, start, length, equals;
    while (nextLine(data, pos, start, length, equals)) {
        const QByteArrayView line = data.sliced(start, length);
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            const QByteArrayView name = line.first(close < 0 ? length : close).sliced(1).trimmed();
            prefix.clear();
            if (name.compare("general", Qt::CaseInsensitive) != 0) {
                prefix = name.compare("%general", Qt::CaseInsensitive) == 0
                             ? QString::fromLatin1(name.sliced(1))
                             : readKey(name);
                prefix += u'/';
            }
        } else if (equals >= 0) {
            // QSettings reads the lines before the first section from the
            // file's first byte: a byte order mark right before a key is in it.
            if (byteOrderMark && std::all_of(data.begin() + 3, data.begin() + start, isBlank))
                start = 0;
            entries.insert(prefix + readKey(data.sliced(start, equals - start).trimmed()),
                           readValue(data.sliced(equals + 1, pos - equals - 1)));
        }
    }
    return entries;
}

QByteArray unparse(const QMap<QString, QStringList> &entries)
{
    QMap<QString, QMap<QString, QStringList>> sections;
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        const qsizetype slash = entry.key().indexOf(u'/');
        sections[entry.key().left(qMax(slash, 0))][entry.key().mid(slash + 1)] = entry.value();
    }
    QByteArray out;
    for (auto section = sections.cbegin(); section != sections.cend(); ++section) {
        QByteArray name;
        writeKey(section.key(), name);
        if (!out.isEmpty())
            out += '\n';
        out += name.isEmpty()                                      ? "[General]"
               : name.compare("general", Qt::CaseInsensitive) == 0 ? "[%General]"
                                                                   : '[' + name + ']';
        out += '\n';
        for (auto entry = section->cbegin(); entry != section->cend(); ++entry) {
            writeKey(entry.key(), out);
            out += '=';
            for (qsizetype item = 0; item < entry->size(); ++item) {
                if (item > 0)
                    out += ", ";
                writeValue(entry->at(item), out);
            }
            out += '\n';
        }
    }
    return out;
}

// What KIVO reads from an entry: a list's items joined, a text as QSettings
// reads it as a string; other typed values as they stand.
QString textOf(const QStringList &value)
{
    const auto plain = [](const QString &text) {
        return text.startsWith(u"@@") ? text.sliced(1) : text;
    };
    if (value.size() != 1) {
        QStringList items;
        std::transform(value.cbegin(), value.cend(), std::back_inserter(items), plain);
        return items.join(u", ");
    }
    const QString &text = value.front();
    if (text.startsWith(u"@String(") && text.endsWith(u')'))
        return text.sliced(8).chopped(1);
    return text == u"@Invalid()" ? QString() : plain(text);
}

// A text as QSettings stores a string.
QStringList entryOf(const QString &text)
{
    if (text.contains(QChar::Null))
        return {QStringLiteral("@String(") + text + u')'};
    return {text.startsWith(u'@') ? u'@' + text : text};
}

// A lock held longer than this by another program counts as a failed write.
constexpr int lockWaitMs = 3000;

} // namespace

IniSettingsStore::IniSettingsStore()
    : IniSettingsStore(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                       u'/' + applicationTitle + u'/' + applicationTitle + QStringLiteral(".ini"))
{
}

IniSettingsStore::IniSettingsStore(const QString &fileName)
    : file(QFileInfo(fileName).absoluteFilePath())
{
}

QString IniSettingsStore::keyPath(const QString &section, const QString &key)
{
    if (section == sectionGeneral)
        return key;
    return section + QLatin1Char('/') + key;
}

QString IniSettingsStore::get(const QString &section, const QString &key)
{
    const QString path = keyPath(section, key);
    for (const Changes *kept : {&held, &unwritten}) {
        const auto value = kept->constFind(path);
        if (value != kept->constEnd())
            return *value;
    }
    QString unused;
    if (!loaded)
        reread(unused);
    loaded = true; // a file that cannot be read reads as empty, as in QSettings
    return textOf(entries.value(path, {QString()}));
}

void IniSettingsStore::save(const QString &section, const QString &key, const QString &value)
{
    const QString path = keyPath(section, key);
    if (holds > 0)
        held.insert(path, value);
    else
        write({{path, value}});
}

void IniSettingsStore::hold()
{
    ++holds;
}

void IniSettingsStore::release()
{
    if (holds == 0 || --holds > 0)
        return;
    write(std::exchange(held, {}));
}

void IniSettingsStore::write(Changes changes)
{
    for (auto value = unwritten.cbegin(); value != unwritten.cend(); ++value)
        changes.insert(value.key(), value.value());
    if (changes.isEmpty())
        return;
    // A reader needs no lock, as every write replaces the file whole: only a
    // change takes it.
    QString reason;
    if (reread(reason) && (!differs(changes) || writeLocked(changes, reason))) {
        unwritten.clear();
        return;
    }
    unwritten = changes;
    if (failed)
        failed({file, reason.isEmpty() ? qt_error_string(EIO) : reason});
}

bool IniSettingsStore::reread(QString &reason)
{
    QFile in(file);
    const bool opened = in.open(QIODevice::ReadOnly);
    const QByteArray content = opened ? in.readAll() : QByteArray();
    // No file is an empty one; one that cannot be read must not be written over.
    if (in.error() != QFileDevice::NoError && (opened || in.exists())) {
        // Qt words its refusal of a folder itself.
        reason = QFileInfo(file).isDir() ? qt_error_string(EISDIR) : in.errorString();
        return false;
    }
    entries = parse(content);
    loaded = true;
    return true;
}

bool IniSettingsStore::differs(const Changes &changes) const
{
    return std::any_of(changes.keyValueBegin(), changes.keyValueEnd(), [&](const auto &change) {
        const auto entry = entries.constFind(change.first);
        return entry == entries.cend() || textOf(*entry) != change.second;
    });
}

bool IniSettingsStore::writeLocked(const Changes &changes, QString &reason)
{
    QDir().mkpath(QFileInfo(file).path());
    // The lock QSettings takes too, so that older writers wait as well.
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs)) {
        // Any error but a lock held elsewhere is the lock file's creation
        // failing, whose reason errno still holds.
        const int error = errno;
        reason = qt_error_string(lock.error() == QLockFile::LockFailedError ? EWOULDBLOCK : error);
        return false;
    }
    if (!reread(reason))
        return false;
    if (!differs(changes))
        return true;
    for (auto value = changes.cbegin(); value != changes.cend(); ++value)
        entries.insert(value.key(), entryOf(value.value()));
    const QByteArray content = unparse(entries);
    QSaveFile out(file);
    // Unbuffered: a write that fails at the final flush would go unnoticed.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // QSaveFile words its refusal of a read-only file itself.
        reason =
            out.error() == QFileDevice::WriteError ? qt_error_string(EACCES) : out.errorString();
        return false;
    }
    qint64 written = 0, step = 0;
    while (written < content.size() &&
           (step = out.write(content.constData() + written, content.size() - written)) > 0)
        written += step;
    reason = out.errorString();
    // A short write must never replace the file.
    if (written < content.size())
        out.cancelWriting();
    if (out.commit())
        return true;
    if (written == content.size())
        reason = out.errorString();
    return false;
}

} // namespace kivo
