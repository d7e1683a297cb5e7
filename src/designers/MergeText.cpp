// Name and text forms shared by the merges of the designer documents.
#include "designers/MergeText.h"

#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "core/FontSub.h"

namespace MergeText {

TNameParts Split(const QString& name)
{
    const QString normal = NormalizeNameSpacing(name);
    const int space = normal.indexOf(u' ');
    if (space < 0)
        return {QString(), normal};
    return {normal.left(space + 1), normal.mid(space + 1)};
}

bool IsBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

QString FullWidth(const AnsiString& text)
{
    return ToWide(ToFullWidth(text));
}

QString DecodedName(const TMergeRow& row, const QString& field)
{
    const AnsiString text = row.Text(field);
    try {
        return ToFullWidthW(HexTextToWide(text));
    } catch (const EConvertError&) {
        return ToFullWidthW(ToWide(text));
    }
}

QString Numbered(const char* field, int i)
{
    return QString::fromLatin1(field) + QString::number(i);
}

QString JointText(const TNameParts& joint, const QString& surname, bool haveNameLine)
{
    if (!IsBlank(joint.Surname) && joint.Surname != surname)
        return joint.Surname + joint.Given;
    return haveNameLine ? QStringLiteral(" ") + joint.Given : surname + joint.Given;
}

void AppendJoint(TNameRect* name, const QString& text, const QString& honorific)
{
    const int n = name->GetJointCount();
    name->SetJointCount(n + 1);
    name->SetJointName(n, text);
    name->SetJointHonorific(n, honorific);
}

void MergeSenderJoints(const TMergeRow& row, TNameRect* frame, const QString& surname, bool together)
{
    bool previousJoined = false;
    for (int i = 1; i <= 5; ++i) {
        if (!row.Flag(Numbered("JointPrint", i)) || row.Text(Numbered("Joint", i)).isEmpty())
            continue;
        const QString text =
            JointText(Split(DecodedName(row, Numbered("Joint", i))), surname, !frame->Name().isEmpty());
        const QString note = FullWidth(row.Text(Numbered("Note", i)));
        const int joints = frame->GetJointCount();
        if (frame->Name().isEmpty()) {
            frame->SetName(text);
            if (!together)
                frame->SetNote(note);
        } else if (text.startsWith(u' ') && together && !previousJoined) {
            const QString given = QStringLiteral("・") + text.trimmed();
            if (joints > 0)
                frame->SetJointName(joints - 1, frame->GetJointName(joints - 1) + given);
            else
                frame->SetName(frame->Name() + given);
            previousJoined = true;
        } else {
            AppendJoint(frame, text, QString());
            if (!together)
                frame->SetJointNote(joints, note);
            previousJoined = false;
        }
    }
}

std::optional<TContactText> SenderContactText(const TMergeRow& row, int n, bool kanji, bool vertical)
{
    AnsiString bytes = row.Text(Numbered("Addition", n));
    if (bytes.isEmpty())
        return std::nullopt;
    QString heading = ToWide(row.Text(Numbered("Head", n)));
    const QString upper = heading.toUpper();
    if (upper == "TEL" || upper == "FAX" || upper == "TEL/FAX" || heading == QStringLiteral("携帯"))
        bytes = HyphenatePhoneText(bytes);
    QString text = ToWide(bytes);
    const bool webOrMail = heading.contains(QStringLiteral("メール")) || heading.contains("E-Mail") ||
                           upper.contains("MAIL") || upper.contains("HP") || upper.contains("URL");
    if (!webOrMail) {
        heading = ToFullWidthW(heading);
        text = ToFullWidthW(text);
        if (kanji)
            text = DigitsToKanji(text);
        if (vertical)
            text = ReplaceDashes(text, 0);
    }
    return TContactText{heading, text};
}

void MergeSenderContact(const TMergeRow& row, TAdditionRect* item, int n, bool kanji, bool vertical)
{
    const std::optional<TContactText> contact = SenderContactText(row, n, kanji, vertical);
    if (contact)
        item->SetHeading(contact->Heading);
    item->SetText(contact ? contact->Text : QString());
}

} // namespace MergeText
