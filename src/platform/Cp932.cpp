// CP932 conversion over glibc iconv, with per-thread converters.
#include "platform/Cp932.h"

#include <cerrno>
#include <iconv.h>

namespace {

class Converter
{
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_cd; }
    void reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_cd;
};

Converter& decoder()
{
    thread_local Converter c("UTF-16LE", "CP932");
    return c;
}

Converter& encoder()
{
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}

} // namespace

namespace Cp932 {

QString toUnicode(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    Converter& c = decoder();
    if (!c.valid())
        return QString::fromLatin1(bytes);
    c.reset();
    QString out(bytes.size(), Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char* outBase = reinterpret_cast<char*>(out.data());
    char* dst = outBase;
    size_t outLeft = size_t(out.size()) * 2;
    while (inLeft > 0) {
        size_t r = iconv(c.handle(), &in, &inLeft, &dst, &outLeft);
        if (r != size_t(-1))
            break;
        if (errno == E2BIG) // cannot happen: one unit per byte at most
            break;
        // EILSEQ or EINVAL (truncated double-byte character): one replacement per bad byte
        if (outLeft < 2)
            break;
        const char16_t repl = 0xFFFD;
        std::memcpy(dst, &repl, 2);
        dst += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        c.reset();
    }
    out.resize(int((dst - outBase) / 2));
    return out;
}

QByteArray fromUnicode(const QString& text, bool* ok)
{
    if (ok)
        *ok = true;
    if (text.isEmpty())
        return {};
    Converter& c = encoder();
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    if (!c.valid()) {
        if (ok)
            *ok = false;
        return text.toLatin1();
    }
    c.reset();
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.utf16()));
    size_t inLeft = size_t(text.size()) * 2;
    char* dst = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        size_t r = iconv(c.handle(), &in, &inLeft, &dst, &outLeft);
        if (r != size_t(-1))
            break;
        if (errno == E2BIG || outLeft < 1)
            break;
        // Unrepresentable (or a lone surrogate): '?' as the Windows default character, skip the unit(s)
        if (ok)
            *ok = false;
        *dst++ = '?';
        --outLeft;
        char16_t unit;
        std::memcpy(&unit, in, 2);
        size_t skip = 2;
        if (unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 4)
            skip = 4;
        in += skip;
        inLeft -= skip;
        c.reset();
    }
    out.resize(int(dst - out.data()));
    return out;
}

bool canEncode(const QString& text)
{
    bool ok = true;
    fromUnicode(text, &ok);
    return ok;
}

int byteLength(const QString& text)
{
    return int(fromUnicode(text).size());
}

int charLengthAt(const QByteArray& bytes, int pos)
{
    if (pos < 0 || pos >= bytes.size())
        return 0;
    if (isLeadByteValue(uchar(bytes[pos])) && pos + 1 < bytes.size())
        return 2;
    return 1;
}

int charStart(const QByteArray& bytes, int index)
{
    int i = 0;
    while (i < bytes.size()) {
        int n = charLengthAt(bytes, i);
        if (index < i + n)
            return i;
        i += n;
    }
    return index;
}

bool isLeadByteAt(const QByteArray& bytes, int index)
{
    if (index < 0 || index >= bytes.size())
        return false;
    return charStart(bytes, index) == index && charLengthAt(bytes, index) == 2;
}

bool isTrailByteAt(const QByteArray& bytes, int index)
{
    if (index <= 0 || index >= bytes.size())
        return false;
    return charStart(bytes, index) != index;
}

QByteArray cutAtBoundary(const QByteArray& bytes, int maxBytes)
{
    if (maxBytes <= 0)
        return {};
    if (maxBytes >= bytes.size())
        return bytes;
    return bytes.left(charStart(bytes, maxBytes));
}

QString cutToBytes(const QString& text, int maxBytes)
{
    const QByteArray bytes = fromUnicode(text);
    if (bytes.size() <= maxBytes)
        return text;
    return toUnicode(cutAtBoundary(bytes, maxBytes));
}

} // namespace Cp932
