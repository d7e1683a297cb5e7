// The address and postal-code conversion: the record rule over scripted libraries, the conversion libraries
// and their wrappers over the built data, the protection of large-office codes, and runs of the dialog.
#include "maintenance/CnvAdPos.h"
#include "core/DBInfo.h"
#include "maintenance/DataFolderFixture.h"
#include "maintenance/Dladcvor.h"
#include "maintenance/Dlzpcvor.h"
#include "search/DicFixture.h"
#include "search/DicWrapper.h"
#include "search/PosDicClass.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <gtest/gtest.h>
#include <QProgressBar>

namespace {

AnsiString A(const char* utf8)
{
    return ToAnsi(QString::fromUtf8(utf8));
}

// Libraries that answer with fixed parts; a null prefecture makes CvtAdrs answer false.
TAdrsPosCalls scripted(const char* pref, const char* city, const char* rest, const char* postal,
                       std::function<bool(const AnsiString&)> keep = {})
{
    TAdrsPosCalls calls;
    calls.cvtAdrs = [=](const TCvtAdrsRequest&, TCvtAdrsResult& r) {
        if (!pref)
            return false;
        SetField(r.Address, A(pref) + A(city) + A(rest));
        SetField(r.Prefecture, A(pref));
        SetField(r.City, A(city));
        SetField(r.Rest, A(rest));
        return true;
    };
    calls.yAdrsTo = [=](const TYAdrsToRequest&, TYAdrsToResult& r) {
        if (!postal)
            return false;
        SetField(r.JisCode, "11107");
        SetField(r.PrefReading, A("ｻｲﾀﾏｹﾝ"));
        SetField(r.CityReading, A("ｻｲﾀﾏｼｳﾗﾜｸ"));
        SetField(r.RestReading, A("ｺﾏﾊﾞ"));
        SetField(r.PostalCode, postal);
        return true;
    };
    calls.keepPostalCode = std::move(keep);
    return calls;
}

TAdrsPosFields fields(const char* tdfkn, const char* adrs1, const char* adrs2, const char* adrs3,
                      const char* pos, const char* jis = "", const char* kana = "")
{
    return {A(tdfkn), A(adrs1), A(adrs2), A(adrs3), A(pos), A(jis), A(kana)};
}

TEST(CnvAdPos, RecordRule)
{
    // A merged municipality: today's parts, Adrs3 kept because the rest still ends with it.
    TAdrsPosFields r = fields("埼玉県", "浦和市", "駒場１－２", "コーポＡ", "3300000");
    EXPECT_TRUE(ConvertRecord(r, scripted("埼玉県", "さいたま市浦和区", "駒場１－２コーポＡ", "3300051")));
    EXPECT_EQ(r, fields("埼玉県", "さいたま市浦和区", "駒場１－２", "コーポＡ", "3300051", "11107",
                        "ｻｲﾀﾏｹﾝｻｲﾀﾏｼｳﾗﾜｸｺﾏﾊﾞ"));

    // A half-width, differently cased Adrs3 is found in the full-width rest and kept as written.
    r = fields("埼玉県", "浦和市", "駒場１－２", "Corp 2", "");
    ConvertRecord(r, scripted("埼玉県", "さいたま市浦和区", "駒場１－２ＣＯＲＰ　２", "3300051"));
    EXPECT_EQ(r.Adrs2, A("駒場１－２"));
    EXPECT_EQ(r.Adrs3, A("Corp 2"));

    // Not converted: only the postal code; JisCode and AdrsKana stay.
    r = fields("埼玉県", "浦和市", "駒場", "", "3300000", "99999", "ｶﾅ");
    EXPECT_TRUE(ConvertRecord(r, scripted(nullptr, "", "", "3300051")));
    EXPECT_EQ(r, fields("埼玉県", "浦和市", "駒場", "", "3300051", "99999", "ｶﾅ"));

    // Nothing differs: no change, whatever the libraries answered.
    r = fields("東京都", "千代田区", "千代田１", "", "1000001", "11107", "ｻｲﾀﾏｹﾝｻｲﾀﾏｼｳﾗﾜｸｺﾏﾊﾞ");
    EXPECT_FALSE(ConvertRecord(r, scripted("東京都", "千代田区", "千代田１", "1000001")));

    // An empty address asks nothing.
    bool asked = false;
    TAdrsPosCalls spy = scripted("東京都", "千代田区", "", "1000001");
    spy.yAdrsTo = [&](const TYAdrsToRequest&, TYAdrsToResult&) { return asked = true; };
    r = fields("", "", "", "", "1234567");
    EXPECT_FALSE(ConvertRecord(r, spy));
    EXPECT_FALSE(asked);

    // A protected code stays; the code is asked about as the record holds it.
    QList<AnsiString> askedAbout;
    r = fields("東京都", "千代田区", "霞が関１", "", "1008901");
    ConvertRecord(r, scripted(nullptr, "", "", "1000013", [&](const AnsiString& pos) {
                      askedAbout.append(pos);
                      return true;
                  }));
    EXPECT_EQ(r.Pos, A("1008901"));
    EXPECT_EQ(askedAbout, QList<AnsiString>{A("1008901")});
}

TEST(CnvAdPos, LongTextsAreCutOnCharacterBoundariesToTheirFields)
{
    // 206 bytes of address: 184 go to CvtAdrs, the last 22 ride behind the converted rest.
    const QString kanji(95, QChar(0x4E9C)); // 亜
    const QString other(75, QChar(0x4F0A)); // 伊
    TAdrsPosFields r{
        A("東京都"), A("千代田区"), ToAnsi(kanji.left(50)), ToAnsi(kanji.left(45)) + A("ａ"), {}, {}, {}};
    AnsiString sent;
    TAdrsPosCalls calls = scripted("東京都", "千代田区", "", "1000001");
    const auto cvt = calls.cvtAdrs;
    calls.cvtAdrs = [&](const TCvtAdrsRequest& q, TCvtAdrsResult& res) {
        sent = FieldText(q.Address);
        cvt(q, res);
        SetField(res.Rest, A("ｱ") + ToAnsi(other)); // 151 bytes, the field's limit
        return true;
    };
    ConvertRecord(r, calls);
    EXPECT_EQ(sent, A("東京都千代田区") + ToAnsi(kanji.left(85)));
    // The character across the 100th byte goes whole to Adrs3.
    EXPECT_EQ(r.Adrs2, A("ｱ") + ToAnsi(other.left(49)));
    EXPECT_EQ(r.Adrs3, ToAnsi(other.left(26)) + ToAnsi(kanji.left(10)) + A("ａ"));

    // A wide answer is cut to JisCode's 5 and AdrsKana's 100 bytes; a postal code wider than Pos is ignored.
    calls.yAdrsTo = [&](const TYAdrsToRequest&, TYAdrsToResult& res) {
        SetField(res.JisCode, "131010");
        SetField(res.PrefReading, AnsiString(9, 'x'));
        SetField(res.CityReading, AnsiString(24, 'y'));
        SetField(res.RestReading, ToAnsi(kanji.left(40)));
        std::memcpy(res.PostalCode, "100-0001", 8); // fills the field: no terminating zero
        return true;
    };
    r.Pos = "1000001";
    ConvertRecord(r, calls);
    EXPECT_EQ(r.JisCode, AnsiString("13101"));
    EXPECT_EQ(r.AdrsKana, AnsiString(9, 'x') + AnsiString(24, 'y') + ToAnsi(kanji.left(33)));
    EXPECT_EQ(r.Pos, AnsiString("1000001"));
}

class ConversionLibraries : public DicTest
{
protected:
    void SetUp() override
    {
        m_program = ProgramFolder;
        ProgramFolder = DicLibraryFolder;
        ASSERT_EQ(LoadDladcvor(), ConvLibOk);
        ASSERT_EQ(LoadDlzpcvor(), ConvLibOk);
    }
    void TearDown() override
    {
        FreeDladcvor();
        FreeDlzpcvor();
        ProgramFolder = m_program;
        DicTest::TearDown();
    }
    QString m_program;
};

TEST_F(ConversionLibraries, FormerMunicipalitiesBecomeTodaysAndGetTheirCodes)
{
    const struct
    {
        const char* address;
        const char* pref; // nullptr: no conversion
        const char* city;
        const char* rest;
        const char* postal;
    } cases[] = {
        {"埼玉県浦和市駒場１－２－３", "埼玉県", "さいたま市浦和区", "駒場１－２－３", "3300051"},
        {"埼玉県浦和市大道５", "埼玉県", "さいたま市緑区", "大道５", "3360905"}, // the ward of the town
        {"庵原郡由比町由比北田１２", "静岡県", "静岡市清水区", "由比北田１２", "4213104"},
        {"大阪府堺市深井沢町３２９０", "大阪府", "堺市中区", "深井沢町３２９０", "5998236"},
        {"東京都千代田区千代田１－１", "東京都", "千代田区", "千代田１－１", "1000001"}, // today's already
        {"府中市宮西町１", nullptr, "", "", nullptr}, // two prefectures have a 府中市
        {"どこにもない町", nullptr, "", "", nullptr},
    };
    for (const auto& c : cases) {
        TCvtAdrsRequest q{};
        SetField(q.Address, A(c.address));
        SetField(q.Folder, QFile::encodeName(ProgramFolder + QStringLiteral("AddConv/")));
        TCvtAdrsResult r;
        int rc = -1;
        ASSERT_EQ(CallCvtAdrs(q, r, rc), c.pref != nullptr) << c.address << " rc " << rc;
        if (!c.pref)
            continue;
        EXPECT_EQ(Text(r.Prefecture), QString::fromUtf8(c.pref)) << c.address;
        EXPECT_EQ(Text(r.City), QString::fromUtf8(c.city)) << c.address;
        EXPECT_EQ(Text(r.Rest), QString::fromUtf8(c.rest)) << c.address;
        EXPECT_EQ(Text(r.Address),
                  QString::fromUtf8(c.pref) + QString::fromUtf8(c.city) + QString::fromUtf8(c.rest));
        TYAdrsToRequest yq{};
        memcpy(yq.Address, r.Address, sizeof yq.Address);
        SetField(yq.Folder, FieldText(q.Folder));
        TYAdrsToResult y;
        ASSERT_TRUE(CallYAdrsTo(yq, y, rc)) << c.address;
        EXPECT_EQ(Text(y.PostalCode), QString::fromUtf8(c.postal)) << c.address;
    }
}

TEST_F(ConversionLibraries, WrapperCodesAndTheLibrariesBoundary)
{
    TYAdrsToRequest q{};
    SetField(q.Address, A("東京都千代田区千代田１"));
    SetField(q.Folder, "/nonexistent/");
    TYAdrsToResult r;
    int rc = 0;
    EXPECT_FALSE(CallYAdrsTo(q, r, rc));
    EXPECT_EQ(rc, AdrsConvNoData);
    SetField(q.Folder, QFile::encodeName(ProgramFolder + QStringLiteral("AddConv/")));
    ASSERT_TRUE(CallYAdrsTo(q, r, rc));
    EXPECT_EQ(Text(r.JisCode), QStringLiteral("13101"));
    EXPECT_EQ(Text(r.PrefReading) + Text(r.CityReading) + Text(r.RestReading),
              QStringLiteral("ﾄｳｷﾖｳﾄﾁﾖﾀﾞｸﾁﾖﾀﾞ"));

    // An unused entry point answers false.
    auto h = LibraryLoader::Load(ProgramFolder, QStringLiteral("Dlzpcvor.dll"));
    const auto other = reinterpret_cast<YOtherProc>(LibraryLoader::Symbol(h, "YJgZipToEx"));
    ASSERT_TRUE(other);
    EXPECT_EQ(other(&q, &r, &rc), 0);
    EXPECT_EQ(rc, AdrsConvNotSupported);
    LibraryLoader::Free(h);

    FreeDlzpcvor();
    EXPECT_FALSE(CallYAdrsTo(q, r, rc));
    EXPECT_EQ(rc, ConvLibNotLoaded);

    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    LibraryLoader::SetFailingLoad(QStringLiteral("Dladcvor.dll"));
    FreeDladcvor();
    EXPECT_EQ(LoadDladcvor(), ConvLibLoadError);
    LibraryLoader::SetFailingSymbol(QStringLiteral("Dlzpcvor.dll"), QStringLiteral("YJgNameTo"));
    EXPECT_EQ(LoadDlzpcvor(), ConvLibEntryPointError);
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.messages()[0].text, QStringLiteral("Dladcvor.dll\r\nDLLのロードに失敗しました"));
    EXPECT_EQ(messages.messages()[0].caption, QStringLiteral("Dladcvor.dll LoadLibrary Error"));
    EXPECT_EQ(messages.messages()[1].text, QStringLiteral("YJgNameTo\r\n関数の割り当てに失敗しました"));
    EXPECT_EQ(messages.messages()[1].caption, QStringLiteral("Dlzpcvor.dll GetProcAddress Error"));
    EXPECT_FALSE(CallCvtAdrs(TCvtAdrsRequest{}, *std::make_unique<TCvtAdrsResult>(), rc));
    EXPECT_EQ(rc, ConvLibNotLoaded);
}

TEST_F(ConversionLibraries, LargeOfficeCodesAreProtected)
{
    TPosSearch search(DicLibraryFolder, FixtureDicFolder);
    EXPECT_TRUE(KeepPostalCode(search, "1008901"));  // an office's own code
    EXPECT_FALSE(KeepPostalCode(search, "1000001")); // a town's
    EXPECT_FALSE(KeepPostalCode(search, "100890"));  // six characters
    EXPECT_FALSE(KeepPostalCode(search, "abcdefg")); // no code at all
    TPosSearch broken(DicLibraryFolder, TempFolder());
    WriteFileBytes(TempFolder() + QStringLiteral("Adrs.dic"), "TOVAREL ADRS 1\nP\t01\n");
    EXPECT_TRUE(KeepPostalCode(broken, "1008901")); // a failing dictionary keeps the code
}

class CnvAdPosTest : public DataFolderFixture
{
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        ProgramFolder = DicLibraryFolder;
        dm = std::make_unique<TDMQuenrid215>();
        dm->CreateAdrsTable(QStringLiteral("アドレス"));
        ASSERT_TRUE(dm->OpenAdrs());
    }

    void TearDown() override
    {
        LibraryLoader::ClearFailures();
        dm.reset();
        DataFolderFixture::TearDown();
    }

    void setAddress(Table& t, const TAdrsPosFields& f)
    {
        t.edit();
        const char* names[] = {"Tdfkn", "Adrs1", "Adrs2", "Adrs3", "Pos", "JisCode", "AdrsKana"};
        const AnsiString values[] = {f.Tdfkn, f.Adrs1, f.Adrs2, f.Adrs3, f.Pos, f.JisCode, f.AdrsKana};
        for (int i = 0; i < 7; ++i)
            t.fieldByName(QLatin1String(names[i])).setAnsi(values[i]);
        t.fieldByName(QStringLiteral("UpdDateTime")).setDateTime(stamp);
        t.post();
    }

    std::unique_ptr<TDMQuenrid215> dm;
    const QDateTime stamp{QDate(2020, 1, 1), QTime(0, 0)};
};

TEST_F(CnvAdPosTest, ConvertsTheBookAndCountsOnlyChangedRecords)
{
    Table& book = *dm->AdrsTable();
    book.first(); // 山田: a former municipality
    setAddress(book, fields("埼玉県", "浦和市", "駒場１－２－３", "", "3300000"));
    book.next(); // 佐藤: nothing of an address
    setAddress(book, fields("", "", "", "", "1234567"));
    book.append(); // a large office: its code stays, the rest is already today's
    book.post();
    book.last();
    setAddress(
        book, fields("東京都", "千代田区", "霞が関１－３－１", "", "1008901", "13101", "ﾄｳｷﾖｳﾄﾁﾖﾀﾞｸｶｽﾐｶﾞｾｷ"));

    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    TConvertAdrsPos dialog(nullptr, [] { return true; });
    EXPECT_EQ(RunModal(dialog, [&](QDialog&) { dialog.btnConvertClick(); }), QDialog::Accepted);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("住所・郵便番号変換が完了しました  \r\n\r\n  処理件数 = 3 件  "
                             "\r\n  変換件数 = 1 件  "));
    EXPECT_EQ(dialog.findChild<QProgressBar*>(QStringLiteral("pgbarConvert"))->value(), 3);
    EXPECT_TRUE(QFile::exists(DataFolder + QStringLiteral("backup.cap/Adrs/アドレス/Adrs.DB")));
    EXPECT_EQ(dm->OpenCount(TDMQuenrid215::tkAdrs), 1);

    book.refresh();
    book.first();
    EXPECT_EQ(book.fieldByName(QStringLiteral("Adrs1")).asString(), QStringLiteral("さいたま市浦和区"));
    EXPECT_EQ(book.fieldByName(QStringLiteral("Pos")).asString(), QStringLiteral("3300051"));
    EXPECT_EQ(book.fieldByName(QStringLiteral("JisCode")).asString(), QStringLiteral("11107"));
    EXPECT_NE(book.fieldByName(QStringLiteral("UpdDateTime")).asDateTime(), stamp);
    for (book.next(); !book.eof(); book.next())
        EXPECT_EQ(book.fieldByName(QStringLiteral("UpdDateTime")).asDateTime(), stamp);
    book.last();
    EXPECT_EQ(book.fieldByName(QStringLiteral("Pos")).asString(), QStringLiteral("1008901"));
}

TEST_F(CnvAdPosTest, AMissingLibraryOrSafetyCopyStopsWithNothingChanged)
{
    Table& book = *dm->AdrsTable();
    book.first();
    setAddress(book, fields("埼玉県", "浦和市", "駒場１", "", ""));
    for (const char* library : {"Dladcvor.dll", "Dlzpcvor.dll", "Dlzplst.dll", ""}) {
        LibraryLoader::ClearFailures();
        if (*library)
            LibraryLoader::SetFailingLoad(QLatin1String(library));
        else
            SetCopyFaultHook([](TCopyStep, const QString&) { return true; });
        MessageRecorder messages;
        messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
        TConvertAdrsPos dialog(nullptr, [] { return true; });
        dialog.btnConvertClick();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << library;
        EXPECT_EQ(messages.count(), 2) << library;
        EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconStop)) << library;
        if (*library)
            EXPECT_TRUE(messages.last().text.startsWith(QLatin1String(library))) << library;
        book.refresh();
        book.first();
        EXPECT_EQ(book.fieldByName(QStringLiteral("Adrs1")).asString(), QStringLiteral("浦和市")) << library;
    }
}

} // namespace
