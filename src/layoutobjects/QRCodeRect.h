// The QR code frame: a text composed from its content kind, made into a symbol by the shared QR maker at
// screen or printer resolution; its size comes from the symbol.
#pragma once

#include "core/QRmakerPro.h"
#include "layoutobjects/DrawRect.h"

#include <QImage>

#include <array>

constexpr quint8 KindQRCode = 13;

// Content kinds.
constexpr quint8 QRFreeText = 0;
constexpr quint8 QRContactCard = 1; // "MECARD:"
constexpr quint8 QRPhoneBook = 2;   // "MEMORY:"
constexpr quint8 QRMailMessage = 3; // "MATMSG:"
constexpr quint8 QRMailLink = 4;    // "MAILTO:"

// A backslash before every backslash, colon and semicolon, and before every comma when commas.
AnsiString EscapeMeCardField(const AnsiString& text, bool commas);

// One user of the QR maker that all QR frames share; the last user frees it.
class TQRMakerUser
{
public:
    TQRMakerUser();
    TQRMakerUser(const TQRMakerUser&) : TQRMakerUser() {}
    TQRMakerUser& operator=(const TQRMakerUser&) { return *this; }
    ~TQRMakerUser();
    TQRmakerPro& Maker() const;
};

class TQRCodeRect : public TFrameClass<TQRCodeRect, TDrawRect>
{
public:
    TQRCodeRect() = default;

    quint8 GetKind() const override { return KindQRCode; }
    void Assign(const TDrawRect& source) override;
    void SetDesignRect(const TRect& rect) override;
    void SetScreenRect(const TRect& rect) override;
    void Draw(QPainter& painter, int dx, int dy) override;
    void Print(QPainter& painter, int dx, int dy) override;
    void CalcPrintRect(QPoint offset, bool keepPhysicalOffset) override;
    void UpdateImage(bool force) override;
    void SaveToStream(TFrameWriter& stream) const override;
    qint16 GetCursorAt(int, int) const override { return CursorDefault; }

    // Puts the composed text into the maker and makes the symbol; false when the text is empty.
    bool ComposeText(int dpi);
    void MakeImage();
    // After printing: the picture again at screen resolution.
    void EndPrinting();
    const QImage& Image() const { return m_image; }
    bool ImageCurrent() const { return m_imageCurrent; }
    // The text of the content kind, as ComposeText hands it to the maker.
    AnsiString ComposedText() const;
    // The next SetDesignRect takes its rectangle unchanged.
    void SetExplicitRect() { m_explicitRect = true; }

    quint8 ContentKind() const { return m_kind; }
    void SetContentKind(quint8 kind);
    qint32 ModuleSize() const { return m_moduleSize; }
    void SetModuleSize(qint32 size);
    quint32 ForeColor() const { return m_dark; }
    void SetForeColor(quint32 color);
    quint32 BackColor() const { return m_light; }
    void SetBackColor(quint32 color);
    bool UpsideDown() const { return m_upsideDown; }
    void SetUpsideDown(bool upsideDown);

    const AnsiString& Text() const { return m_text; }
    void SetText(const AnsiString& text);
    const AnsiString& Name() const { return m_name; }
    void SetName(const AnsiString& name);
    const AnsiString& NameReading() const { return m_reading; }
    void SetNameReading(const AnsiString& reading);
    AnsiString GetTel(int index) const { return m_tel[size_t(index & 1)]; }
    void SetTel(int index, const AnsiString& tel);
    AnsiString GetMail(int index) const { return m_mail[size_t(index & 1)]; }
    void SetMail(int index, const AnsiString& mail);
    const AnsiString& Memo() const { return m_memo; }
    void SetMemo(const AnsiString& memo);
    const AnsiString& MailTo() const { return m_mailTo; }
    void SetMailTo(const AnsiString& mailTo);
    const AnsiString& Subject() const { return m_subject; }
    void SetSubject(const AnsiString& subject);
    const AnsiString& Body() const { return m_body; }
    void SetBody(const AnsiString& body);

protected:
    void ReadFields(TFrameReader& stream) override;

private:
    // Stores the value; the picture goes stale when it changed and the kind uses it.
    void setField(AnsiString& field, const AnsiString& value, bool used);

    TQRMakerUser m_maker;
    bool m_imageCurrent = false;
    QImage m_image;
    quint8 m_kind = QRFreeText;
    qint32 m_moduleSize = 3;
    quint32 m_dark = 0;
    quint32 m_light = 0xFFFFFF;
    AnsiString m_text, m_name, m_reading;
    std::array<AnsiString, 2> m_tel, m_mail;
    AnsiString m_subject, m_body, m_memo, m_mailTo;
    bool m_explicitRect = false;
    bool m_printResolution = false;
    bool m_upsideDown = false;
};
