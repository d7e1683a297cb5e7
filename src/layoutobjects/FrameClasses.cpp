// The frame classes and their setters by name.
#include "layoutobjects/FrameClasses.h"

#include "core/MainSettings.h"
#include "layoutobjects/BarcodeRect.h"
#include "layoutobjects/PosRect.h"
#include "layoutobjects/QRCodeRect.h"

#include <QCoreApplication>
#include <QJsonValue>
#include <QTemporaryDir>

#include <cmath>

namespace {

// Checks the arguments of one setter call and reads them.
class TArguments
{
public:
    TArguments(const QString& setter, const QJsonArray& values, int minCount, int maxCount)
        : m_setter(setter), m_values(values)
    {
        if (values.size() < minCount || values.size() > maxCount)
            fail(QStringLiteral("takes %1 argument(s), got %2")
                     .arg(minCount == maxCount ? QString::number(minCount)
                                               : QStringLiteral("%1 to %2").arg(minCount).arg(maxCount))
                     .arg(values.size()));
    }
    qsizetype Count() const { return m_values.size(); }

    QString String(int i) const
    {
        if (!m_values[i].isString())
            fail(QStringLiteral("argument %1 must be a string").arg(i + 1));
        return m_values[i].toString();
    }
    int Int(int i, qint64 low, qint64 high) const
    {
        const QJsonValue v = m_values[i];
        const double d = v.toDouble();
        if (!v.isDouble() || std::trunc(d) != d || d < double(low) || d > double(high))
            fail(QStringLiteral("argument %1 must be a whole number from %2 to %3")
                     .arg(i + 1)
                     .arg(low)
                     .arg(high));
        return int(d);
    }
    bool Bool(int i) const
    {
        const QJsonValue v = m_values[i];
        if (v.isBool())
            return v.toBool();
        if (v.isDouble() && (v.toDouble() == 0 || v.toDouble() == 1))
            return v.toDouble() == 1;
        fail(QStringLiteral("argument %1 must be true, false, 0 or 1").arg(i + 1));
    }

private:
    [[noreturn]] void fail(const QString& what) const
    {
        throw ESceneError(QStringLiteral("%1: %2").arg(m_setter, what).toStdString());
    }
    QString m_setter;
    QJsonArray m_values;
};

constexpr qint64 Int32Min = INT32_MIN;
constexpr qint64 Int32Max = INT32_MAX;

template <class Frame> using Setter = std::function<void(Frame&, const TArguments&)>;

// Adds a setter that checks the argument count and works on the class it is declared for.
template <class Frame>
void add(TFrameClassInfo& info, const QString& name, int minCount, int maxCount, Setter<Frame> setter)
{
    const QString qualified = info.name + u'.' + name;
    info.setters.insert(
        name, [qualified, minCount, maxCount, setter](TDrawRect& frame, const QJsonArray& values) {
            setter(static_cast<Frame&>(frame), TArguments(qualified, values, minCount, maxCount));
        });
}

void addFrameSetters(TFrameClassInfo& info)
{
    add<TDrawRect>(info, "SetVisible", 1, 1,
                   [](TDrawRect& f, const TArguments& a) { f.SetVisible(a.Bool(0)); });
    add<TDrawRect>(info, "SetClipSide", 1, 1,
                   [](TDrawRect& f, const TArguments& a) { f.SetClipSide(quint8(a.Int(0, 0, 4))); });
    add<TDrawRect>(info, "SetClipPos", 1, 1,
                   [](TDrawRect& f, const TArguments& a) { f.SetClipPos(a.Int(0, Int32Min, Int32Max)); });
}

void addTextFrameSetters(TFrameClassInfo& info)
{
    addFrameSetters(info);
    // Face name, points, then optionally the style bits and the colour (0x00BBGGRR).
    add<TMetaRect>(info, "SetFont", 2, 4, [](TMetaRect& f, const TArguments& a) {
        TFontSpec font = f.Font();
        SetFontAttributes(&font, font.charset, a.String(0), a.Int(1, 1, 1638),
                          a.Count() > 2 ? a.Int(2, 0, 15) : 0);
        f.SetFont(font, a.Count() > 3 ? quint32(a.Int(3, 0, 0xFFFFFF)) : f.FontColor());
    });
    add<TMetaRect>(info, "SetHorizontal", 1, 1,
                   [](TMetaRect& f, const TArguments& a) { f.SetHorizontal(a.Bool(0)); });
    add<TMetaRect>(info, "SetUpsideDown", 1, 1,
                   [](TMetaRect& f, const TArguments& a) { f.SetUpsideDown(a.Bool(0)); });
    add<TMetaRect>(info, "SetFixedFontSize", 1, 1, [](TMetaRect& f, const TArguments& a) {
        f.SetFixedFontSize(a.Int(0, 0, MaxFixedSizeIndex));
    });
    add<TMetaRect>(info, "UpdateFontHeight", 0, 0,
                   [](TMetaRect& f, const TArguments&) { f.UpdateFontHeight(); });
    add<TMetaRect>(info, "Clear", 0, 0, [](TMetaRect& f, const TArguments&) { f.Clear(); });
}

template <class Frame> void addSideSetters(TFrameClassInfo& info)
{
    add<Frame>(info, "SetSender", 1, 1, [](Frame& f, const TArguments& a) { f.SetSender(a.Bool(0)); });
    add<Frame>(info, "SetInBlock", 1, 1, [](Frame& f, const TArguments& a) { f.SetInBlock(a.Bool(0)); });
}

QString ProgramFolderOrExecutable()
{
    return ProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath() + u'/' : ProgramFolder;
}

// The barcode and QR code frames.
void addCodeClasses(QList<TFrameClassInfo>& classes)
{
    TFrameClassInfo barcode{"TBarcodeRect", [] { return std::make_unique<TBarcodeRect>(); }, {}};
    addFrameSetters(barcode);
    add<TBarcodeRect>(barcode, "SetSizeIndex", 1, 1,
                      [](TBarcodeRect& f, const TArguments& a) { f.SetSizeIndex(a.Int(0, 0, 3)); });
    // Takes effect with the next rectangle, as in the designers: the frame keeps its top-left corner.
    add<TBarcodeRect>(barcode, "SetHorizontal", 1, 1, [](TBarcodeRect& f, const TArguments& a) {
        f.SetHorizontal(a.Bool(0));
        f.SetDesignRect(f.GetDesignRect());
    });
    add<TBarcodeRect>(barcode, "Rotate180", 0, 0, [](TBarcodeRect& f, const TArguments&) { f.Rotate180(); });
    // Postal code and address; the library and dictionary come from the program's folder.
    add<TBarcodeRect>(barcode, "MakeBarcode", 2, 2, [](TBarcodeRect& f, const TArguments& a) {
        const QString program = ProgramFolderOrExecutable();
        QTemporaryDir work;
        if (!work.isValid())
            throw ESceneError("MakeBarcode: no temporary folder");
        f.MakeBarcode(ToAnsi(a.String(0)), ToAnsi(a.String(1)), program, program + QStringLiteral("Dic/"),
                      work.path() + u'/');
    });
    classes << barcode;

    TFrameClassInfo qr{"TQRCodeRect", [] { return std::make_unique<TQRCodeRect>(); }, {}};
    addFrameSetters(qr);
    add<TQRCodeRect>(qr, "SetContentKind", 1, 1,
                     [](TQRCodeRect& f, const TArguments& a) { f.SetContentKind(quint8(a.Int(0, 0, 4))); });
    add<TQRCodeRect>(qr, "SetModuleSize", 1, 1,
                     [](TQRCodeRect& f, const TArguments& a) { f.SetModuleSize(a.Int(0, 1, 100)); });
    add<TQRCodeRect>(qr, "SetForeColor", 1, 1, [](TQRCodeRect& f, const TArguments& a) {
        f.SetForeColor(quint32(a.Int(0, 0, 0xFFFFFF)));
    });
    add<TQRCodeRect>(qr, "SetBackColor", 1, 1, [](TQRCodeRect& f, const TArguments& a) {
        f.SetBackColor(quint32(a.Int(0, 0, 0xFFFFFF)));
    });
    add<TQRCodeRect>(qr, "SetUpsideDown", 1, 1,
                     [](TQRCodeRect& f, const TArguments& a) { f.SetUpsideDown(a.Bool(0)); });
    using TextSetter = void (TQRCodeRect::*)(const AnsiString&);
    const std::pair<const char*, TextSetter> texts[] = {{"SetText", &TQRCodeRect::SetText},
                                                        {"SetName", &TQRCodeRect::SetName},
                                                        {"SetNameReading", &TQRCodeRect::SetNameReading},
                                                        {"SetMemo", &TQRCodeRect::SetMemo},
                                                        {"SetMailTo", &TQRCodeRect::SetMailTo},
                                                        {"SetSubject", &TQRCodeRect::SetSubject},
                                                        {"SetBody", &TQRCodeRect::SetBody}};
    for (const auto& text : texts) {
        const TextSetter setter = text.second;
        add<TQRCodeRect>(qr, text.first, 1, 1,
                         [setter](TQRCodeRect& f, const TArguments& a) { (f.*setter)(ToAnsi(a.String(0))); });
    }
    add<TQRCodeRect>(qr, "SetTel", 2, 2, [](TQRCodeRect& f, const TArguments& a) {
        f.SetTel(a.Int(0, 0, 1), ToAnsi(a.String(1)));
    });
    add<TQRCodeRect>(qr, "SetMail", 2, 2, [](TQRCodeRect& f, const TArguments& a) {
        f.SetMail(a.Int(0, 0, 1), ToAnsi(a.String(1)));
    });
    classes << qr;
}

QList<TFrameClassInfo> makeClasses()
{
    QList<TFrameClassInfo> classes;

    TFrameClassInfo pos{"TPosRect", [] { return std::make_unique<TPosRect>(); }, {}};
    addTextFrameSetters(pos);
    addSideSetters<TPosRect>(pos);
    add<TPosRect>(pos, "SetText", 1, 1, [](TPosRect& f, const TArguments& a) { f.SetText(a.String(0)); });
    classes << pos;

    TFrameClassInfo address{"TAddressRect", [] { return std::make_unique<TAddressRect>(); }, {}};
    addTextFrameSetters(address);
    addSideSetters<TAddressRect>(address);
    add<TAddressRect>(address, "SetLine", 2, 2,
                      [](TAddressRect& f, const TArguments& a) { f.SetLine(a.Int(0, 0, 2), a.String(1)); });
    add<TAddressRect>(address, "SetVerticalDigits", 1, 1,
                      [](TAddressRect& f, const TArguments& a) { f.SetVerticalDigits(a.Bool(0)); });
    add<TAddressRect>(address, "SetLevel", 1, 1,
                      [](TAddressRect& f, const TArguments& a) { f.SetLevel(a.Int(0, 1, 5)); });
    classes << address;

    addCodeClasses(classes);
    return classes;
}

} // namespace

const QList<TFrameClassInfo>& FrameClasses()
{
    static const QList<TFrameClassInfo> classes = makeClasses();
    return classes;
}

const TFrameClassInfo* FindFrameClass(const QString& name)
{
    for (const TFrameClassInfo& info : FrameClasses()) {
        if (info.name == name)
            return &info;
    }
    return nullptr;
}
