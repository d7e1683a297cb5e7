// layoutrender: a postcard scene becomes one PDF page with its text in embedded IPA faces; scene errors name
// what is wrong and exit non-zero.
#include "layoutobjects/ImageFiles.h"
#include "layoutobjects/PaperFormat.h"
#include "support/TestFiles.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

ToolRun run(const QString& program, const QStringList& args)
{
    return RunTool(program, args);
}

class LayoutRender : public ::testing::Test
{
protected:
    ToolRun render(const QByteArray& scene)
    {
        WriteFileBytes(m_dir.filePath("scene.json"), scene);
        return run(QStringLiteral(TOVAREL_PROGRAM_DIR "layoutrender"),
                   {m_dir.filePath("scene.json"), m_dir.filePath("out.pdf")});
    }
    QTemporaryDir m_dir;
};

const char PostcardScene[] = R"({"paper":[1000,1480], "dpi":600, "frames":[
  {"class":"TPosRect", "rect":[166,45,363,84], "calls":[["SetText","1000013"]]},
  {"class":"TAddressRect", "rect":[270,100,360,440],
   "calls":[["SetLine",0,"東京都千代田区霞が関一丁目２番３号"],["SetLine",1,"見本ビルディング二十階"]]}
]})";

TEST_F(LayoutRender, PostcardSceneBecomesOnePdfPage)
{
    const ToolRun r = render(PostcardScene);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString pdf = m_dir.filePath("out.pdf");
    const ToolRun fonts = run("pdffonts", {pdf});
    ASSERT_EQ(fonts.exitCode, 0);
    EXPECT_TRUE(fonts.out.contains("IPAMincho")) << fonts.out.toStdString();
    // Every face is embedded: the fifth column from the end says so.
    const QStringList fontLines = QString::fromUtf8(fonts.out).split(u'\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_FALSE(fontLines.isEmpty());
    for (const QString& line : fontLines) {
        const QStringList columns = line.split(u' ', Qt::SkipEmptyParts);
        ASSERT_GE(columns.size(), 7);
        EXPECT_EQ(columns[columns.size() - 5], "yes") << line.toStdString();
    }
    const ToolRun info = run("pdfinfo", {pdf});
    EXPECT_TRUE(QString::fromUtf8(info.out).contains(QRegularExpression("Pages:\\s+1\n")));
    EXPECT_TRUE(info.out.contains("284 x 419 pts")) << info.out.toStdString(); // 100 x 148 mm
    const ToolRun text = run("pdftotext", {pdf, "-"});
    const QString extracted = QString::fromUtf8(text.out).remove(QRegularExpression("\\s"));
    for (const char* part : {"1", "0", "3", "東", "霞", "階"})
        EXPECT_TRUE(extracted.contains(QString::fromUtf8(part))) << part;
}

// Names, a company block, a framed free text and a sender block.
const char AddressSideScene[] = R"({"paper":[1000,1480], "dpi":300, "frames":[
  {"class":"TNameRect", "rect":[150,40,290,320], "calls":[["SetNameKind",1],["SetName","山田 太郎"],["SetHonorific","様"],
     ["SetJointCount",2],["SetJointName",0,"花子"],["SetJointHonorific",0,"様"],["SetJointName",1,"一"],["SetJointHonorific",1,"くん"]]},
  {"class":"TNameRect", "rect":[20,80,140,200], "calls":[["SetHorizontal",true],["SetNameKind",2],["SetName","佐藤 一郎"],["SetHonorific","様"],
     ["SetCompany","株式会社見本商事"],["SetCorpLine",0,"東日本営業本部"],["SetTitle","営業第一部担当部長"],["SetCorpBreak",true]]},
  {"class":"TWordRect", "rect":[20,220,140,320], "calls":[["SetHorizontal",true],["SetLineCount",3],["SetLine",0,"謹賀新年"],["SetLine",1,"本年もよろしく"],["SetLine",2,"お願い申し上げます"],
     ["SetAlignment",4],["SetLineSpacing",2],["SetFrameVisible",true],["SetDoubleLine",true],["SetRoundCorner",true],["SetWidthIndex",1]]},
  {"class":"TSenderRect", "rect":[20,340,250,540], "calls":[["SetSimpleLayout",false],["SetPostal","1000013"],["SetAddressLine",0,"東京都千代田区霞が関１－２－３"],
     ["SetAddressLine",1,"見本ビル２０階"],["SetName","鈴木 花子"],["SetCompany","株式会社見本"],["SetCorpLine",0,"総務部"],["SetTitle","課長"],
     ["SetContact",0,"TEL","03-1234-5678"],["SetContact",1,"FAX","03-1234-5679"],["SetContact",2,"","hanako@example.jp"],["SetContactVisible",3,false],["SetFrameVisible",true]]}
]})";

TEST_F(LayoutRender, AddressSideFrames)
{
    const ToolRun r = render(AddressSideScene);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const ToolRun text = run("pdftotext", {m_dir.filePath("out.pdf"), "-"});
    const QString extracted = QString::fromUtf8(text.out).remove(QRegularExpression("\\s"));
    for (const char* part : {"株式会社見本商事", "営業第一部担当部長", "謹賀新年", "お願い申し上げます",
                             "03-1234-5678", "総", "様", "花", "鈴"})
        EXPECT_TRUE(extracted.contains(QString::fromUtf8(part))) << part;
}

// A red JPEG through the heart cut-out, beside a blue ellipse over a white page, read back at 96 dpi.
TEST_F(LayoutRender, PicturesThroughCutOutsAndFigures)
{
    QImage red(60, 40, QImage::Format_RGB888);
    red.fill(Qt::red);
    const QString jpeg = m_dir.filePath("red.jpg");
    WriteFileBytes(jpeg, EncodeJpeg(red));
    const QString scene = QStringLiteral(R"({"paper":[800,400], "dpi":300, "frames":[
  {"class":"TIllustRect", "rect":[10,10,110,110], "calls":[["SetGraphic","%1"],["Flip",1],["SetFrameIndex",3]]},
  {"class":"TFigureRect", "rect":[150,10,250,110], "calls":[["SetFigureKind",3],["SetFillVisible",true],["SetFillColor",16711680]]}
]})")
                              .arg(jpeg);
    const ToolRun r = render(scene.toUtf8());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_EQ(run("pdftoppm",
                  {"-r", "96", "-png", "-singlefile", m_dir.filePath("out.pdf"), m_dir.filePath("page")})
                  .exitCode,
              0);
    const QImage page(m_dir.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    const auto near = [](QColor c, QColor want) {
        return qAbs(c.red() - want.red()) < 40 && qAbs(c.green() - want.green()) < 40 &&
               qAbs(c.blue() - want.blue()) < 40;
    };
    EXPECT_TRUE(near(page.pixelColor(60, 60), Qt::red));
    EXPECT_TRUE(near(page.pixelColor(60, 13), Qt::white)); // above the dip between the lobes
    EXPECT_TRUE(near(page.pixelColor(12, 100), Qt::white));
    EXPECT_TRUE(near(page.pixelColor(200, 60), Qt::blue));
    EXPECT_TRUE(near(page.pixelColor(153, 13), Qt::white));

    const ToolRun gif = render(QStringLiteral(R"({"paper":[800,400], "frames":[
  {"class":"TIllustRect", "rect":[0,0,10,10], "calls":[["SetGraphic","%1"]]}]})")
                                   .arg(m_dir.filePath("scene.gif"))
                                   .toUtf8());
    EXPECT_NE(gif.exitCode, 0);
    EXPECT_TRUE(gif.err.contains("no BMP or JPEG")) << gif.err.toStdString();
}

TEST_F(LayoutRender, SceneErrorsNameWhatIsWrong)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"({"paper":[1000,1480],"frames":[{"class":"TNoSuchRect","rect":[0,0,1,1]}]})", "TNoSuchRect"},
        {R"({"paper":[1000,1480],"frames":[{"class":"TPosRect","rect":[0,0,1,1],"calls":[["SetColour",1]]}]})",
         "SetColour"},
        {R"({"paper":[1000,1480],"frames":[{"class":"TPosRect","rect":[0,0,1,1],"calls":[["SetText",7]]}]})",
         "TPosRect.SetText: argument 1"},
        {R"({"paper":[1000,1480],"frames":[{"class":"TAddressRect","rect":[0,0,1,1],"calls":[["SetLine",3,"x"]]}]})",
         "TAddressRect.SetLine: argument 1"},
        {R"({"paper":[1000,1480],"frames":[{"class":"TPosRect","rect":[0,0,1]}]})", "rect"},
        {R"({"paper":[0,1480]})", "paper width"},
        {R"({"paper":[1000,1480],"dpi":"high"})", "dpi"},
        {R"([1,2])", "JSON object"},
        {"{", "not JSON"},
    };
    for (const auto& [scene, named] : cases) {
        const ToolRun r = render(scene);
        EXPECT_NE(r.exitCode, 0) << scene;
        EXPECT_TRUE(r.err.contains(named)) << scene << " -> " << r.err.toStdString();
    }
    const ToolRun usage = run(QStringLiteral(TOVAREL_PROGRAM_DIR "layoutrender"), {"only-one"});
    EXPECT_NE(usage.exitCode, 0);
}

// Address-side layouts: a new postcard saved, reopened and saved again; three records printed, one a page.
class LayoutRenderDocument : public ::testing::Test
{
protected:
    ToolRun render(const QStringList& args)
    {
        return RunTool(QStringLiteral(TOVAREL_PROGRAM_DIR "layoutrender"), args, m_dir.path());
    }
    void load(const char* table, const char* csv)
    {
        const ToolRun r =
            RunTool(QStringLiteral(TOVAREL_PROGRAM_DIR "tablestore"),
                    {"load", table, QStringLiteral(TOVAREL_TEST_DATA_DIR "designers/") + csv}, m_dir.path());
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    QTemporaryDir m_dir;
};

TEST_F(LayoutRenderDocument, NewLayoutResavesIdenticallyBarThePreview)
{
    ToolRun r = render({"--new", "0", "--save", "new.gpl"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = render({"--layout", "new.gpl", "--save", "again.gpl"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray first = ReadFileBytes(m_dir.filePath("new.gpl"));
    const QByteArray second = ReadFileBytes(m_dir.filePath("again.gpl"));
    ASSERT_GT(first.size(), 54);
    const qint32 previewLength = qFromLittleEndian<qint32>(first.constData() + 50);
    EXPECT_EQ(first.left(50), second.left(50));
    EXPECT_EQ(first.mid(54 + previewLength),
              second.mid(54 + qFromLittleEndian<qint32>(second.constData() + 50)));
    EXPECT_TRUE(first.mid(54, 2) == QByteArray("\xFF\xD8")); // a JPEG
}

TEST_F(LayoutRenderDocument, OnePagePerRecord)
{
    load("Adrs.DB", "Adrs.csv");
    load("Sender.DB", "Sender.csv");
    WriteFileBytes(m_dir.filePath("Sender.ini"), "[SENDER]\r\nDefault=1\r\n");
    const ToolRun r =
        render({"--new", "1", "--adrs", "Adrs.DB", "--sender", "Sender.DB", "--pdf", "out.pdf"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("3 page(s)"));
    const ToolRun info = RunTool("pdfinfo", {m_dir.filePath("out.pdf")});
    EXPECT_TRUE(QString::fromUtf8(info.out).contains(QRegularExpression("Pages:\\s+3\n")));
    const ToolRun text = RunTool("pdftotext", {m_dir.filePath("out.pdf"), "-"});
    const QString extracted = QString::fromUtf8(text.out).remove(QRegularExpression("\\s"));
    for (const char* part : {"見本太郎様", "花子様", "株式会社見本商事", "部長様", "試験一郎殿", "差出",
                             "次郎", "渋谷区", "０３－"})
        EXPECT_TRUE(extracted.contains(QString::fromUtf8(part))) << part << " in " << extracted.toStdString();
}

TEST_F(LayoutRenderDocument, PrintChoicesOfTheWizard)
{
    load("Adrs.DB", "Adrs.csv");
    // Start face 4 of the postcard sheet of 2 × 2, three prints each: 1 + 4 + 4 faces.
    ToolRun r = render({"--new", "4", "--adrs", "Adrs.DB", "--barcode", "11", "--pdf", "sheet.pdf", "--start", "4",
                        "--prints", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("3 page(s), 9 piece(s)")) << r.out.toStdString();
    const ToolRun info = RunTool("pdfinfo", {m_dir.filePath("sheet.pdf")});
    EXPECT_TRUE(QString::fromUtf8(info.out).contains(QStringLiteral("(A4)")));

    // An envelope turned for reverse printing prints differently from the upright one.
    QString texts[2];
    for (int turned = 0; turned < 2; ++turned) {
        QStringList args = {"--new", "6", "--adrs", "Adrs.DB", "--pdf", "env.pdf", "--flap", "150"};
        if (turned)
            args << "--reverse";
        r = render(args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        texts[turned] = QString::fromUtf8(RunTool("pdftotext", {"-layout", m_dir.filePath("env.pdf"), "-"}).out);
    }
    EXPECT_NE(texts[0], texts[1]);

    // Labels on the shipped 12-up sheet (papers 18 upright, 19 turned) from its last face, two each: 1 piece,
    // then 5 on the next sheet; the turned sheet lies on a landscape page.
    for (const char* paper : {"18", "19"}) {
        r = render({"--new", paper, "--adrs", "Adrs.DB", "--pdf", "labels.pdf", "--start", "12", "--prints", "2"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains("2 page(s), 6 piece(s)")) << r.out.toStdString();
        const QString size = QString::fromUtf8(RunTool("pdfinfo", {m_dir.filePath("labels.pdf")}).out);
        EXPECT_TRUE(size.contains(paper == QLatin1String("18") ? "595 x 842" : "842 x 595")) << paper;
    }
}

// The first shipped paper of a kind, upright.
QString FirstPaper(int kind)
{
    TStandardFormats formats;
    LoadLayoutFormats(QStringLiteral(TOVAREL_PROGRAM_DIR "Common/Lyt.fmt"), formats);
    for (size_t i = 0; i < formats.Formats.size(); ++i)
        if (formats.Formats[i].Kind == kind && formats.Formats[i].Direction == 0)
            return QString::number(i);
    return QStringLiteral("none");
}

TEST_F(LayoutRenderDocument, LabelsAndCardsMatchTheGoldenFilesAndRoundTrip)
{
    load("Adrs.DB", "Adrs.csv");
    load("Sender.DB", "Sender.csv");
    WriteFileBytes(m_dir.filePath("Sender.ini"), "[SENDER]\r\nDefault=1\r\n");
    struct Case
    {
        int kind;
        const char* file;
        const char* again;
        const char* golden;
        int signature;
        const char* pages;
    };
    // A label sheet shows the address book (one piece per record), a card its sender, printed once.
    const Case cases[] = {{PaperLabel, "new.gpa", "again.gpa", "new-label.gpa", 17, "1 page(s), 3 piece(s)"},
                          {PaperCard, "new.gpc", "again.gpc", "new-card.gpc", 16, "1 page(s), 1 piece(s)"}};
    for (const Case& c : cases) {
        ToolRun r = render({"--new", FirstPaper(c.kind), "--save", c.file});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        r = render({"--layout", c.file, "--save", c.again, "--adrs", "Adrs.DB", "--sender", "Sender.DB",
                    "--pdf", "out.pdf", "--png", "out.png"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(c.pages)) << r.out.toStdString();
        EXPECT_FALSE(QImage(m_dir.filePath("out.png")).isNull());
        // Signature, version and header as in the golden file; a JPEG preview; the same settings and frames.
        const QByteArray golden =
            ReadFileBytes(QStringLiteral(TOVAREL_TEST_DATA_DIR "designers/") + c.golden);
        for (const char* name : {c.file, c.again}) {
            const QByteArray bytes = ReadFileBytes(m_dir.filePath(name));
            const int at = c.signature + 4 + 28;
            ASSERT_GT(bytes.size(), at + 4) << name;
            const qint32 preview = qFromLittleEndian<qint32>(bytes.constData() + at);
            EXPECT_EQ(bytes.left(at), golden.left(at)) << name;
            EXPECT_TRUE(bytes.mid(at + 4, 2) == QByteArray("\xFF\xD8")) << name;
            EXPECT_EQ(bytes.mid(at + 4 + preview), golden.mid(at + 4)) << name;
        }
    }
    // Each mode refuses the other's files.
    QFile::copy(m_dir.filePath("new.gpa"), m_dir.filePath("wrong.gpc"));
    const ToolRun wrong = render({"--layout", "wrong.gpc"});
    EXPECT_NE(wrong.exitCode, 0);
    EXPECT_TRUE(
        QString::fromUtf8(wrong.err).contains(QStringLiteral("このファイルは有効な形式ではありません")));
}

TEST_F(LayoutRenderDocument, RefusesWhatItCannotUse)
{
    WriteFileBytes(m_dir.filePath("bad.gpl"), "not a layout");
    const std::pair<QStringList, const char*> cases[] = {
        {{"--layout", "bad.gpl"}, "このファイルは有効な形式ではありません"},
        {{"--new", "9999"}, "no paper of index 9999"},
        {{"--new", "x"}, "paper index"},
        {{"--new", "0", "--layout", "bad.gpl"}, "exactly one"},
        {{"--new", "0", "--adrs", "missing.DB"}, "cannot read"},
        {{"--new", "0", "--pdf", "out.pdf", "--prints", "0"}, "--prints takes a number"},
        {{"--new", "0", "--pdf", "out.pdf", "--offset", "3"}, "--offset takes X,Y"},
        {{"--new", "0", "--pdf", "out.pdf", "--reverse"}, "for envelopes"},
        {{"--new", "0", "--barcode", "12"}, "--barcode takes a size"},
    };
    for (const auto& [args, named] : cases) {
        const ToolRun r = render(args);
        EXPECT_NE(r.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(QString::fromUtf8(named)))
            << args.join(' ').toStdString() << " -> " << r.err.toStdString();
    }
}

} // namespace
