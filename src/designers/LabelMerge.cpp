// Merging into label and card frames: the additional items by kind, the sender in the recipient frames, and
// cards without honorifics.
#include "designers/LabelDocument.h"
#include "designers/LayoutDocument.h"
#include "designers/MergeText.h"

#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "core/FontSub.h"

#include <QDate>

using namespace LayoutSettingsField;
using namespace MergeText;

namespace {

// Item kinds of the additional items that the record merge fills.
enum : quint8 {
    ItemReversedTel = 1,
    ItemDate = 2,
    ItemTel = 3,
    ItemFax = 4,
    ItemPortable1 = 5,
    ItemPortable2 = 6,
    ItemUrl = 7,
    ItemMail1 = 9,
    ItemMail2 = 10,
    ItemKeyword1 = 11,
    ItemKeyword8 = 18,
};

QString Digits(const TMergeRow& row, const char* field)
{
    return FullWidth(HyphenatePhoneText(KeepNumberChars(row.Text(QLatin1String(field)), KeepDigits)));
}

} // namespace

void TLayoutDocument::labelRecordMerged(const TMergeRow& row)
{
    if (IsCardMode()) {
        TNameRect* name = DetailedSet ? m_d.Name : m_s.Name;
        name->SetHonorific(QString());
        for (int i = 0; i < name->GetJointCount(); ++i)
            name->SetJointHonorific(i, QString());
        if (DetailedSet)
            for (TCorpRect* line : m_d.Corp)
                line->SetHonorific(QString());
    }
    labelAdditions(row, false);
}

void TLayoutDocument::labelAdditions(const TMergeRow& row, bool sender)
{
    const bool kanji = Settings.Byte(KanjiNumerals) != 0;
    const bool vertical = !horizontalWriting();
    for (TAdditionRect* item : m_additions[DetailedSet]) {
        const quint8 kind = item->ItemKind();
        if (kind == AdditionFixedText)
            continue;
        if (sender && kind >= AdditionSenderContact1 && kind < AdditionSenderContact1 + 4) {
            MergeSenderContact(row, item, kind - AdditionSenderContact1 + 1, kanji, vertical);
            continue;
        }
        QString heading, text;
        bool phone = false;
        if (kind == ItemReversedTel) {
            text = ToWide(ReverseMbcsText(row.Text(QStringLiteral("Tel"))));
        } else if (kind == ItemDate) {
            text = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
        } else if (sender) {
            continue; // a sender row has nothing else for these kinds
        } else if (kind == ItemTel) {
            heading = QStringLiteral("ＴＥＬ");
            text = FullWidth(HyphenatePhoneText(row.Text(QStringLiteral("Tel"))));
            phone = true;
        } else if (kind == ItemFax) {
            heading = QStringLiteral("ＦＡＸ");
            text = Digits(row, "Fax");
            phone = true;
        } else if (kind == ItemPortable1 || kind == ItemPortable2) {
            heading = QStringLiteral("携帯");
            text = Digits(row, kind == ItemPortable1 ? "Portable1" : "Portable2");
            phone = true;
        } else if (kind == ItemUrl) {
            heading = QStringLiteral("URL");
            text = ToWide(row.Text(QStringLiteral("URL")));
        } else if (kind == ItemMail1 || kind == ItemMail2) {
            heading = QStringLiteral("E-Mail");
            text = ToWide(row.Text(kind == ItemMail1 ? QStringLiteral("EMail1") : QStringLiteral("EMail2")));
        } else if (kind >= ItemKeyword1 && kind <= ItemKeyword8) {
            text = ToWide(row.Text(Numbered("Keyword", kind - ItemKeyword1 + 1)));
        } else {
            continue; // the sender contacts and unknown kinds
        }
        if (phone) {
            if (kanji)
                text = DigitsToKanji(text);
            if (vertical)
                text = ReplaceDashes(text, 0);
        }
        item->SetHeading(heading);
        item->SetText(text);
    }
}

void TLayoutDocument::labelShowSenderData()
{
    const TMergeRow* row = senderAsRecipient(
        IsCardMode() ? QString() : Settings.Honorific(SenderHonorific),
        [this](const TMergeRow& row, TNameRect* frame, const TNameParts& own) {
            MergeSenderJoints(row, frame, own.Surname, Settings.Byte(JointNamesTogether) != 0);
            if (frame->GetJointCount() > 0)
                frame->SetHonorific(QString());
        });
    if (!row)
        return;
    labelAdditions(*row, true);
    makeBarcode(*row);
}
