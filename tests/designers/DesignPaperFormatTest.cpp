// The design papers: the shipped "Dsn.fmt", damaged tables, the lookup by record number and the paper
// dialog's list, direction, preselection, size text and preview.
#include "core/MainSettings.h"
#include "designers/NewDesignDialog.h"
#include "designers/PrintDataFile.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

TDesignPaperFormat Paper(quint8 kind, const QString& name, qint32 direction, qint32 width, qint32 height)
{
    TDesignPaperFormat f;
    f.SetKind(kind);
    f.SetName(ToAnsi(name));
    f.SetDirection(direction);
    f.SetWidth(width);
    f.SetHeight(height);
    return f;
}

// Two postcard runs and one plain-paper run, each upright and lying.
std::vector<TDesignPaperFormat> Table()
{
    return {Paper(0, QStringLiteral("はがき"), 0, 1000, 1480), Paper(0, QStringLiteral("はがき"), 1, 1480, 1000),
            Paper(0, QStringLiteral("往復"), 0, 2000, 1480),   Paper(0, QStringLiteral("往復"), 1, 1480, 2000),
            Paper(1, QStringLiteral("A4"), 0, 2100, 2970),     Paper(1, QStringLiteral("A4"), 1, 2970, 2100),
            Paper(1, QString(), 0, 100, 100)};
}

TEST(DesignPaperFormat, ShippedTableHoldsEachPaperUprightThenLying)
{
    const std::vector<TDesignPaperFormat> formats =
        LoadDesignFormats(QStringLiteral(TOVAREL_PROGRAM_DIR "Common/Dsn.fmt"));
    ASSERT_EQ(formats.size(), 10u);
    EXPECT_EQ(formats[0], Paper(0, QStringLiteral("はがき"), 0, 1000, 1480));
    for (size_t i = 0; i < formats.size(); i += 2) {
        EXPECT_EQ(formats[i].Name(), formats[i + 1].Name());
        EXPECT_EQ(formats[i].Kind(), formats[i + 1].Kind());
        EXPECT_EQ(std::tuple(formats[i].Direction(), formats[i + 1].Direction()), std::tuple(0, 1));
        EXPECT_EQ(formats[i].Width(), formats[i + 1].Height());
        EXPECT_EQ(formats[i].Height(), formats[i + 1].Width());
    }
    EXPECT_EQ(DesignFormatList(formats, DesignPlainPaper).size(), 4u);
}

TEST(DesignPaperFormat, DamagedTablesAndLookups)
{
    QTemporaryDir dir;
    const QByteArray good = EncodeDesignFormats(Table());
    EXPECT_EQ(good.size(), 36 + 7 * 92);
    std::vector<TDesignPaperFormat> formats;
    EXPECT_TRUE(DecodeDesignFormats(good, formats));
    EXPECT_EQ(formats, Table());

    QByteArray countPastTheEnd = good;
    qToLittleEndian<qint32>(1000, countPastTheEnd.data() + 24);
    QByteArray negative = good;
    qToLittleEndian<qint32>(-5, negative.data() + 24);
    const std::tuple<const char*, QByteArray, size_t, bool> cases[] = {
        {"empty", QByteArray(), 0, false},
        {"other signature", ComplementBytes("Pomrek Layout FormatFil") + good.mid(23), 0, false},
        {"header only", good.left(36), 0, true},
        {"short record", good.left(36 + 2 * 92 + 40), 2, true},
        {"count past the end", countPastTheEnd, 7, true},
        {"negative count", negative, 0, true},
    };
    for (const auto& [what, bytes, count, table] : cases) {
        EXPECT_EQ(DecodeDesignFormats(bytes, formats), table) << what;
        EXPECT_EQ(formats.size(), count) << what;
    }

    const QString path = dir.filePath("Dsn.fmt");
    WriteFileBytes(path, good);
    TDesignPaperFormat found;
    EXPECT_EQ(LookupDesignFormat(path, 3, found), DesignFormatLookup::Found);
    EXPECT_EQ(found, Table()[3]);
    EXPECT_EQ(LookupDesignFormat(path, 7, found), DesignFormatLookup::NoRecord);
    EXPECT_EQ(LookupDesignFormat(path, -1, found), DesignFormatLookup::NoRecord);
    EXPECT_EQ(LookupDesignFormat(dir.filePath("none"), 0, found), DesignFormatLookup::NotATable);
    EXPECT_EQ(found, Table()[3]);
}

class NewDesignDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath("Dsn.fmt");
        WriteFileBytes(m_path, EncodeDesignFormats(Table()));
    }
    template <class T> T* Child(QWidget& dialog, const char* name)
    {
        T* child = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QTemporaryDir m_dir;
    QString m_path;
};

TEST_F(NewDesignDialogTest, KindNameAndDirectionChooseTheRecord)
{
    TNewDesignDialog dialog(nullptr, m_path);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("用紙の設定"));
    dialog.SetFormat(0);
    auto* list = Child<QListWidget>(dialog, "lbFormat");
    auto* horz = Child<QRadioButton>(dialog, "rbHorz");
    auto* kind = Child<QComboBox>(dialog, "cbxKind");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("往復"));
    list->setCurrentRow(1);
    EXPECT_EQ(dialog.FormatIndex(), 2);
    horz->setChecked(true);
    EXPECT_EQ(dialog.FormatIndex(), 3);
    TDesignPaperFormat chosen;
    ASSERT_TRUE(dialog.GetFormat(chosen));
    EXPECT_EQ(chosen, Table()[3]);
    EXPECT_EQ(Child<QLabel>(dialog, "lblSize")->text(), QStringLiteral("148.0 x 200.0 mm"));

    // Another kind: its first paper, the direction kept; the record with an empty name is not listed.
    kind->setCurrentIndex(1);
    emit kind->activated(1);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(horz->isChecked());
    EXPECT_EQ(dialog.FormatIndex(), 5);
    EXPECT_TRUE(Child<QPushButton>(dialog, "btnOK")->isEnabled());
}

TEST_F(NewDesignDialogTest, PreselectionAndPreview)
{
    TNewDesignDialog dialog(nullptr, m_path);
    dialog.SetChangeMode(true);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("用紙の変更"));
    dialog.SetFormat(1);
    EXPECT_EQ(dialog.FormatIndex(), 1);
    EXPECT_TRUE(Child<QRadioButton>(dialog, "rbHorz")->isChecked());
    EXPECT_EQ(Child<QListWidget>(dialog, "lbFormat")->currentItem()->text(), QStringLiteral("はがき"));

    dialog.SetFormat(0);
    EXPECT_EQ(Child<QLabel>(dialog, "lblSize")->text(), QStringLiteral("100.0 x 148.0 mm"));
    // 378 x 559 pixels in a 197 x 243 area: as tall as 80 % allows (194 / 559), centred.
    const QRect card = Child<QFrame>(dialog, "pnlCard")->geometry();
    EXPECT_EQ(card.size(), QSize(131, 194));
    EXPECT_EQ(card.topLeft(), QPoint(33, 24));
}

TEST_F(NewDesignDialogTest, EmptyOrForeignTableDisablesOk)
{
    WriteFileBytes(m_path, ComplementBytes("Pomrek Layout FormatFile") + QByteArray(12, '\0'));
    for (const QString& path : {m_path, m_dir.filePath("missing.fmt")}) {
        TNewDesignDialog dialog(nullptr, path);
        dialog.SetFormat(0);
        EXPECT_EQ(Child<QListWidget>(dialog, "lbFormat")->count(), 0);
        EXPECT_FALSE(Child<QPushButton>(dialog, "btnOK")->isEnabled());
        TDesignPaperFormat f;
        EXPECT_FALSE(dialog.GetFormat(f));
    }
}

} // namespace
