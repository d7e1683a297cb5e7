// The URL encodings of the web links.
#include "links/WebLinks.h"

namespace {

void appendEscaped(QString& out, unsigned char b)
{
    static const char hex[] = "0123456789ABCDEF";
    out += u'%';
    out += QLatin1Char(hex[b >> 4]);
    out += QLatin1Char(hex[b & 0x0F]);
}

bool keptInForm(unsigned char b)
{
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '*' ||
           b == '-' || b == '.' || b == '@' || b == '_';
}

} // namespace

QString FormEncodeShiftJis(const AnsiString& text)
{
    QString out;
    out.reserve(text.size() * 3);
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b == ' ')
            out += u'+';
        else if (keptInForm(b))
            out += QLatin1Char(char(b));
        else
            appendEscaped(out, b);
    }
    return out;
}

QString EncodeUrlUtf8(const QString& text)
{
    QString out;
    const QByteArray utf8 = text.toUtf8();
    out.reserve(utf8.size() * 3);
    for (const char c : utf8)
        appendEscaped(out, static_cast<unsigned char>(c));
    return out;
}
