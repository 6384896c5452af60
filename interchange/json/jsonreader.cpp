#include "interchange/json/jsonreader.h"

#include "core/format/codepage.h"

#include <QIODevice>

#include <charconv>
#include <cmath>

namespace {

bool isSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int hexValue(int c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QString codePoint(qint32 c)
{
    return QStringLiteral("U+") +
           QString::number(c, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

/// Whether @p text is a number as JSON writes one:
/// -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(const char *p, const char *end)
{
    const auto digits = [&] {
        const char *start = p;
        while (p < end && *p >= '0' && *p <= '9')
            ++p;
        return p > start;
    };
    if (p < end && *p == '-')
        ++p;
    if (p < end && *p == '0')
        ++p;
    else if (!digits())
        return false;
    if (p < end && *p == '.') {
        ++p;
        if (!digits())
            return false;
    }
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            ++p;
        if (!digits())
            return false;
    }
    return p == end;
}

/// A key as a path shows it: .name, or ["..."] when it is no plain name.
QString keyInPath(const QByteArray &key)
{
    bool plain = !key.isEmpty();
    for (char c : key)
        plain = plain && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '_');
    if (plain)
        return QLatin1Char('.') + QString::fromLatin1(key);
    QString quoted = Codepage::decode(key);
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    quoted.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1String("[\"") + quoted + QLatin1String("\"]");
}

} // namespace

JsonReader::JsonReader(QIODevice &device) : mDevice(device), mBuffer(ChunkSize, Qt::Uninitialized)
{
    // A byte-order mark is passed over.
    if (peek() == 0xEF && mEnd - mPos >= 3 && mBuffer.mid(mPos, 3) == "\xEF\xBB\xBF")
        mPos += 3;
}

bool JsonReader::refill()
{
    if (mAtEnd || failed())
        return false;
    const qint64 n = mDevice.read(mBuffer.data(), ChunkSize);
    if (n < 0)
        fail(QStringLiteral("the input cannot be read: ") + mDevice.errorString());
    mAtEnd = n <= 0;
    mPos = 0;
    mEnd = qMax(n, qint64(0));
    return n > 0;
}

int JsonReader::peekAfterRefill()
{
    return refill() ? static_cast<unsigned char>(mBuffer.constData()[mPos]) : -1;
}

int JsonReader::take()
{
    const int c = peek();
    if (c >= 0)
        ++mPos;
    return c;
}

void JsonReader::skipSpace()
{
    // Most of a document laid out by the dump is indentation.
    do {
        const char *const data = mBuffer.constData();
        while (mPos < mEnd && isSpace(data[mPos]))
            ++mPos;
    } while (mPos == mEnd && refill());
}

QString JsonReader::kindOf(int c)
{
    switch (c) {
    case -1:
        return QStringLiteral("the end of the document");
    case '{':
        return QStringLiteral("an object");
    case '[':
        return QStringLiteral("an array");
    case '"':
        return QStringLiteral("a text");
    case 't':
    case 'f':
        return QStringLiteral("true or false");
    case 'n':
        return QStringLiteral("null");
    default:
        if (c == '-' || (c >= '0' && c <= '9'))
            return QStringLiteral("a number");
        return QStringLiteral("the character %1").arg(codePoint(c));
    }
}

bool JsonReader::open(char expected, const char *what)
{
    if (failed())
        return false;
    skipSpace();
    const int c = peek();
    if (c == expected) {
        ++mPos;
        return true;
    }
    fail(QStringLiteral("%1 expected, not %2").arg(QLatin1String(what), kindOf(c)));
    return false;
}

void JsonReader::fail(const QString &what)
{
    failAt(path(), what);
}

void JsonReader::failAt(const QString &path, const QString &what)
{
    if (!failed())
        mFault = path + QStringLiteral(": ") + what;
}

QString JsonReader::path() const
{
    QString text = QStringLiteral("$");
    for (const Level &level : mLevels) {
        if (level.array && level.index >= 0)
            text += QLatin1Char('[') + QString::number(level.index) + QLatin1Char(']');
        else if (!level.array && level.named)
            text += keyInPath(level.key);
    }
    return text;
}

bool JsonReader::enterObject()
{
    if (!open('{', "an object"))
        return false;
    mLevels.push_back({false, true, -1, {}, false});
    return true;
}

bool JsonReader::enterArray()
{
    if (!open('[', "an array"))
        return false;
    mLevels.push_back({true, true, -1, {}, false});
    return true;
}

bool JsonReader::nextMember(QByteArray &key)
{
    Q_ASSERT(!mLevels.empty() && !mLevels.back().array);
    if (failed())
        return false;
    Level &level = mLevels.back();
    skipSpace();
    int c = peek();
    if (c == '}') {
        ++mPos;
        mLevels.pop_back();
        return false;
    }
    if (!level.first) {
        if (c != ',') {
            fail(QStringLiteral(", or } expected, not %1").arg(kindOf(c)));
            return false;
        }
        ++mPos;
        skipSpace();
        c = peek();
    }
    level.first = false;
    level.named = false;
    if (c != '"') {
        fail(QStringLiteral("a key expected, not %1").arg(kindOf(c)));
        return false;
    }
    QByteArray name;
    if (!readText(name, MaxKeyBytes,
                  QStringLiteral("a key of more than %1 bytes").arg(MaxKeyBytes)))
        return false;
    level.key = name;
    level.named = true;
    skipSpace();
    if (take() != ':') {
        fail(QStringLiteral(": expected after the key"));
        return false;
    }
    key = name;
    return true;
}

bool JsonReader::nextElement()
{
    Q_ASSERT(!mLevels.empty() && mLevels.back().array);
    if (failed())
        return false;
    Level &level = mLevels.back();
    skipSpace();
    const int c = peek();
    if (c == ']') {
        ++mPos;
        mLevels.pop_back();
        return false;
    }
    if (!level.first) {
        if (c != ',') {
            fail(QStringLiteral(", or ] expected, not %1").arg(kindOf(c)));
            return false;
        }
        ++mPos;
    }
    level.first = false;
    ++level.index;
    return true;
}

bool JsonReader::readText(QByteArray &out, qsizetype maxBytes, const QString &tooLong,
                          LineBreaks breaks)
{
    if (!open('"', "a text"))
        return false;
    const qsizetype limit = out.size() + maxBytes;
    bool heldCr = false;
    for (;;) {
        if (mPos == mEnd && !refill()) {
            fail(QStringLiteral("the document ends inside a text"));
            return false;
        }
        // A run of printable ASCII goes over as it is.
        const char *const start = mBuffer.constData() + mPos;
        const char *const end = mBuffer.constData() + mEnd;
        const char *p = start;
        while (p < end && static_cast<unsigned char>(*p) >= 0x20 &&
               static_cast<unsigned char>(*p) < 0x80 && *p != '"' && *p != '\\')
            ++p;
        if (p > start) {
            if (heldCr) {
                out.append('\r');
                heldCr = false;
            }
            const qsizetype n = qMin(qsizetype(p - start), limit + 1 - out.size());
            out.append(start, qMax(n, qsizetype(0)));
            mPos += p - start;
            if (out.size() > limit) {
                fail(tooLong);
                return false;
            }
            continue;
        }
        const int c = take();
        qint32 point = 0;
        if (c == '"') {
            if (heldCr)
                out.append('\r');
            if (out.size() > limit) {
                fail(tooLong);
                return false;
            }
            return true;
        }
        if (c == '\\') {
            point = escape();
        } else if (c < 0x20) {
            fail(QStringLiteral("the control character %1 stands in a text unescaped")
                     .arg(codePoint(c)));
            return false;
        } else {
            point = utf8(static_cast<unsigned char>(c));
        }
        if (point < 0 || !putCodePoint(out, point, breaks, heldCr))
            return false;
        if (out.size() > limit) {
            fail(tooLong);
            return false;
        }
    }
}

qint32 JsonReader::escape()
{
    const int c = take();
    switch (c) {
    case '"':
    case '\\':
    case '/':
        return c;
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'u': {
        qint32 value = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = hexValue(take());
            if (digit < 0) {
                fail(QStringLiteral("\\u must be followed by four hexadecimal digits"));
                return -1;
            }
            value = value * 16 + digit;
        }
        return value;
    }
    default:
        fail(QStringLiteral("a backslash stands before %1, which it cannot escape")
                 .arg(c < 0 ? QStringLiteral("the end") : codePoint(c)));
        return -1;
    }
}

qint32 JsonReader::utf8(unsigned char lead)
{
    // Lead byte: the number of bytes that follow and the least value the
    // sequence may give (a shorter form is no UTF-8).
    int follow = 0;
    qint32 least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        follow = 1;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        follow = 2;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        follow = 3;
        least = 0x10000;
    } else {
        fail(QStringLiteral("the text is not UTF-8"));
        return -1;
    }
    qint32 value = lead & (0x3F >> follow);
    for (int i = 0; i < follow; ++i) {
        const int c = take();
        if (c < 0x80 || c > 0xBF) {
            fail(QStringLiteral("the text is not UTF-8"));
            return -1;
        }
        value = value << 6 | (c & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        fail(QStringLiteral("the text is not UTF-8"));
        return -1;
    }
    return value;
}

bool JsonReader::putCodePoint(QByteArray &out, qint32 c, LineBreaks breaks, bool &heldCr)
{
    if (c == 0) {
        fail(QStringLiteral("U+0000 cannot stand in a text of the file"));
        return false;
    }
    const int b = c < 0x80 ? c : (c <= 0xFFFF ? Codepage::byteFor(char16_t(c)) : -1);
    if (b < 0) {
        fail(QStringLiteral("%1 has no place in the handheld's character set (Windows-1252)")
                 .arg(codePoint(c)));
        return false;
    }
    if (breaks == LineBreaks::Stored) {
        // A CR waits for the character after it: with a LF it is a line
        // break, which a record keeps as LF alone.
        if (heldCr && b != '\n')
            out.append('\r');
        heldCr = b == '\r';
        if (heldCr)
            return true;
    }
    out.append(char(b));
    return true;
}

bool JsonReader::literal(const char *word)
{
    for (const char *p = word; *p; ++p) {
        if (take() != *p) {
            fail(QStringLiteral("true, false or null misspelt"));
            return false;
        }
    }
    return true;
}

bool JsonReader::readBool(bool &value)
{
    if (failed())
        return false;
    skipSpace();
    const int c = peek();
    if (c != 't' && c != 'f') {
        fail(QStringLiteral("true or false expected, not %1").arg(kindOf(c)));
        return false;
    }
    value = c == 't';
    return literal(value ? "true" : "false");
}

bool JsonReader::readNumber(double &value)
{
    if (failed())
        return false;
    skipSpace();
    int c = peek();
    if (c != '-' && (c < '0' || c > '9')) {
        fail(QStringLiteral("a number expected, not %1").arg(kindOf(c)));
        return false;
    }
    char text[MaxNumberLength + 1];
    int length = 0;
    while ((c = peek()) >= 0 &&
           ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E')) {
        if (length == MaxNumberLength) {
            fail(QStringLiteral("a number of more than %1 characters").arg(MaxNumberLength));
            return false;
        }
        text[length++] = char(c);
        ++mPos;
    }
    const auto result = std::from_chars(text, text + length, value);
    if (!isJsonNumber(text, text + length) || result.ec != std::errc() ||
        result.ptr != text + length || !std::isfinite(value)) {
        fail(
            QStringLiteral("%1 is no number JSON can hold").arg(QString::fromLatin1(text, length)));
        return false;
    }
    return true;
}

bool JsonReader::readInteger(qint64 &value, qint64 min, qint64 max)
{
    double number = 0;
    if (!readNumber(number))
        return false;
    if (number != std::trunc(number) || number < double(min) || number > double(max)) {
        fail(QStringLiteral("a whole number from %1 to %2 expected, not %3")
                 .arg(min)
                 .arg(max)
                 .arg(number, 0, 'g', 17));
        return false;
    }
    value = qint64(number);
    return true;
}

bool JsonReader::finish()
{
    if (failed())
        return false;
    skipSpace();
    if (peek() >= 0) {
        failAt(QStringLiteral("$"), QStringLiteral("%1 follows the document").arg(kindOf(peek())));
        return false;
    }
    return !failed();
}
