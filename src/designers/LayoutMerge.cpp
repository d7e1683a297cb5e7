// Merging address-book and sender records into the fixed frames of the address-side document.
#include "designers/LayoutDocument.h"
#include "designers/MergeText.h"

#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "core/FontSub.h"
#include "core/MainSettings.h"

using namespace LayoutSettingsField;

using namespace MergeText;

void TLayoutDocument::clearRecipientFrames()
{
    if (DetailedSet) {
        for (TMetaRect* f :
             std::initializer_list<TMetaRect*>{m_d.Postal, m_d.Name, m_d.Corp[0], m_d.Corp[1], m_d.Corp[2],
                                               m_d.Address[0], m_d.Address[1], m_d.Address[2]})
            f->Clear();
        if (m_d.Barcode)
            m_d.Barcode->ClearImage();
    } else {
        for (TMetaRect* f : std::initializer_list<TMetaRect*>{m_s.Postal, m_s.Address, m_s.Name})
            f->Clear();
        if (m_s.Barcode)
            m_s.Barcode->ClearImage();
    }
    for (TAdditionRect* item : m_additions[DetailedSet])
        if (item)
            item->Clear();
}

void TLayoutDocument::setPostal(TPosRect* frame, const AnsiString& postal, int mark) const
{
    QString text = FullWidth(postal);
    if (!text.isEmpty() && (mark == 1 || mark == 2)) {
        if (text.size() > 3)
            text.insert(3, u'-');
        if (mark == 1)
            text.prepend(QStringLiteral("〒"));
    }
    frame->SetText(text);
}

void TLayoutDocument::setAddress(bool sender, const TMergeRow& row) const
{
    QStringList lines = {FullWidth(row.Text("Tdfkn") + row.Text("Adrs1")), FullWidth(row.Text("Adrs2")),
                         FullWidth(row.Text("Adrs3"))};
    for (QString& line : lines) {
        if (Settings.Byte(HidePrefecture))
            line = RemovePrefectureNames(line);
        if (Settings.Byte(KanjiNumerals))
            line = DigitsToKanji(line);
        if (Settings.Byte(HyphenToNo))
            line = ReplaceDashes(line, 1);
        if (!horizontalWriting())
            line = ReplaceDashes(line, 0);
    }
    if (DetailedSet) {
        const auto& frames = sender ? m_d.SenderAddress : m_d.Address;
        for (int i = 0; i < 3; ++i)
            frames[size_t(i)]->SetLine(0, lines[i]);
    } else {
        TAddressRect* frame = sender ? m_s.SenderAddress : m_s.Address;
        for (int i = 0; i < 3; ++i)
            frame->SetLine(i, lines[i]);
    }
}

void TLayoutDocument::closingConversions(bool sender) const
{
    const qint32 form = Settings.Int(CompanyForm);
    const bool kanji = Settings.Byte(KanjiNumerals) != 0;
    const bool vertical = !horizontalWriting();
    auto convert = [&](const QString& text, bool nameLine) {
        QString t = text;
        if (form == 1)
            t = AbbreviateCompanyType(t, nameLine);
        else if (form == 2)
            t = ExpandCompanyType(t);
        if (kanji)
            t = DigitsToKanji(t);
        if (vertical)
            t = ReplaceDashes(t, 0);
        return t;
    };
    TNameRect* name =
        DetailedSet ? (sender ? m_d.SenderName : m_d.Name) : (sender ? m_s.SenderName : m_s.Name);
    name->SetName(convert(name->Name(), true));
    for (int i = 0; i < name->GetJointCount(); ++i)
        name->SetJointName(i, convert(name->GetJointName(i), true));
    const bool corpBreak = Settings.Byte(CompanyBreak) != 0;
    if (DetailedSet) {
        for (TCorpRect* corp : sender ? m_d.SenderCorp : m_d.Corp) {
            corp->SetText(convert(corp->Text(), false));
            corp->SetCorpBreak(corpBreak);
        }
    } else {
        name->SetCompany(convert(name->Company(), false));
        name->SetCorpLine(0, convert(name->GetCorpLine(0), false));
        name->SetCorpLine(2, convert(name->GetCorpLine(2), false));
        name->SetCorpBreak(corpBreak);
    }
    name->SetWidenSpacing(Settings.Byte(WidenSpacing) != 0);
}

void TLayoutDocument::makeBarcode(const TMergeRow& row) const
{
    TBarcodeRect* barcode = DetailedSet ? m_d.Barcode : m_s.Barcode;
    if (!barcode || !barcode->Visible())
        return;
    const AnsiString address = row.Text("Tdfkn") + row.Text("Adrs1") + row.Text("Adrs2") + row.Text("Adrs3");
    if (!address.isEmpty())
        barcode->MakeBarcode(row.Text("Pos"), address, ProgramFolder, ProgramFolder + QStringLiteral("Dic/"),
                             DataRootFolder);
}

bool TLayoutDocument::ShowRecordData(qint32 recNo)
{
    clearRecipientFrames();
    TAddressListSource* list = Context.AddressList;
    if (SenderDisplayMode == 2 || !list || list->GetRecordCount() <= 0)
        return true;
    if (recNo == -1)
        recNo = list->GetFirstSelectedRecNo();
    if (recNo == -1)
        return true;
    // A record that cannot be located stays empty: never another person's address.
    const TMergeRow* found = list->LocateRecord(recNo);
    if (!found)
        return false;
    const TMergeRow& row = *found;

    setPostal(DetailedSet ? m_d.Postal : m_s.Postal, row.Text("Pos"), Settings.Int(RecipientPostalMark));
    setAddress(false, row);

    TNameRect* frame = DetailedSet ? m_d.Name : m_s.Name;
    const QString name = DecodedName(row, "NameKanji");
    QString honorific = FullWidth(row.Text("Honor"));
    const QString defaultHonorific = Settings.Honorific(DefaultHonorific);
    if (!name.isEmpty() && honorific.isEmpty())
        honorific = defaultHonorific;
    const bool person = row.Flag("PrivCorp");
    frame->SetNameKind(person ? NameKindPerson : NameKindCompany);
    frame->SetIgnoreName(false);

    if (person) {
        TNameParts own = Split(name);
        QString surname = own.Surname, given = own.Given;
        const int owner = int(row.Number("JointOwner"));
        const bool printOwn = row.Flag("JointPrint");
        if (owner >= 1 && owner <= 5) {
            const QString joint = DecodedName(row, Numbered("Joint", owner));
            if (!joint.isEmpty()) {
                const TNameParts j = Split(joint);
                if (!IsBlank(j.Surname) && j.Surname != surname) {
                    frame->SetName(j.Surname + j.Given);
                    given = surname + given;
                    surname = j.Surname;
                } else {
                    frame->SetName(surname + j.Given);
                }
                const QString jointHonorific = ToWide(row.Text(Numbered("JointHonor", owner)));
                frame->SetHonorific(jointHonorific.isEmpty() ? defaultHonorific : jointHonorific);
                if (printOwn)
                    AppendJoint(frame, given, honorific);
            } else if (printOwn) {
                frame->SetName(surname + given);
                frame->SetHonorific(honorific);
            }
        } else if (printOwn) {
            frame->SetName(surname + given);
            frame->SetHonorific(honorific);
        }
        for (int i = 1; i <= 5; ++i) {
            if (i == owner || !row.Flag(Numbered("JointPrint", i)))
                continue;
            const QString joint = DecodedName(row, Numbered("Joint", i));
            if (joint.isEmpty())
                continue;
            const bool haveName = !frame->Name().isEmpty();
            const QString text = JointText(Split(joint), surname, haveName);
            QString jointHonorific = FullWidth(row.Text(Numbered("JointHonor", i)));
            if (jointHonorific.isEmpty())
                jointHonorific = defaultHonorific;
            if (haveName)
                AppendJoint(frame, text, jointHonorific);
            else {
                frame->SetName(text);
                frame->SetHonorific(jointHonorific);
            }
        }
        frame->SetNameAlign(Settings.Byte(NameAlign));
    } else {
        frame->SetName(name);
        frame->SetHonorific(honorific);
        frame->SetIgnoreName(row.Flag("IgnoreName"));
        const QString corp = FullWidth(row.Text("CorpKanji")), department = FullWidth(row.Text("Dptmnt")),
                      title = FullWidth(row.Text("Post"));
        if (DetailedSet) {
            m_d.Corp[0]->SetText(corp);
            m_d.Corp[1]->SetText(department);
            m_d.Corp[2]->SetText(title);
            if (frame->IgnoreName())
                frame->SetName(QString());
            if (frame->Name().isEmpty() || !frame->Visible()) {
                frame->SetHonorific(QString());
                const std::pair<TCorpRect*, int> lines[] = {{m_d.Corp[2], TitleHonorific},
                                                            {m_d.Corp[1], CompanyHonorific},
                                                            {m_d.Corp[0], CompanyHonorific}};
                for (const auto& [line, honorificAt] : lines)
                    if (!line->Text().isEmpty() && line->Visible()) {
                        line->SetHonorific(Settings.Honorific(honorificAt));
                        break;
                    }
            }
        } else {
            if (name.isEmpty())
                frame->SetIgnoreName(true);
            const int shown = simpleCorpLines(frame, corp, department, title);
            if (frame->IgnoreName())
                frame->SetHonorific(shown == 2   ? Settings.Honorific(TitleHonorific)
                                    : shown >= 0 ? Settings.Honorific(CompanyHonorific)
                                                 : QString());
        }
    }
    closingConversions(false);
    makeBarcode(row);
    if (LabelMode)
        labelRecordMerged(row);
    SenderRecNo = qint32(row.Number("Sender"));
    return true;
}

void TLayoutDocument::senderCompany(const TMergeRow& row, TNameRect* frame, bool sender, bool emptyHonorific)
{
    const QString corp = FullWidth(row.Text("Corp")), department = FullWidth(row.Text("Dptmnt")),
                  title = FullWidth(row.Text("Post"));
    if (DetailedSet) {
        const auto& lines = sender ? m_d.SenderCorp : m_d.Corp;
        lines[0]->SetText(corp);
        lines[1]->SetText(department);
        lines[2]->SetText(title);
        return;
    }
    frame->SetIgnoreName(frame->Name().isEmpty());
    if (simpleCorpLines(frame, corp, department, title) < 0 && frame->IgnoreName() && emptyHonorific)
        frame->SetHonorific(QString());
}

int TLayoutDocument::simpleCorpLines(TNameRect* frame, const QString& corp, const QString& department,
                                     const QString& title)
{
    frame->SetCompany(corp);
    frame->SetCorpLine(0, department);
    frame->SetCorpLine(2, title);
    if (!frame->IgnoreName())
        return -1;
    if (!title.isEmpty()) {
        frame->SetName(title);
        frame->SetCorpLine(2, QString());
        return 2;
    }
    if (!department.isEmpty()) {
        frame->SetName(department);
        frame->SetCorpLine(0, QString());
        return 1;
    }
    if (!corp.isEmpty()) {
        frame->SetName(corp);
        frame->SetCompany(QString());
        return 0;
    }
    frame->SetName(QString());
    return -1;
}

void TLayoutDocument::ShowSenderData()
{
    if (LabelMode)
        return labelShowSenderData();
    if (DetailedSet) {
        for (TMetaRect* f : std::initializer_list<TMetaRect*>{
                 m_d.SenderPostal, m_d.SenderName, m_d.SenderCorp[0], m_d.SenderCorp[1], m_d.SenderCorp[2],
                 m_d.SenderAddress[0], m_d.SenderAddress[1], m_d.SenderAddress[2]})
            f->Clear();
        for (TAdditionRect* f : m_d.Contacts)
            f->Clear();
    } else {
        for (TMetaRect* f : std::initializer_list<TMetaRect*>{
                 m_s.SenderPostal, m_s.SenderName, m_s.SenderAddress, m_s.Contacts[0], m_s.Contacts[1]})
            f->Clear();
    }
    TSenderSource* senders = Context.Senders;
    if (!senders)
        return;
    const std::vector<qint32> recNos = senders->SenderRecNos();
    if (recNos.empty())
        return;
    const TMergeRow* row = senders->LocateSender(SenderRecNo);
    if (SenderDisplayMode == 2) {
        if (!row) {
            SenderRecNo = recNos.front();
            row = senders->LocateSender(SenderRecNo);
        }
    } else {
        if (!Context.AddressList || Context.AddressList->GetRecordCount() <= 0)
            return;
        if (!row) {
            row = senders->LocateSender(senders->DefaultSenderNo());
            if (!row) {
                senders->SetDefaultSenderNo(recNos.front());
                row = senders->LocateSender(recNos.front());
            }
            SenderRecNo = senders->DefaultSenderNo();
        }
    }
    if (!row)
        return;

    setPostal(DetailedSet ? m_d.SenderPostal : m_s.SenderPostal, row->Text("Pos"),
              Settings.Int(SenderPostalMark));
    setAddress(true, *row);
    TNameRect* frame = DetailedSet ? m_d.SenderName : m_s.SenderName;
    const QString name = DecodedName(*row, "Name");
    frame->SetHonorific(QString());
    const quint8 kind = quint8(row->Number("SelectInfo"));
    frame->SetNameKind(kind);
    frame->SetIgnoreName(false);
    const bool together = Settings.Byte(JointNamesTogether) != 0;
    if (kind == NameKindPerson) {
        const TNameParts own = Split(name);
        if (row->Flag("NamePrint"))
            frame->SetName(own.Surname + own.Given);
        MergeSenderJoints(*row, frame, own.Surname, together);
        frame->SetNameAlign(Settings.Byte(SenderNameAlign));
    } else {
        frame->SetName(name);
        if (kind == NameKindCompany)
            senderCompany(*row, frame, true, false);
    }
    closingConversions(true);

    if (!DetailedSet) {
        std::vector<quint8> kinds;
        for (int i = 1; i <= 4 && kinds.size() < 2; ++i)
            if (row->Flag(Numbered("AdditionPrint", i)))
                kinds.push_back(quint8(18 + i));
        bool changed = false;
        for (size_t i = 0; i < 2; ++i) {
            TAdditionRect* contact = m_s.Contacts[i];
            contact->SetItemKind(i < kinds.size() ? kinds[i] : 0);
            contact->SetVisible(i < kinds.size());
            if (SenderDisplayMode == 1)
                continue;
            const int placed = StackingIndex(contact);
            if (contact->Visible() && placed < 0) {
                Stacking.push_back(contact);
                contact->SetZoom(Zoom);
                changed = true;
            } else if (!contact->Visible() && placed >= 0) {
                RemoveFromStacking(contact);
                const auto selected = std::find(Selection.begin(), Selection.end(), contact);
                if (selected != Selection.end()) {
                    const int index = int(selected - Selection.begin());
                    Selection.erase(selected);
                    if (index < FocusIndex || (index == FocusIndex && FocusIndex >= int(Selection.size())))
                        --FocusIndex;
                }
                changed = true;
            }
        }
        if (changed)
            Undo.Clear();
    }

    std::vector<TAdditionRect*> contacts(m_s.Contacts.begin(), m_s.Contacts.end());
    if (DetailedSet)
        contacts.assign(m_d.Contacts.begin(), m_d.Contacts.end());
    for (TAdditionRect* contact : contacts) {
        const int n = contact->ItemKind() - 18;
        if (n < 1 || n > 4)
            continue;
        MergeSenderContact(*row, contact, n, Settings.Byte(KanjiNumerals) != 0, Paper.Direction == 0);
    }
}

const TMergeRow* TLayoutDocument::locateSenderRow()
{
    TSenderSource* senders = Context.Senders;
    const std::vector<qint32> recNos = senders ? senders->SenderRecNos() : std::vector<qint32>();
    if (recNos.empty())
        return nullptr;
    const TMergeRow* row = senders->LocateSender(SenderRecNo);
    if (!row) {
        SenderRecNo = recNos.front();
        row = senders->LocateSender(SenderRecNo);
    }
    return row;
}

const TMergeRow* TLayoutDocument::senderAsRecipient(const QString& honorific, const TJointNames& joints)
{
    clearRecipientFrames();
    const TMergeRow* row = locateSenderRow();
    if (!row)
        return nullptr;
    setPostal(DetailedSet ? m_d.Postal : m_s.Postal, row->Text("Pos"), Settings.Int(RecipientPostalMark));
    setAddress(false, *row);
    TNameRect* frame = DetailedSet ? m_d.Name : m_s.Name;
    const QString name = DecodedName(*row, "Name");
    frame->SetHonorific(honorific);
    const quint8 kind = quint8(row->Number("SelectInfo"));
    frame->SetNameKind(kind);
    frame->SetIgnoreName(false);
    if (kind == NameKindPerson) {
        const TNameParts own = Split(name);
        if (row->Flag("NamePrint"))
            frame->SetName(own.Surname + own.Given);
        joints(*row, frame, own);
        frame->SetNameAlign(Settings.Byte(NameAlign));
    } else {
        frame->SetName(name);
        if (kind == NameKindCompany)
            senderCompany(*row, frame, false, true);
    }
    closingConversions(false);
    return row;
}

void TLayoutDocument::FillSimpleFrames()
{
    // A name left empty takes the first printed joint name.
    auto joints = [](const TMergeRow& row, TNameRect* frame, const TNameParts& own) {
        for (int i = 1; i <= 5 && frame->Name().isEmpty(); ++i) {
            if (!row.Flag(Numbered("JointPrint", i)) || row.Text(Numbered("Joint", i)).isEmpty())
                continue;
            const TNameParts joint = Split(DecodedName(row, Numbered("Joint", i)));
            frame->SetName(!IsBlank(joint.Surname) && joint.Surname != own.Surname
                               ? joint.Surname + joint.Given
                               : own.Surname + joint.Given);
        }
    };
    const TMergeRow* row = senderAsRecipient(Settings.Honorific(SenderHonorific), joints);
    if (row)
        makeBarcode(*row);
}

bool TLayoutDocument::RefreshData()
{
    if (LabelMode)
        return DataSource != 1 || ShowRecordData(-1);
    if (Paper.Count1 < 5 || SenderDisplayMode == 2)
        return true;
    const bool located = ShowRecordData(-1);
    ShowSenderData();
    return located;
}
