// The address and postal-code conversion of the current book.
#include "maintenance/CnvAdPos.h"

#include "core/AdrsFolderList.h"
#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/FontSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "maintenance/Dladcvor.h"
#include "maintenance/Dlzpcvor.h"
#include "maintenance/TableTools.h"
#include "search/DicWrapper.h"
#include "search/PosDicClass.h"

#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace {

// Widths of the book's fields.
constexpr int TdfknWidth = 8, Adrs2Width = 100, Adrs3Width = 116, PosWidth = 7, JisCodeWidth = 5,
              AdrsKanaWidth = 100;

AnsiString cut(const AnsiString& text, int width)
{
    return Cp932::cutAtBoundary(text, width);
}

// Whether r ends with the characters of tail, letters compared without regard to case.
bool endsWith(const AnsiString& r, const AnsiString& tail)
{
    const qsizetype start = r.size() - tail.size();
    if (tail.isEmpty() || start < 0 || Cp932::charStart(r, int(start)) != start)
        return false;
    return ToWide(r.mid(start)).compare(ToWide(tail), Qt::CaseInsensitive) == 0;
}

// Adrs2 and Adrs3 from the converted rest: Adrs3 stays when it ends the rest and the part before it fits.
void splitRest(TAdrsPosFields& record, const AnsiString& r)
{
    if (!record.Adrs3.isEmpty()) {
        for (const AnsiString& tail : {record.Adrs3, ToFullWidth(record.Adrs3)})
            if (endsWith(r, tail) && r.size() - tail.size() <= Adrs2Width) {
                record.Adrs2 = r.left(r.size() - tail.size());
                return;
            }
    }
    record.Adrs2 = cut(r, Adrs2Width);
    record.Adrs3 = cut(r.mid(record.Adrs2.size()), Adrs3Width);
}

} // namespace

TAdrsPosCalls LibraryAdrsPosCalls(const std::function<bool(const AnsiString&)>& keepPostalCode)
{
    TAdrsPosCalls calls;
    calls.cvtAdrs = [](const TCvtAdrsRequest& q, TCvtAdrsResult& r) {
        int rc = 0;
        return CallCvtAdrs(q, r, rc);
    };
    calls.yAdrsTo = [](const TYAdrsToRequest& q, TYAdrsToResult& r) {
        int rc = 0;
        return CallYAdrsTo(q, r, rc);
    };
    calls.keepPostalCode = keepPostalCode;
    calls.folder = QFile::encodeName(ProgramFolder + QStringLiteral("AddConv/"));
    return calls;
}

bool ConvertRecord(TAdrsPosFields& record, const TAdrsPosCalls& calls)
{
    const TAdrsPosFields before = record;
    AnsiString a = record.Tdfkn + record.Adrs1 + record.Adrs2 + record.Adrs3;
    if (a.isEmpty())
        return false;
    a = ToFullWidth(a);
    AnsiString overflow;
    if (a.size() > CvtAdrsMaxAddress) {
        const AnsiString head = cut(a, CvtAdrsMaxAddress);
        overflow = a.mid(head.size());
        a = head;
    }

    TCvtAdrsRequest request{};
    SetField(request.Address, a);
    SetField(request.Folder, calls.folder);
    TCvtAdrsResult converted{};
    const bool cvtOk = calls.cvtAdrs && calls.cvtAdrs(request, converted);
    if (cvtOk) {
        record.Tdfkn = cut(FieldText(converted.Prefecture), TdfknWidth);
        record.Adrs1 = FieldText(converted.City);
        splitRest(record, FieldText(converted.Rest) + overflow);
        a = FieldText(converted.Address);
    }

    TYAdrsToRequest lookup{};
    SetField(lookup.Address, a);
    SetField(lookup.Folder, calls.folder);
    TYAdrsToResult found{};
    if (calls.yAdrsTo && calls.yAdrsTo(lookup, found)) {
        if (cvtOk) {
            record.JisCode = cut(FieldText(found.JisCode), JisCodeWidth);
            record.AdrsKana = cut(TrimAnsiText(FieldText(found.PrefReading) + FieldText(found.CityReading) +
                                               FieldText(found.RestReading)),
                                  AdrsKanaWidth);
        }
        const AnsiString p = FieldText(found.PostalCode);
        // A code too wide for the field is no postal code of ours.
        if (p != record.Pos && p.size() <= PosWidth &&
            !(calls.keepPostalCode && calls.keepPostalCode(record.Pos)))
            record.Pos = p;
    }
    return !(record == before);
}

bool KeepPostalCode(TPosSearch& search, const AnsiString& pos)
{
    if (ToWide(pos).size() != 7 || KeepNumberChars(pos, 1).size() != 7)
        return false;
    try {
        return search.Search(pos) == 0 && search.GetCity(0).OfficeCount != 0;
    } catch (const std::exception&) {
        return true; // unknown: the code is kept
    }
}

TConvertAdrsPos::TConvertAdrsPos(QWidget* owner, std::function<bool()> closeChildren)
    : TConvertToolDialog(
          owner, std::move(closeChildren), QStringLiteral("ConvertAdrsPos"),
          QStringLiteral("住所・郵便番号変換"), 144,
          {QStringLiteral("アドレス帳データの住所・郵便番号変換を行います"),
           QStringLiteral("1996年4月から2017年1月までの期間に、市区郡町村の合併・編入などにより"),
           QStringLiteral("変更された住所と郵便番号を一括変換します"),
           QStringLiteral("開かれている画面はすべて閉じて作業を行います"),
           QStringLiteral("変換対象データは 「backup.cap」 というフォルダー下にバックアップが作成されます")})
{
}

void TConvertAdrsPos::btnConvertClick()
{
    if (!ConfirmToolRun(
            this,
            QStringLiteral(
                "アドレス帳に登録してあるデータの住所・郵便番号変換を行います  \r\nよろしいですか？  "),
            m_closeChildren))
        return;
    bool done = false;
    {
        const TBusyCursor busy;
        // Both libraries and the postal-code dictionary first: a run without them would change addresses
        // without their codes, or overwrite codes it must keep. The loaders and the dictionary say why.
        struct Libraries
        {
            ~Libraries()
            {
                FreeDladcvor();
                FreeDlzpcvor();
            }
        } libraries;
        std::unique_ptr<TPosSearch> posSearch;
        if (LoadDladcvor() != ConvLibOk || LoadDlzpcvor() != ConvLibOk)
            return;
        try {
            posSearch = std::make_unique<TPosSearch>(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
        } catch (const EDictionaryError& e) {
            MessageBoxPos(this, e.Message(), ProductTitle, MsgSeam::MbIconStop);
            return;
        }
        const TAdrsPosCalls calls = LibraryAdrsPosCalls(
            [&posSearch](const AnsiString& pos) { return KeepPostalCode(*posSearch, pos); });
        done = MakeSafetyCopy(this, TBackupWork::ConvertAdrsPos, {CurrentAdrsIndex}, false) && Convert(calls);
    }
    if (!done)
        return;
    ShowConvertDone(QStringLiteral("住所・郵便番号変換"), m_counts.processed, m_counts.converted);
}

bool TConvertAdrsPos::Convert(const TAdrsPosCalls& calls)
{
    TDMQuenrid215* dm = DMQuenrid215;
    m_counts = {};
    if (!dm || !dm->OpenAdrs())
        return false;
    Table& book = *dm->AdrsTable();
    const QString index = book.indexName();
    bool ok = true;
    try {
        book.setIndexName(QString());
        m_counts.processed = book.recordCount();
        StartProgress(m_counts.processed);
        const QDateTime now = QDateTime::currentDateTime();
        m_counts.converted = ConvertInBatches(
            book, [&] { return ConvertBookRecord(book, calls, now); }, [this] { StepProgress(); });
    } catch (const TableError& e) {
        ShowToolError(this, QStringLiteral("住所・郵便番号変換ができませんでした"), e.message());
        ok = false;
    }
    try {
        book.setIndexName(index);
    } catch (const TableError&) {
        // the list reloads its order itself
    }
    dm->CloseAdrs();
    return ok;
}

bool ConvertBookRecord(Table& table, const TAdrsPosCalls& calls, const QDateTime& now)
{
    static const char* const names[] = {"Tdfkn", "Adrs1", "Adrs2", "Adrs3", "Pos", "JisCode", "AdrsKana"};
    TAdrsPosFields r;
    AnsiString* fields[] = {&r.Tdfkn, &r.Adrs1, &r.Adrs2, &r.Adrs3, &r.Pos, &r.JisCode, &r.AdrsKana};
    for (int i = 0; i < 7; ++i)
        *fields[i] = table.fieldByName(QLatin1String(names[i])).asAnsi();
    if (!ConvertRecord(r, calls))
        return false;
    table.edit();
    try {
        for (int i = 0; i < 7; ++i)
            table.fieldByName(QLatin1String(names[i])).setAnsi(*fields[i]);
        table.fieldByName(QStringLiteral("UpdDateTime")).setDateTime(now);
        table.post();
        return true;
    } catch (const FieldTooLongError&) {
    } catch (const KeyViolationError&) {
    }
    table.cancel(); // a record that cannot take its values keeps them and is not counted
    return false;
}
