// Text editing dialog: the stored pane flag and size, the example library as shown, append and rewrite,
// the work-area rule of the pane, the direction, and what a malformed library does.
#include "layoutobjects/WordEdit.h"

#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "platform/IniFile.h"
#include "support/AnsiText.h"
#include "support/MessageRecorder.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class WordEdit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_program = ProgramFolder;
        m_root = DataRootFolder;
        ProgramFolder = m_dir.path() + QStringLiteral("/program/");
        DataRootFolder = m_dir.path() + QStringLiteral("/root/");
        QDir().mkpath(ProgramFolder + QStringLiteral("Common/Text"));
        QDir().mkpath(DataRootFolder);
    }
    void TearDown() override
    {
        ProgramFolder = m_program;
        DataRootFolder = m_root;
    }

    static void write(const QString& relative, const char* utf8)
    {
        QFile file(ProgramFolder + QStringLiteral("Common/") + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(A(utf8));
    }
    static void writeSettings(const QList<std::pair<QString, int>>& values)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        for (const auto& [key, value] : values)
            ini.WriteInteger(QStringLiteral("WORDEDIT"), key, value);
        ASSERT_TRUE(ini.UpdateFile());
    }
    // A library of two classes, the first with the examples A/B/C and D.
    static void writeLibrary()
    {
        write(QStringLiteral("Text/Index.rbf"), "挨拶,Text\\one.rbf\r\nお礼,Text/two.rbf\r\n");
        write(QStringLiteral("Text/one.rbf"), "2\r\n3\r\nA\r\nB\r\nC\r\n1\r\nD\r\n");
        write(QStringLiteral("Text/two.rbf"), "1\r\n1\r\nありがとう\r\n");
    }
    template <class W> static W* child(QWidget& dialog, const char* name)
    {
        W* w = dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static QStringList rows(QWidget& dialog, const char* name)
    {
        QStringList out;
        auto* list = child<QListWidget>(dialog, name);
        for (int i = 0; i < list->count(); ++i)
            out.append(list->item(i)->text());
        return out;
    }

    QTemporaryDir m_dir;
    QString m_program;
    QString m_root;
};

TEST_F(WordEdit, StoredPaneFlagAndSize)
{
    const struct
    {
        QList<std::pair<QString, int>> stored;
        bool shown;
        int width; // 96-dpi units; 0 = as the form is made
        int height;
    } cases[] = {
        {{}, false, 0, 0},
        {{{"Example", 2}}, false, 0, 0},
        {{{"Example", 1}}, true, 0, 0},
        {{{"Example", 1}, {"Width", 300}, {"Height", 200}}, true, 500, 451},
        {{{"Example", 0}, {"Width", 700}, {"Height", 250}}, false, 700, 250},
        {{{"Example", 0}, {"Width", 700}}, false, 0, 0},
        {{{"Example", 0}, {"Height", 300}}, false, 0, 0},
    };
    MessageRecorder messages;
    messages.allowUnexpected();
    for (const auto& c : cases) {
        QFile::remove(DataRootFolder + MainSettingsFileName);
        writeSettings(c.stored);
        TWordEditDialog dialog;
        SCOPED_TRACE(c.width);
        EXPECT_EQ(dialog.ExamplesShown(), c.shown);
        EXPECT_EQ(child<QPushButton>(dialog, "bbtnExample")->text(),
                  c.shown ? QStringLiteral("文例を隠す(&E)") : QStringLiteral("文例を表示(&E)"));
        if (c.width != 0)
            EXPECT_EQ(dialog.size(), QSize(ScaleByDpi(c.width, 1), ScaleByDpi(c.height, 1)));
        else
            EXPECT_EQ(dialog.width(), ScaleByDpi(560, 1));
    }
    // Closing stores the flag and the size in 96-dpi units.
    {
        writeSettings({{"Example", 0}, {"Width", 640}, {"Height", 260}});
        TWordEditDialog dialog;
        dialog.reject();
    }
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(ini.ReadInteger("WORDEDIT", "Width", 0), 640);
    EXPECT_EQ(ini.ReadInteger("WORDEDIT", "Height", 0), 260);
    EXPECT_EQ(ini.ReadInteger("WORDEDIT", "Example", -1), 0);
}

TEST_F(WordEdit, LibraryRowsAndAppendRules)
{
    writeLibrary();
    writeSettings({{"Example", 1}});
    TWordEditDialog dialog;
    dialog.show();
    EXPECT_EQ(rows(dialog, "lbClass"), (QStringList{"1: 挨拶", "2: お礼"}));
    EXPECT_EQ(rows(dialog, "lbIndex"), (QStringList{"1: A", "2: D"}));
    auto* memExample = child<QPlainTextEdit>(dialog, "memExample");
    EXPECT_EQ(memExample->toPlainText(), "A\nB\nC");

    auto* memWords = child<QPlainTextEdit>(dialog, "memWords");
    auto* append = child<QPushButton>(dialog, "bbtnAppend");
    const struct
    {
        const char* text;
        const char* result;
    } appends[] = {
        {"abc\n\n", "abc\nA\nB\nC"}, {"", "A\nB\nC"}, {" \n\t", "A\nB\nC"}, {"  x  ", "x\nA\nB\nC"}};
    for (const auto& c : appends) {
        SCOPED_TRACE(c.text);
        memWords->setPlainText(QString::fromUtf8(c.text));
        append->click();
        EXPECT_EQ(memWords->toPlainText(), QString::fromUtf8(c.result));
    }
    EXPECT_EQ(dialog.GetLines(), (QStringList{"x", "A", "B", "C"}));
    child<QListWidget>(dialog, "lbIndex")->setCurrentRow(1);
    child<QPushButton>(dialog, "bbtnRewrite")->click();
    EXPECT_EQ(memWords->toPlainText(), "D");

    child<QListWidget>(dialog, "lbClass")->setCurrentRow(1);
    EXPECT_EQ(rows(dialog, "lbIndex"), QStringList{"1: ありがとう"});
    EXPECT_EQ(memExample->toPlainText(), "ありがとう");
}

TEST_F(WordEdit, MissingAndMalformedLibrary)
{
    const struct
    {
        const char* index; // null: no index file
        const char* first; // the first class's file, null: none
        QString message;
        int classes;
        int examples;
    } cases[] = {
        {nullptr, nullptr, QStringLiteral("例分ファイルが見つかりません"), 0, 0},
        {"A,Text/one.rbf\r\nB\r\nC,Text/one.rbf\r\n", "1\r\n1\r\nX\r\n",
         QStringLiteral("例文データがありません"), 1, 1},
        {"A,Text/one.rbf\r\n", "abc\r\n", QStringLiteral("例文データがありません"), 1, 0},
        {"A,Text/one.rbf\r\n", "3\r\n1\r\nX\r\n", QStringLiteral("例文データがありません"), 1, 1},
        {"A,Text/one.rbf\r\n", nullptr, QStringLiteral("例文データがありません"), 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString() + std::to_string(c.classes));
        QDir(ProgramFolder + QStringLiteral("Common/Text")).removeRecursively();
        QDir().mkpath(ProgramFolder + QStringLiteral("Common/Text"));
        if (c.index)
            write(QStringLiteral("Text/Index.rbf"), c.index);
        if (c.first)
            write(QStringLiteral("Text/one.rbf"), c.first);
        MessageRecorder messages;
        messages.answer(MsgSeam::IdOk);
        TWordEditDialog dialog;
        dialog.show();
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().text, c.message);
        EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconStop));
        EXPECT_EQ(child<QListWidget>(dialog, "lbClass")->count(), c.classes);
        EXPECT_EQ(child<QListWidget>(dialog, "lbIndex")->count(), c.examples);
        // The text stays editable.
        dialog.SetLines({"abc"});
        EXPECT_EQ(dialog.GetLines(), QStringList{"abc"});
    }
}

TEST_F(WordEdit, PaneStaysInsideTheWorkArea)
{
    writeSettings({{"Example", 0}});
    writeLibrary();
    TWordEditDialog dialog;
    const QRect work(0, 0, 1000, 520);
    dialog.WorkArea = [work] { return work; };
    dialog.show();
    dialog.move(10, 200);
    const int hidden = dialog.height();
    auto* toggle = child<QPushButton>(dialog, "bbtnExample");
    toggle->click();
    EXPECT_TRUE(dialog.ExamplesShown());
    EXPECT_EQ(dialog.height(), work.height());
    EXPECT_EQ(dialog.frameGeometry().bottom(), work.bottom());
    EXPECT_TRUE(child<QWidget>(dialog, "pnlExample")->isVisible());
    toggle->click();
    EXPECT_FALSE(child<QWidget>(dialog, "pnlExample")->isVisible());
    EXPECT_FALSE(child<QPushButton>(dialog, "bbtnAppend")->isVisible());
    EXPECT_LE(dialog.height(), work.height() - ScaleByDpi(272, 1) + 1);
    EXPECT_GE(dialog.height(), hidden);
}

TEST_F(WordEdit, DirectionAndFont)
{
    MessageRecorder messages;
    messages.allowUnexpected();
    TWordEditDialog dialog;
    auto* vertical = child<QRadioButton>(dialog, "rbVertical");
    auto* horizontal = child<QRadioButton>(dialog, "rbHorizontal");
    dialog.SetDirection(1);
    EXPECT_EQ(dialog.GetDirection(), 1);
    EXPECT_EQ(horizontal->palette().color(QPalette::WindowText), QColor(Qt::blue));
    dialog.SetDirection(2);
    EXPECT_TRUE(horizontal->isChecked());
    EXPECT_FALSE(vertical->isChecked());
    dialog.SetDirection(0);
    EXPECT_EQ(dialog.GetDirection(), 0);
    EXPECT_NE(horizontal->palette().color(QPalette::WindowText), QColor(Qt::blue));

    TFontSpec font;
    font.name = QStringLiteral("@ＭＳ 明朝");
    font.size = 30;
    font.escapement = 2700;
    dialog.SetEditFont(font);
    const QFont shown = child<QPlainTextEdit>(dialog, "memWords")->font();
    EXPECT_FALSE(shown.family().startsWith(QLatin1Char('@')));
    EXPECT_EQ(shown.pointSize(), 11);
}

} // namespace
