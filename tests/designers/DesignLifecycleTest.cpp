// The save-changes question of the message-side window along each of its answers, and the start menu's
// default choice and last file.
#include "designers/DesignDocument.h"
#include "designers/DesignLifecycle.h"
#include "support/MessageRecorder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

TEST(DesignLifecycle, SaveQuestionPaths)
{
    struct Case
    {
        const char* what;
        bool modified;
        bool hasFile;
        QList<int> answers;
        bool saveSucceeds;
        bool result;
        int saves;
        QStringList texts;
    };
    const QString ask = DesignSaveQuestion;
    const Case cases[] = {
        {"unchanged", false, true, {}, true, true, 0, {}},
        {"cancel", true, true, {MsgSeam::IdCancel}, true, false, 0, {ask}},
        {"yes, saved", true, true, {MsgSeam::IdYes}, true, true, 1, {ask}},
        {"yes, not saved", true, false, {MsgSeam::IdYes}, false, false, 1, {ask}},
        {"no, then yes: reverts", true, true, {MsgSeam::IdNo, MsgSeam::IdYes}, true, true, 0,
         {ask, DesignRevertQuestion}},
        {"no, then yes: discards", true, false, {MsgSeam::IdNo, MsgSeam::IdYes}, true, true, 0,
         {ask, DesignDiscardQuestion}},
        {"no twice", true, false, {MsgSeam::IdNo, MsgSeam::IdNo}, true, false, 0, {ask, DesignDiscardQuestion}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDesignDocument document;
        document.Modified = c.modified;
        if (c.hasFile)
            document.FileName = QStringLiteral("/d/a.gpd");
        MessageRecorder messages;
        for (int answer : c.answers)
            messages.answer(answer);
        int saves = 0;
        const bool result = ConfirmDesignSave(nullptr, document, [&] {
            ++saves;
            document.Modified = !c.saveSucceeds;
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(saves, c.saves);
        QStringList texts;
        for (const MsgSeam::Request& r : messages.messages())
            texts << r.text;
        EXPECT_EQ(texts, c.texts);
        if (result)
            EXPECT_FALSE(document.Modified);
        if (texts.size() == 2)
            EXPECT_TRUE(messages.last().flags & MsgSeam::MbDefButton2);
    }
}

TEST(DesignLifecycle, StartMenuChoosesTheLastFileOnlyWhenItExists)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    EXPECT_EQ(StartMenuDefaultChoice({}), StartNew);
    EXPECT_EQ(StartMenuDefaultChoice({folder + "gone.gpd"}), StartNew);
    WriteFileBytes(folder + "here.gpd", "x");
    EXPECT_EQ(StartMenuDefaultChoice({folder + "here.gpd", folder + "gone.gpd"}), StartLastFile);
    EXPECT_EQ(LastDesignPath({"/old/place/Card.v2.gpd"}, folder), folder + "Card.v2.gpd");
    EXPECT_TRUE(LastDesignPath({}, folder).isEmpty());
}

} // namespace
