// QR code frame: composing the text, making and sizing the picture, the stream record.
#include "layoutobjects/QRCodeRect.h"

#include "core/AppSub.h"
#include "platform/Printers.h"

#include <QPainter>

#include <memory>

namespace {

constexpr qint32 MaxModuleSize = 100;

std::unique_ptr<TQRmakerPro>& sharedMaker()
{
    static std::unique_ptr<TQRmakerPro> maker;
    return maker;
}

int& makerUsers()
{
    static int users = 0;
    return users;
}

} // namespace

AnsiString EscapeMeCardField(const AnsiString& text, bool commas)
{
    AnsiString out;
    for (int i = 0; i < text.size();) {
        const int length = Cp932::charLengthAt(text, i);
        const char c = text[i];
        if (length == 1 && (c == '\\' || c == ':' || c == ';' || (commas && c == ',')))
            out += '\\';
        out += text.mid(i, length);
        i += length;
    }
    return out;
}

TQRMakerUser::TQRMakerUser()
{
    if (makerUsers()++ == 0)
        sharedMaker() = std::make_unique<TQRmakerPro>();
}

TQRMakerUser::~TQRMakerUser()
{
    if (--makerUsers() == 0)
        sharedMaker().reset();
}

TQRmakerPro& TQRMakerUser::Maker() const
{
    return *sharedMaker();
}

void TQRCodeRect::Assign(const TDrawRect& source)
{
    TDrawRect::Assign(source);
    const auto* other = dynamic_cast<const TQRCodeRect*>(&source);
    if (!other)
        return;
    m_moduleSize = other->m_moduleSize;
    m_dark = other->m_dark;
    m_light = other->m_light;
    m_kind = other->m_kind;
    m_text = other->m_text;
    m_name = other->m_name;
    m_reading = other->m_reading;
    m_tel = other->m_tel;
    m_mail = other->m_mail;
    m_memo = other->m_memo;
    m_mailTo = other->m_mailTo;
    m_subject = other->m_subject;
    m_body = other->m_body;
    m_image = QImage();
    m_imageCurrent = false;
}

void TQRCodeRect::SetDesignRect(const TRect& rect)
{
    if (m_explicitRect) {
        m_explicitRect = false;
        TDrawRect::SetDesignRect(rect);
        return;
    }
    const TRect old = GetDesignRect();
    TDrawRect::SetDesignRect(SizedRect(rect.left, rect.top, old.Width(), old.Height()));
}

void TQRCodeRect::SetScreenRect(const TRect& rect)
{
    MoveWithScreenRect(rect);
}

void TQRCodeRect::UpdateImage(bool force)
{
    if (force || !m_imageCurrent)
        MakeImage();
}

void TQRCodeRect::Draw(QPainter& painter, int dx, int dy)
{
    UpdateImage(false);
    if (m_image.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(GetScreenRect().Moved(dx, dy).ToQRect(), m_image);
    painter.restore();
}

void TQRCodeRect::Print(QPainter& painter, int dx, int dy)
{
    if (m_image.isNull())
        return;
    const TRect r = GetPrinterRect().Moved(dx, dy);
    painter.drawImage(QPoint(r.left, r.top), m_image);
}

void TQRCodeRect::CalcPrintRect(QPoint offset, bool keepPhysicalOffset)
{
    TDrawRect::CalcPrintRect(offset, keepPhysicalOffset);
    m_printResolution = true;
    MakeImage();
}

void TQRCodeRect::EndPrinting()
{
    m_printResolution = false;
    MakeImage();
}

AnsiString TQRCodeRect::ComposedText() const
{
    AnsiString fields;
    const auto field = [&fields](const char* head, const AnsiString& value, const char* end) {
        if (!value.isEmpty())
            fields += head + value + end;
    };
    switch (m_kind) {
    case QRFreeText:
        return m_text;
    case QRContactCard:
        field("N:", EscapeMeCardField(m_name, true), ";");
        field("SOUND:", EscapeMeCardField(m_reading, true), ";");
        field("TEL:", EscapeMeCardField(m_tel[0], false), ";");
        field("TEL:", EscapeMeCardField(m_tel[1], false), ";");
        field("EMAIL:", EscapeMeCardField(m_mail[0], false), ";");
        field("EMAIL:", EscapeMeCardField(m_mail[1], false), ";");
        field("NOTE:", EscapeMeCardField(m_memo, false), ";");
        return fields.isEmpty() ? fields : "MECARD:" + fields + ";";
    case QRPhoneBook:
        field("NAME1:", m_name, "\r\n");
        field("NAME2:", m_reading, "\r\n");
        field("TEL1:", m_tel[0], "\r\n");
        field(m_tel[0].isEmpty() ? "TEL1:" : "TEL2:", m_tel[1], "\r\n");
        field("MAIL1:", m_mail[0], "\r\n");
        field(m_mail[0].isEmpty() ? "MAIL1:" : "MAIL2:", m_mail[1], "\r\n");
        // A memo alone gives no text.
        return fields.isEmpty() ? fields : "MEMORY:" + m_memo + "\r\n" + fields;
    case QRMailMessage:
        field("TO:", EscapeMeCardField(m_mailTo, false), ";");
        field("SUB:", EscapeMeCardField(m_subject, false), ";");
        field("BODY:", EscapeMeCardField(m_body, false), ";");
        return fields.isEmpty() ? fields : "MATMSG:" + fields + ";";
    case QRMailLink:
        if (m_mailTo.isEmpty())
            return {};
        field("MAILTO:", m_mailTo, "\r\n");
        field("BODY:", m_body, "\r\n");
        field("SUBJECT:", m_subject, "\r\n");
        return fields;
    default:
        return {};
    }
}

bool TQRCodeRect::ComposeText(int dpi)
{
    TQRmakerPro& maker = m_maker.Maker();
    maker.SetCellUnit(96);
    maker.SetCellPitch(qint16(m_moduleSize));
    maker.SetCellUnit(qint16(dpi));
    maker.SetForeBColor(ColorRefToQColor(m_dark));
    maker.SetForeWColor(ColorRefToQColor(m_light));
    const AnsiString text = ComposedText();
    maker.SetData(text);
    maker.Refresh();
    return !text.isEmpty();
}

void TQRCodeRect::MakeImage()
{
    m_image = QImage();
    const int dpi = m_printResolution ? CurrentPrinterDpi().y() : 96;
    const bool hasText = ComposeText(dpi);
    const TQRmakerPro& maker = m_maker.Maker();
    QImage image = maker.Image();
    if (!image.isNull()) {
        if (hasText && m_upsideDown)
            image = image.transformed(QTransform().rotate(180));
        image.setColorTable({ColorRefToQColor(m_light).rgb(), ColorRefToQColor(m_dark).rgb()});
        m_image = image;
    }
    const TRect old = GetDesignRect();
    const int h = int(RoundHalfAway(maker.ImageHeight() / 25.4 * 96));
    const int w = int(RoundHalfAway(maker.ImageWidth() / 25.4 * 96));
    m_explicitRect = true;
    SetDesignRect(old.Width() != 0 && old.Height() != 0 ? CentredRect(old, w, h)
                                                        : SizedRect(old.left, old.top, w, h));
    m_imageCurrent = true;
}

void TQRCodeRect::setField(AnsiString& field, const AnsiString& value, bool used)
{
    if (field == value)
        return;
    field = value;
    if (used)
        m_imageCurrent = false;
}

void TQRCodeRect::SetContentKind(quint8 kind)
{
    if (kind == m_kind || kind > QRMailLink)
        return;
    m_kind = kind;
    m_imageCurrent = false;
}

void TQRCodeRect::SetModuleSize(qint32 size)
{
    if (size == m_moduleSize || size < 1 || size > MaxModuleSize)
        return;
    m_moduleSize = size;
    m_imageCurrent = false;
}

void TQRCodeRect::SetForeColor(quint32 color)
{
    if (color == m_dark)
        return;
    m_dark = color;
    m_imageCurrent = false;
}

void TQRCodeRect::SetBackColor(quint32 color)
{
    if (color == m_light)
        return;
    m_light = color;
    m_imageCurrent = false;
}

void TQRCodeRect::SetUpsideDown(bool upsideDown)
{
    if (upsideDown == m_upsideDown)
        return;
    m_upsideDown = upsideDown;
    m_imageCurrent = false;
}

void TQRCodeRect::SetText(const AnsiString& text)
{
    setField(m_text, text, m_kind == QRFreeText);
}

void TQRCodeRect::SetName(const AnsiString& name)
{
    setField(m_name, name, m_kind == QRContactCard || m_kind == QRPhoneBook);
}

void TQRCodeRect::SetNameReading(const AnsiString& reading)
{
    setField(m_reading, reading, m_kind == QRContactCard || m_kind == QRPhoneBook);
}

void TQRCodeRect::SetTel(int index, const AnsiString& tel)
{
    setField(m_tel[size_t(index & 1)], tel, m_kind == QRContactCard || m_kind == QRPhoneBook);
}

void TQRCodeRect::SetMail(int index, const AnsiString& mail)
{
    setField(m_mail[size_t(index & 1)], mail, m_kind == QRContactCard || m_kind == QRPhoneBook);
}

void TQRCodeRect::SetMemo(const AnsiString& memo)
{
    setField(m_memo, memo, m_kind == QRContactCard || m_kind == QRPhoneBook);
}

void TQRCodeRect::SetMailTo(const AnsiString& mailTo)
{
    setField(m_mailTo, mailTo, m_kind == QRMailMessage || m_kind == QRMailLink);
}

void TQRCodeRect::SetSubject(const AnsiString& subject)
{
    setField(m_subject, subject, m_kind == QRMailMessage || m_kind == QRMailLink);
}

void TQRCodeRect::SetBody(const AnsiString& body)
{
    setField(m_body, body, m_kind == QRMailMessage || m_kind == QRMailLink);
}

void TQRCodeRect::ReadFields(TFrameReader& stream)
{
    // The stored rectangle stands as it is.
    m_explicitRect = true;
    TDrawRect::ReadFields(stream);
    m_explicitRect = false;
    const qint32 moduleSize = stream.ReadInt32();
    if (moduleSize < 1 || moduleSize > MaxModuleSize)
        throw EFrameStreamError("QR module size out of range");
    m_moduleSize = moduleSize;
    m_dark = stream.ReadUInt32();
    m_light = stream.ReadUInt32();
    const quint8 kind = stream.ReadByte();
    if (kind > QRMailLink)
        throw EFrameStreamError("QR content kind out of range");
    m_kind = kind;
    for (AnsiString* text : {&m_text, &m_name, &m_reading, &m_tel[0], &m_tel[1], &m_mail[0], &m_mail[1],
                             &m_memo, &m_mailTo, &m_subject, &m_body})
        *text = ReadInvertedString(stream);
    m_upsideDown = LoadedFileVersion > 300 ? stream.ReadByte() != 0 : false;
    m_image = QImage();
    m_imageCurrent = false;
}

void TQRCodeRect::SaveToStream(TFrameWriter& stream) const
{
    TDrawRect::SaveToStream(stream);
    stream.WriteInt32(m_moduleSize);
    stream.WriteUInt32(m_dark);
    stream.WriteUInt32(m_light);
    stream.WriteByte(m_kind);
    for (const AnsiString* text : {&m_text, &m_name, &m_reading, &m_tel[0], &m_tel[1], &m_mail[0], &m_mail[1],
                                   &m_memo, &m_mailTo, &m_subject, &m_body})
        WriteInvertedString(*text, stream);
    stream.WriteByte(m_upsideDown ? 1 : 0);
}
