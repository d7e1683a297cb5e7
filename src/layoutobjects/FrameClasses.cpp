// The frame classes and their setters by name.
#include "layoutobjects/FrameClasses.h"

#include "core/MainSettings.h"
#include "layoutobjects/BarcodeRect.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/PosRect.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/SenderRect.h"

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
    double Number(int i, double low, double high) const
    {
        const QJsonValue v = m_values[i];
        if (!v.isDouble() || v.toDouble() < low || v.toDouble() > high)
            fail(QStringLiteral("argument %1 must be a number from %2 to %3").arg(i + 1).arg(low).arg(high));
        return v.toDouble();
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

// Name, company-line, additional-item, free text and sender-block frames.
template <class Frame> void addDecorativeFrameSetters(TFrameClassInfo& info)
{
    add<Frame>(info, "SetFrameVisible", 1, 1,
               [](Frame& f, const TArguments& a) { f.Frame().SetFrameVisible(a.Bool(0)); });
    add<Frame>(info, "SetDoubleLine", 1, 1,
               [](Frame& f, const TArguments& a) { f.Frame().SetDoubleLine(a.Bool(0)); });
    add<Frame>(info, "SetRoundCorner", 1, 1,
               [](Frame& f, const TArguments& a) { f.Frame().SetRoundCorner(a.Bool(0)); });
    add<Frame>(info, "SetWidthIndex", 1, 1,
               [](Frame& f, const TArguments& a) { f.Frame().SetWidthIndex(quint8(a.Int(0, 0, 2))); });
    add<Frame>(info, "SetLineColor", 1, 1,
               [](Frame& f, const TArguments& a) { f.Frame().SetLineColor(quint32(a.Int(0, 0, 0xFFFFFF))); });
    add<Frame>(info, "SetFillVisible", 1, 1,
               [](Frame& f, const TArguments& a) { f.Frame().SetFillVisible(a.Bool(0)); });
    add<Frame>(info, "SetFillColor", 1, 1,
               [](Frame& f, const TArguments& a) { f.Frame().SetFillColor(quint32(a.Int(0, 0, 0xFFFFFF))); });
}

template <class Frame> void addLevelSetter(TFrameClassInfo& info)
{
    add<Frame>(info, "SetLevel", 1, 1, [](Frame& f, const TArguments& a) { f.SetLevel(a.Int(0, 1, 5)); });
}

void addNameAndTextClasses(QList<TFrameClassInfo>& classes)
{
    using N = TNameRect;
    TFrameClassInfo name{"TNameRect", [] { return std::make_unique<TNameRect>(); }, {}};
    addTextFrameSetters(name);
    addSideSetters<N>(name);
    addLevelSetter<N>(name);
    add<N>(name, "SetNameKind", 1, 1,
           [](N& f, const TArguments& a) { f.SetNameKind(quint8(a.Int(0, 0, 2))); });
    add<N>(name, "SetName", 1, 1, [](N& f, const TArguments& a) { f.SetName(a.String(0)); });
    add<N>(name, "SetHonorific", 1, 1, [](N& f, const TArguments& a) { f.SetHonorific(a.String(0)); });
    add<N>(name, "SetNote", 1, 1, [](N& f, const TArguments& a) { f.SetNote(a.String(0)); });
    add<N>(name, "SetJointCount", 1, 1, [](N& f, const TArguments& a) { f.SetJointCount(a.Int(0, 0, 5)); });
    add<N>(name, "SetJointName", 2, 2,
           [](N& f, const TArguments& a) { f.SetJointName(a.Int(0, 0, 4), a.String(1)); });
    add<N>(name, "SetJointHonorific", 2, 2,
           [](N& f, const TArguments& a) { f.SetJointHonorific(a.Int(0, 0, 4), a.String(1)); });
    add<N>(name, "SetJointNote", 2, 2,
           [](N& f, const TArguments& a) { f.SetJointNote(a.Int(0, 0, 4), a.String(1)); });
    add<N>(name, "SetNameAlign", 1, 1,
           [](N& f, const TArguments& a) { f.SetNameAlign(quint8(a.Int(0, 0, 3))); });
    add<N>(name, "SetIgnoreName", 1, 1, [](N& f, const TArguments& a) { f.SetIgnoreName(a.Bool(0)); });
    add<N>(name, "SetCompany", 1, 1, [](N& f, const TArguments& a) { f.SetCompany(a.String(0)); });
    add<N>(name, "SetCorpLine", 2, 2,
           [](N& f, const TArguments& a) { f.SetCorpLine(a.Int(0, 0, 2), a.String(1)); });
    add<N>(name, "SetTitle", 1, 1, [](N& f, const TArguments& a) { f.SetTitle(a.String(0)); });
    add<N>(name, "SetCompanyRatio", 1, 1,
           [](N& f, const TArguments& a) { f.SetCompanyRatio(a.Number(0, 0.05, 1)); });
    add<N>(name, "SetDepartmentRatio", 1, 1,
           [](N& f, const TArguments& a) { f.SetDepartmentRatio(a.Number(0, 0.05, 1)); });
    add<N>(name, "SetTitleRatio", 1, 1,
           [](N& f, const TArguments& a) { f.SetTitleRatio(a.Number(0, 0.05, 1)); });
    add<N>(name, "SetWidenSpacing", 1, 1, [](N& f, const TArguments& a) { f.SetWidenSpacing(a.Bool(0)); });
    add<N>(name, "SetCorpBreak", 1, 1, [](N& f, const TArguments& a) { f.SetCorpBreak(a.Bool(0)); });
    add<N>(name, "SetHonorificPrinted", 1, 1,
           [](N& f, const TArguments& a) { f.SetHonorificPrinted(a.Bool(0)); });
    classes << name;

    TFrameClassInfo corp{"TCorpRect", [] { return std::make_unique<TCorpRect>(); }, {}};
    addTextFrameSetters(corp);
    addSideSetters<TCorpRect>(corp);
    addLevelSetter<TCorpRect>(corp);
    add<TCorpRect>(corp, "SetText", 1, 1, [](TCorpRect& f, const TArguments& a) { f.SetText(a.String(0)); });
    add<TCorpRect>(corp, "SetHonorific", 1, 1,
                   [](TCorpRect& f, const TArguments& a) { f.SetHonorific(a.String(0)); });
    add<TCorpRect>(corp, "SetCorpBreak", 1, 1,
                   [](TCorpRect& f, const TArguments& a) { f.SetCorpBreak(a.Bool(0)); });
    classes << corp;

    using A = TAdditionRect;
    TFrameClassInfo addition{"TAdditionRect", [] { return std::make_unique<TAdditionRect>(); }, {}};
    addTextFrameSetters(addition);
    addLevelSetter<A>(addition);
    add<A>(addition, "SetText", 1, 1, [](A& f, const TArguments& a) { f.SetText(a.String(0)); });
    add<A>(addition, "SetHeading", 1, 1, [](A& f, const TArguments& a) { f.SetHeading(a.String(0)); });
    add<A>(addition, "SetItemKind", 1, 1,
           [](A& f, const TArguments& a) { f.SetItemKind(quint8(a.Int(0, 0, 255))); });
    classes << addition;

    using W = TWordRect;
    TFrameClassInfo word{"TWordRect", [] { return std::make_unique<TWordRect>(); }, {}};
    addTextFrameSetters(word);
    addDecorativeFrameSetters<W>(word);
    add<W>(word, "SetLineCount", 1, 1, [](W& f, const TArguments& a) { f.SetLineCount(a.Int(0, 0, 1000)); });
    add<W>(word, "SetLine", 2, 2,
           [](W& f, const TArguments& a) { f.SetLine(a.Int(0, 0, 999), a.String(1)); });
    add<W>(word, "SetAlignment", 1, 1, [](W& f, const TArguments& a) { f.SetAlignment(a.Int(0, 0, 8)); });
    add<W>(word, "SetAutoWrap", 1, 1, [](W& f, const TArguments& a) { f.SetAutoWrap(a.Bool(0)); });
    add<W>(word, "SetAspectRatio", 1, 1,
           [](W& f, const TArguments& a) { f.SetAspectRatio(a.Int(0, 20, 300)); });
    add<W>(word, "SetLineSpacing", 1, 1,
           [](W& f, const TArguments& a) { f.SetLineSpacing(quint8(a.Int(0, 0, 5))); });
    classes << word;

    using S = TSenderRect;
    TFrameClassInfo sender{"TSenderRect", [] { return std::make_unique<TSenderRect>(); }, {}};
    addFrameSetters(sender);
    addDecorativeFrameSetters<S>(sender);
    add<S>(sender, "SetFont", 2, 4, [](S& f, const TArguments& a) {
        TFontSpec font = f.GetFont();
        SetFontAttributes(&font, font.charset, a.String(0), a.Int(1, 1, 1638),
                          a.Count() > 2 ? a.Int(2, 0, 15) : 0);
        f.SetFont(font, a.Count() > 3 ? quint32(a.Int(3, 0, 0xFFFFFF)) : 0);
    });
    add<S>(sender, "SetHorizontal", 1, 1, [](S& f, const TArguments& a) { f.SetHorizontal(a.Bool(0)); });
    add<S>(sender, "ResetItemRect", 1, 1,
           [](S& f, const TArguments& a) { f.ResetItemRect(a.Int(0, -1, 12)); });
    add<S>(sender, "SetUpsideDown", 1, 1, [](S& f, const TArguments& a) { f.SetUpsideDown(a.Bool(0)); });
    add<S>(sender, "SetSimpleLayout", 1, 1, [](S& f, const TArguments& a) { f.SetSimpleLayout(a.Bool(0)); });
    add<S>(sender, "SetPostal", 1, 1, [](S& f, const TArguments& a) {
        f.GetPostal(true)->SetText(a.String(0));
        f.GetPostal(false)->SetText(a.String(0));
    });
    // Line i of the simple address and detailed address line i.
    add<S>(sender, "SetAddressLine", 2, 2, [](S& f, const TArguments& a) {
        const int i = a.Int(0, 0, 2);
        f.GetSimpleAddress()->SetLine(i, a.String(1));
        f.GetAddressLine(i)->SetLine(0, a.String(1));
    });
    add<S>(sender, "SetName", 1, 1, [](S& f, const TArguments& a) {
        f.GetName(true)->SetName(a.String(0));
        f.GetName(false)->SetName(a.String(0));
    });
    add<S>(sender, "SetCompany", 1, 1,
           [](S& f, const TArguments& a) { f.GetCompany()->SetText(a.String(0)); });
    add<S>(sender, "SetCorpLine", 2, 2,
           [](S& f, const TArguments& a) { f.GetCorpLine(a.Int(0, 0, 1))->SetText(a.String(1)); });
    add<S>(sender, "SetTitle", 1, 1, [](S& f, const TArguments& a) { f.GetTitle()->SetText(a.String(0)); });
    add<S>(sender, "SetContact", 3, 3, [](S& f, const TArguments& a) {
        TAdditionRect* contact = f.GetContact(a.Int(0, 0, 3));
        contact->SetHeading(a.String(1));
        contact->SetText(a.String(2));
    });
    add<S>(sender, "SetSimpleAddition", 3, 3, [](S& f, const TArguments& a) {
        TAdditionRect* addition = f.GetSimpleAddition(a.Int(0, 0, 1));
        addition->SetHeading(a.String(1));
        addition->SetText(a.String(2));
    });
    add<S>(sender, "SetSimpleAdditionVisible", 2, 2,
           [](S& f, const TArguments& a) { f.SetSimpleAdditionVisible(a.Int(0, 0, 1), a.Bool(1)); });
    add<S>(sender, "SetContactVisible", 2, 2,
           [](S& f, const TArguments& a) { f.SetContactVisible(a.Int(0, 0, 3), a.Bool(1)); });
    add<S>(sender, "SetTitleVisible", 1, 1, [](S& f, const TArguments& a) { f.SetTitleVisible(a.Bool(0)); });
    classes << sender;
}

// The illustration and figure frames.
void addPictureClasses(QList<TFrameClassInfo>& classes)
{
    using I = TIllustRect;
    TFrameClassInfo illust{"TIllustRect", [] { return std::make_unique<TIllustRect>(); }, {}};
    addFrameSetters(illust);
    addDecorativeFrameSetters<I>(illust);
    // A BMP or JPEG file; the frame keeps the file's dpi.
    add<I>(illust, "SetGraphic", 1, 1, [](I& f, const TArguments& a) {
        const QString file = a.String(0);
        int dpi = 72;
        std::optional<TGraphic> graphic;
        try {
            graphic = LoadImageWithDpi(file, dpi);
        } catch (const EImageFileError& e) {
            throw ESceneError(
                QStringLiteral("SetGraphic: %1").arg(QString::fromUtf8(e.what())).toStdString());
        }
        if (!graphic)
            throw ESceneError(
                QStringLiteral("SetGraphic: no BMP or JPEG picture in %1").arg(file).toStdString());
        f.SetGraphic(&*graphic);
        f.SetResolution(dpi);
    });
    // The cut-out shapes are those the program ships, as in the designers.
    add<I>(illust, "SetFrameIndex", 1, 1, [](I& f, const TArguments& a) {
        if (FrameMetafileNames().isEmpty())
            AddStandardFrameMetafileNames(ProgramFolderOrExecutable());
        f.SetFrameIndex(a.Int(0, -1, 1000));
    });
    add<I>(illust, "SetTransparentColor", 1, 1, [](I& f, const TArguments& a) {
        f.SetTransparentColor(quint32(a.Int(0, 0, qint64(NoTransparentColor))));
    });
    add<I>(illust, "Flip", 1, 1, [](I& f, const TArguments& a) { f.Flip(quint8(a.Int(0, 0, 1))); });
    add<I>(illust, "Rotate", 1, 1, [](I& f, const TArguments& a) { f.Rotate(a.Int(0, 0, 2)); });
    // Left, top, right, bottom in design pixels (the scene's zoom is 1).
    add<I>(illust, "SetImageScreenRect", 4, 4, [](I& f, const TArguments& a) {
        f.SetImageScreenRect({a.Int(0, Int32Min, Int32Max), a.Int(1, Int32Min, Int32Max),
                              a.Int(2, Int32Min, Int32Max), a.Int(3, Int32Min, Int32Max)});
    });
    add<I>(illust, "SetSmoothScaling", 1, 1,
           [](I& f, const TArguments& a) { f.SetSmoothScaling(a.Bool(0)); });
    add<I>(illust, "SetLimitedPrinter", 1, 1,
           [](I& f, const TArguments& a) { f.SetLimitedPrinter(a.Bool(0)); });
    add<I>(illust, "SetUpsideDown", 1, 1, [](I& f, const TArguments& a) { f.SetUpsideDown(a.Bool(0)); });
    classes << illust;

    using F = TFigureRect;
    TFrameClassInfo figure{"TFigureRect", [] { return std::make_unique<TFigureRect>(); }, {}};
    addFrameSetters(figure);
    const auto color = [](const TArguments& a) { return quint32(a.Int(0, 0, 0xFFFFFF)); };
    add<F>(figure, "SetFigureKind", 1, 1,
           [](F& f, const TArguments& a) { f.SetFigureKind(quint8(a.Int(0, 0, 5))); });
    add<F>(figure, "SetLineDirections", 1, 1,
           [](F& f, const TArguments& a) { f.SetLineDirections(quint8(a.Int(0, 0, 15))); });
    add<F>(figure, "SetCornerSize", 2, 2,
           [](F& f, const TArguments& a) { f.SetCornerSize(a.Int(0, 0, 1), quint8(a.Int(1, 0, 2))); });
    add<F>(figure, "SetSectorDirection", 1, 1,
           [](F& f, const TArguments& a) { f.SetSectorDirection(quint8(a.Int(0, 0, 3))); });
    add<F>(figure, "SetFrameVisible", 1, 1, [](F& f, const TArguments& a) { f.SetFrameVisible(a.Bool(0)); });
    add<F>(figure, "SetFillVisible", 1, 1, [](F& f, const TArguments& a) { f.SetFillVisible(a.Bool(0)); });
    add<F>(figure, "SetGradient", 1, 1, [](F& f, const TArguments& a) { f.SetGradient(a.Bool(0)); });
    add<F>(figure, "SetLineType", 1, 1,
           [](F& f, const TArguments& a) { f.SetLineType(quint8(a.Int(0, 0, 4))); });
    add<F>(figure, "SetLineWidth", 1, 1,
           [](F& f, const TArguments& a) { f.SetLineWidth(a.Int(0, 0, 1000)); });
    add<F>(figure, "SetLineColor", 1, 1, [color](F& f, const TArguments& a) { f.SetLineColor(color(a)); });
    add<F>(figure, "SetFillColor", 1, 1, [color](F& f, const TArguments& a) { f.SetFillColor(color(a)); });
    add<F>(figure, "SetFillColor2", 1, 1, [color](F& f, const TArguments& a) { f.SetFillColor2(color(a)); });
    add<F>(figure, "SetGradientAngle", 1, 1,
           [](F& f, const TArguments& a) { f.SetGradientAngle(a.Int(0, Int32Min, Int32Max)); });
    classes << figure;
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
    addNameAndTextClasses(classes);
    addPictureClasses(classes);
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
