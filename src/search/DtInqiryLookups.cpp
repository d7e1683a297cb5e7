// The record card's look-ups.
#include "search/DtInqiryLookups.h"

#include "addressbook/DtInqiry.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "platform/TableEngine.h"
#include "search/ConAdrsDicClass.h"
#include "search/DicSch.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLabel>

bool StartsWithText(const QString& text, const QString& start)
{
    return !text.trimmed().isEmpty() && text.startsWith(start, Qt::CaseSensitive);
}

void ApplyDicResult(TCardValues& v, const TDicResultRec& r, int kind)
{
    // Postal and address answers carry no telephone, name or category: those items stay as they are.
    if (kind == 0 || kind == TDicSearch::rkDirectory) {
        const QString tel = ToWide(r.Tel).trimmed();
        if (r.PhoneKind != 1)
            v.Tel = tel;
        if (r.PhoneKind == 1 || r.PhoneKind == 2)
            v.Fax = tel;
        v.MainNumber = r.PhoneKind == 3;
        v.PubDate = FormatPubDate(ToWide(r.FirstListing).trimmed());
    }
    v.Pos = ToWide(r.PostalCode);
    const QString present = v.Tdfkn + v.Adrs1 + v.Adrs2 + v.Adrs3;
    const QString answer = ToWide(r.Prefecture + r.Address1 + r.Address2 + r.Address3);
    if (!StartsWithText(present, answer)) {
        v.Tdfkn = ToWide(r.Prefecture);
        v.Adrs1 = ToWide(r.Address1);
        v.Adrs2 = ToWide(r.Address2);
        v.Adrs3 = ToWide(r.Address3);
    }
    const QString kana = ToWide(r.AddressKana);
    if (!StartsWithText(v.AdrsKana, kana))
        v.AdrsKana = kana;
    v.JisCode = ToWide(r.JisCode);
    v.KajoCode = ToWide(r.BlockCode);
    v.Latitude = r.Latitude;
    v.Longitude = r.Longitude;
    if (kind == TDicSearch::rkDirectory) {
        v.Priv = r.IsPerson != 0;
        if (v.Priv) {
            v.NameKanji = ToWide(r.Name);
            v.NameKana = ToWide(r.NameKana);
        } else {
            v.CorpKanji = ToWide(r.Name);
            v.CorpKana = ToWide(r.NameKana);
        }
        v.CodeMain = r.CodeMain;
        v.CodeSub = r.CodeSub;
    }
}

void bbtnDicSchClick(TDataInquiry& card, int tag)
{
    QLineEdit* source = card.edtPos;
    QString text;
    if (tag == 0) {
        source = card.edtTel;
        for (QLineEdit* e : {card.edtTel, card.edtFax, card.edtPortable1, card.edtPortable2})
            if (!e->text().isEmpty()) {
                source = e;
                break;
            }
        text = source->text();
    } else if (tag == 1) {
        text = card.edtPos->text();
    } else {
        source = card.edtTdfkn;
        text = card.edtTdfkn->text() + card.edtAdrs1->text() + card.edtAdrs2->text() + card.edtAdrs3->text();
    }
    OpenDicSearch(card, tag, text, false);
    source->setCursorPosition(int(source->text().size()));
    source->setFocus();
}

void OpenDicSearch(TDataInquiry& card, int kind, const QString& text, bool keepAreaCode)
{
    try {
        TDicSearch dialog(&card);
        CenterForm(&dialog, &card);
        dialog.SetOwnerWindow(&card);
        dialog.SetListHelpContext(35);
        dialog.Configure(TDicSearch::dsTelWithDirectory | TDicSearch::dsPostal | TDicSearch::dsAddress, true,
                         keepAreaCode);
        Table& table = card.DataModule().AdrsTable();
        dialog.SetAddressBook(table.active() ? &table : nullptr);
        const int start = dialog.StartSearch(kind, text);
        if (start == 0) {
            if (dialog.exec() != QDialog::Accepted)
                return;
        } else if (start != 1) {
            return;
        }
        if (dialog.ResultKind == TDicSearch::rkAddressBook) {
            TCardAddressBook* book = card.AddressBook();
            const qint32 recNo = dialog.GetChosenRecNo();
            if (!book || recNo < 0)
                return;
            TAdrsDataRec rec;
            const int index = book->IndexOfRecNo(recNo);
            const bool read =
                index >= 0 ? book->ReadRecordAt(index, rec) : book->ReadAddressRecord(recNo, rec);
            if (read) {
                card.SetListSource(lsAddressList);
                card.ShowAddressRecord(rec);
            }
            return;
        }
        TCardValues values = card.FormValues();
        ApplyDicResult(values, dialog.GetResult(), dialog.ResultKind);
        card.SetFormValues(values);
        card.FormToRecord(MainSettings.OutOfTarget);
    } catch (const EDictionaryError& e) {
        MessageBoxPos(&card, e.Message(), ProductTitle, MsgSeam::MbIconStop);
    } catch (const std::exception& e) {
        MessageBoxPos(&card, QString::fromUtf8(e.what()), ProductTitle, MsgSeam::MbIconStop);
    }
}

void bbtnGetJisCodeClick(TDataInquiry& card)
{
    const QString address = card.edtTdfkn->text().trimmed() + card.edtAdrs1->text().trimmed() +
                            card.edtAdrs2->text().trimmed() + card.edtAdrs3->text().trimmed();
    if (address.isEmpty()) {
        card.edtJisCode->clear();
        card.lblKajoCode->clear();
        return;
    }
    try {
        TContinualAdrsSearch converter(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        if (converter.Search(ToAnsi(address)) == 0) {
            const TAdrsConvResultRec& r = converter.GetResult(false);
            card.edtJisCode->setText(ToWide(FieldText(r.JisCode)));
            card.lblKajoCode->setText(ToWide(FieldText(r.BlockCode)));
        }
    } catch (const EDictionaryError& e) {
        MessageBoxPos(&card, e.Message(), ProductTitle, MsgSeam::MbIconStop);
    }
}

void RegisterCardLookups()
{
    RegisterCardService(TCardService::TelLookup, [](TDataInquiry& card, int argument) {
        if (argument == 1)
            OpenDicSearch(card, 0, QString(), true);
        else
            bbtnDicSchClick(card, 0);
    });
    RegisterCardService(TCardService::PosLookup, [](TDataInquiry& card, int) { bbtnDicSchClick(card, 1); });
    RegisterCardService(TCardService::AdrsLookup, [](TDataInquiry& card, int) { bbtnDicSchClick(card, 2); });
    RegisterCardService(TCardService::JisCodeLookup,
                        [](TDataInquiry& card, int) { bbtnGetJisCodeClick(card); });
}
