// The help driver: pages of help contexts, the viewer's arguments, a missing document and F1.
#include "core/PDFHelp.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

namespace {

struct Launch
{
    QString program;
    QStringList arguments;
};

class PDFHelpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_document = m_dir.path() + "/Quenrid215.pdf";
        QFile f(m_document);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4\n");
        f.close();
        m_help.SetViewer({"/usr/bin/viewer", {"-p", "%p", "%f"}, {"--dest=%d", "%f"}});
        m_help.SetLauncher([this](const QString& program, const QStringList& arguments) {
            m_launches.append({program, arguments});
            return m_launchWorks;
        });
        m_help.SetDocument(m_document);
        m_help.SetTitle("Tovarel 操作ガイド");
        m_help.SetPageOffset(3);
        m_help.SetPageOffsetEnabled(true);
    }

    QTemporaryDir m_dir;
    QString m_document;
    TPDFHelp m_help;
    QList<Launch> m_launches;
    bool m_launchWorks = true;
};

TEST_F(PDFHelpTest, ContextsOpenTheirShiftedPage)
{
    struct Case
    {
        int page;
        const char* expected; // the viewer's page, counted from 1
    } cases[] = {{5, "9"}, {0, "1"}, {1, "5"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        m_launches.clear();
        m_help.ShowPage(c.page);
        ASSERT_EQ(m_launches.size(), 1);
        EXPECT_EQ(m_launches[0].program, QStringLiteral("/usr/bin/viewer"));
        EXPECT_EQ(m_launches[0].arguments, QStringList({"-p", c.expected, m_document}));
        EXPECT_EQ(m_help.LastError(), 0);
    }
    m_launches.clear();
    m_help.OpenDocumentAt(std::nullopt, "chapter2");
    ASSERT_EQ(m_launches.size(), 1);
    EXPECT_EQ(m_launches[0].arguments, QStringList({"--dest=chapter2", m_document}));
}

TEST_F(PDFHelpTest, MissingDocumentIsToldAndViewerFailureRecorded)
{
    MessageRecorder rec;
    rec.answer(MsgSeam::IdOk);
    QFile::remove(m_document);
    m_help.ShowPage(5);
    EXPECT_EQ(m_help.LastError(), 201);
    ASSERT_EQ(rec.count(), 1);
    EXPECT_EQ(rec.last().text, QStringLiteral("『Tovarel 操作ガイド』が見つかりません  "));
    EXPECT_EQ(rec.last().flags, 16u);
    EXPECT_TRUE(m_launches.isEmpty());

    // A viewer that cannot start is only recorded.
    m_help.SetDocument(m_dir.path() + "/other.pdf");
    EXPECT_TRUE(m_help.Document().isEmpty());
    QFile f(m_dir.path() + "/other.pdf");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    m_help.SetDocument(m_dir.path() + "/other.pdf");
    m_launchWorks = false;
    m_help.ShowPage(2);
    EXPECT_EQ(m_help.LastError(), 301);
    EXPECT_EQ(rec.count(), 1);
}

TEST_F(PDFHelpTest, F1AsksForTheNearestHelpContext)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* withOwn = new QLineEdit(&window);
    auto* inherits = new QLineEdit(&window);
    layout->addWidget(withOwn);
    layout->addWidget(inherits);
    SetHelpContext(&window, 12);
    SetHelpContext(withOwn, 7);
    EXPECT_EQ(HelpContextOf(inherits), 12);

    QList<int> asked;
    THelpKeyFilter filter([&](int context) {
        asked.append(context);
        return true;
    });
    qApp->installEventFilter(&filter);
    window.show();
    window.activateWindow();
    withOwn->setFocus();
    QTest::keyClick(withOwn, Qt::Key_F1);
    inherits->setFocus();
    QTest::keyClick(inherits, Qt::Key_F1);
    qApp->removeEventFilter(&filter);
    EXPECT_EQ(asked, QList<int>({7, 12}));
}

} // namespace
