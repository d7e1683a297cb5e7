// Sender row to sender-block item texts.
#include "designers/SenderMerge.h"

#include "designers/MergeText.h"

#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "core/FontSub.h"
#include "layoutobjects/DrawRect.h"
#include "layoutobjects/SenderRect.h"

using namespace LayoutSettingsField;
using namespace MergeText;

namespace {

void PersonName(const TMergeRow& row, bool together, TSenderItemTexts& out)
{
    const TNameParts own = Split(out.Name);
    out.Name.clear();
    if (row.Flag("NamePrint"))
        out.Name = own.Surname + own.Given;
    bool previousJoined = false;
    for (int k = 1; k <= 5; ++k) {
        if (!row.Flag(Numbered("JointPrint", k)) || row.Text(Numbered("Joint", k)).isEmpty())
            continue;
        const QString text =
            JointText(Split(DecodedName(row, Numbered("Joint", k))), own.Surname, !out.Name.isEmpty());
        const QString note = FullWidth(row.Text(Numbered("Note", k)));
        if (out.Name.isEmpty()) {
            out.Name = text;
            if (!together)
                out.Note = note;
        } else if (text.startsWith(u' ') && together && !previousJoined) {
            QString& line = out.Joints.empty() ? out.Name : out.Joints.back().Name;
            line += QStringLiteral("・") + text.trimmed();
            previousJoined = true;
        } else {
            out.Joints.push_back({text, together ? QString() : note});
            previousJoined = false;
        }
    }
}

// The simple set shows a company without a name by its most specific line.
void CompanyInNamePlace(TSenderItemTexts& out)
{
    out.IgnoreName = out.Name.isEmpty();
    if (!out.IgnoreName)
        return;
    for (QString* line : {&out.Title, &out.Department, &out.Company})
        if (!line->isEmpty()) {
            out.Name = *line;
            line->clear();
            return;
        }
}

void Contacts(const TMergeRow& row, const TLayoutSettings& settings, bool vertical, TSenderItemTexts& out)
{
    int given = 0;
    for (int k = 1; k <= 4 && given < 2; ++k)
        if (row.Flag(Numbered("AdditionPrint", k)))
            out.SimpleAdditionKinds[size_t(given++)] = quint8(18 + k);
    for (int k = 1; k <= 4; ++k)
        if (const std::optional<TContactText> contact =
                SenderContactText(row, k, settings.Byte(KanjiNumerals) != 0, vertical))
            out.Contacts[size_t(k - 1)] = {contact->Heading, contact->Text};
}

} // namespace

TSenderItemTexts SenderItemTexts(const TMergeRow& row, const TLayoutSettings& settings, bool simpleSet,
                                 qint32 paperDirection)
{
    TSenderItemTexts out;
    const bool vertical = paperDirection == 0;

    out.Postal = FullWidth(row.Text("Pos"));
    const qint32 mark = settings.Int(SenderPostalMark);
    if (mark == 1 || mark == 2) {
        if (out.Postal.size() > 3)
            out.Postal.insert(3, u'-');
        if (mark == 1)
            out.Postal.prepend(QStringLiteral("〒"));
    }

    out.AddressLines = {FullWidth(row.Text("Tdfkn") + row.Text("Adrs1")), FullWidth(row.Text("Adrs2")),
                        FullWidth(row.Text("Adrs3"))};
    for (QString& line : out.AddressLines) {
        if (settings.Byte(HidePrefecture))
            line = RemovePrefectureNames(line);
        if (settings.Byte(KanjiNumerals))
            line = DigitsToKanji(line);
        if (settings.Byte(HyphenToNo))
            line = ReplaceDashes(line, 1);
        if (vertical)
            line = ReplaceDashes(line, 0);
    }

    out.Name = DecodedName(row, "Name");
    out.NameKind = quint8(row.Number("SelectInfo"));
    if (out.NameKind == NameKindPerson) {
        PersonName(row, settings.Byte(JointNamesTogether) != 0, out);
        out.NameAlign = settings.Byte(SenderNameAlign);
    } else if (out.NameKind == NameKindCompany) {
        out.Company = FullWidth(row.Text("Corp"));
        out.Department = FullWidth(row.Text("Dptmnt"));
        out.Title = FullWidth(row.Text("Post"));
        if (simpleSet)
            CompanyInNamePlace(out);
    }

    const qint32 form = settings.Int(CompanyForm);
    const bool kanji = settings.Byte(KanjiNumerals) != 0;
    auto convert = [&](QString& text, bool nameLine) {
        if (form == 1)
            text = AbbreviateCompanyType(text, nameLine);
        else if (form == 2)
            text = ExpandCompanyType(text);
        if (kanji)
            text = DigitsToKanji(text);
        if (vertical)
            text = ReplaceDashes(text, 0);
    };
    convert(out.Name, true);
    for (TSenderJointLine& joint : out.Joints)
        convert(joint.Name, true);
    for (QString* line : {&out.Company, &out.Department, &out.Title})
        convert(*line, false);
    out.WidenSpacing = settings.Byte(WidenSpacing) != 0;
    out.CorpBreak = settings.Byte(CompanyBreak) != 0;

    Contacts(row, settings, vertical, out);
    return out;
}

void ApplySenderItemTexts(TSenderRect& block, const TSenderItemTexts& texts, bool additionsFromRow)
{
    block.ClearItems();
    const bool simple = block.SimpleLayout();
    block.GetPostal(simple)->SetText(texts.Postal);
    for (int i = 0; i < 3; ++i) {
        if (simple)
            block.GetSimpleAddress()->SetLine(i, texts.AddressLines[size_t(i)]);
        else
            block.GetAddressLine(i)->SetLine(0, texts.AddressLines[size_t(i)]);
    }
    TNameRect* name = block.GetName(simple);
    name->SetHonorific(QString());
    name->SetNameKind(texts.NameKind);
    name->SetIgnoreName(texts.IgnoreName);
    name->SetName(texts.Name);
    name->SetNote(texts.Note);
    name->SetJointCount(int(texts.Joints.size()));
    for (int i = 0; i < int(texts.Joints.size()); ++i) {
        name->SetJointName(i, texts.Joints[size_t(i)].Name);
        name->SetJointNote(i, texts.Joints[size_t(i)].Note);
    }
    if (texts.NameKind == NameKindPerson)
        name->SetNameAlign(texts.NameAlign);
    name->SetWidenSpacing(texts.WidenSpacing);
    if (simple) {
        name->SetCompany(texts.Company);
        name->SetCorpLine(0, texts.Department);
        name->SetTitle(texts.Title);
        name->SetCorpBreak(texts.CorpBreak);
    } else {
        const std::pair<TCorpRect*, const QString*> lines[] = {{block.GetCompany(), &texts.Company},
                                                                {block.GetCorpLine(0), &texts.Department},
                                                                {block.GetTitle(), &texts.Title}};
        for (const auto& [item, text] : lines) {
            item->SetText(*text);
            item->SetCorpBreak(texts.CorpBreak);
        }
    }

    std::vector<TAdditionRect*> items;
    if (simple) {
        for (int i = 0; i < 2; ++i) {
            const quint8 kind = texts.SimpleAdditionKinds[size_t(i)];
            if (additionsFromRow) {
                if (kind != 0)
                    block.GetSimpleAddition(i)->SetItemKind(kind);
                block.SetSimpleAdditionVisible(i, kind != 0);
            }
            items.push_back(block.GetSimpleAddition(i));
        }
    } else {
        for (int i = 0; i < 4; ++i)
            items.push_back(block.GetContact(i));
    }
    for (TAdditionRect* item : items) {
        const int k = item->ItemKind() - 18;
        if (k < 1 || k > 4)
            continue;
        const TSenderContactText& contact = texts.Contacts[size_t(k - 1)];
        if (!contact.Text.isEmpty())
            item->SetHeading(contact.Heading);
        item->SetText(contact.Text);
    }
}

const TMergeRow* ShowSenderData(TSenderRect& block, TSenderSource* senders, const TLayoutSettings& settings,
                                const TSenderMergePolicy& policy)
{
    block.ClearItems();
    const std::vector<qint32> recNos = senders ? senders->SenderRecNos() : std::vector<qint32>();
    if (recNos.empty())
        return nullptr;
    const TMergeRow* row = nullptr;
    if (policy.RecNo != 0) {
        row = senders->LocateSender(policy.RecNo);
    } else {
        for (qint32 recNo : recNos) {
            const TMergeRow* candidate = senders->LocateSender(recNo);
            if (candidate && candidate->Text("Title") == block.SenderTitle()) {
                row = candidate;
                break;
            }
        }
        if (!row) {
            row = senders->LocateSender(recNos.front());
            if (row)
                block.SetSenderTitle(row->Text("Title"));
        }
    }
    if (!row)
        return nullptr;
    ApplySenderItemTexts(block,
                         SenderItemTexts(*row, settings, block.SimpleLayout(), policy.VerticalDashes ? 0 : 1),
                         policy.AdditionsFromRow);
    return row;
}
