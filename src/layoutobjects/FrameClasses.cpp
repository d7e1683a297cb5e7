// The frame classes and their setters by name.
#include "layoutobjects/FrameClasses.h"

#include "layoutobjects/PosRect.h"

#include <QJsonValue>

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
