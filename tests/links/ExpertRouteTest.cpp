// The route front end over the station library stand-in and the logging stand-in of its launcher.
#include "core/MainSettings.h"
#include "links/AddExtURL.h"
#include "links/ExpertRoute.h"
#include "links/LinkFixtures.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "support/MessageRecorder.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

const QString LibDir = QStringLiteral(TOVAREL_PROGRAM_DIR);
const QString DicDir = LibDir + QStringLiteral("Dic/");

class FakeDirectory : public TWindowDirectory
{
public:
    QStringList titles;
    QStringList TopLevelTitles() const override { return titles; }
    QList<TChildWindow> Children(int) const override { return {}; }
};

// ProgramFolder pointed at the stand-in's folder, the main settings file in a temporary data root.
class ExpertRouteTest : public ::testing::Test
{
protected:
    ExpertRouteTest() : m_savedProgram(ProgramFolder) { ProgramFolder = programs.folder(); }
    ~ExpertRouteTest() override { ProgramFolder = m_savedProgram; }

    TSelectStInfo Station(const char* reading)
    {
        TStationLibrary picker(TStationLibrary::Use::Picker);
        EXPECT_EQ(picker.Load(LibDir), 0);
        std::vector<TStationRec> rows;
        EXPECT_EQ(picker.ListByKana(Cp932::fromUnicode(QString::fromUtf8(reading)), DicDir, rows), 0);
        TSelectStInfo info;
        info.station = rows.at(0);
        return info;
    }
    void Open(TExpertMain& window, bool withPosition)
    {
        window.SetFolders(LibDir, DicDir);
        if (withPosition) {
            const TStationRec kanda = Station("ｶﾝﾀﾞ").station;
            window.SetPosition(kanda.Latitude - 13 * 256, kanda.Longitude);
        }
        window.Prepare();
    }
    TMemIniFile Settings() const { return TMemIniFile(DataRootFolder + MainSettingsFileName); }

    Standin programs;
    TempDataRoot root;
    MessageRecorder boxes;

private:
    QString m_savedProgram;
};

} // namespace

TEST_F(ExpertRouteTest, WithoutPositionNothingToStartUntilStationsArePicked)
{
    TExpertMain window(nullptr);
    Open(window, false);
    window.show();
    EXPECT_EQ(window.NearList()->topLevelItemCount(), 0);
    EXPECT_FALSE(window.StartButton()->isEnabled());
    EXPECT_EQ(window.focusWidget(), window.CancelButton());

    window.TakeNearPick(Station("ｼﾌﾞﾔ"));
    EXPECT_EQ(window.NearList()->topLevelItemCount(), 1);
    EXPECT_GT(window.LineListView()->topLevelItemCount(), 0) << "the pick fills its lines";
    EXPECT_FALSE(window.StartButton()->isEnabled()) << "no departure yet";
    window.TakeStartStation(Station("ｼﾅｶﾞﾜ"));
    EXPECT_TRUE(window.StartButton()->isEnabled());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ExpertRouteTest, NearestRowsAndOnePickedRowAtTheEnd)
{
    TExpertMain window(nullptr);
    Open(window, true);
    ASSERT_EQ(window.NearList()->topLevelItemCount(), 3);
    QTreeWidgetItem* first = window.NearList()->topLevelItem(0);
    EXPECT_EQ(first->text(0), QStringLiteral("神田"));
    EXPECT_EQ(first->text(2).trimmed().toInt(), window.NearSlots()[0].Distance);
    EXPECT_EQ(first->text(2).size(), 8) << "distance left-aligned in eight places";
    EXPECT_EQ(first->text(3), QStringLiteral("北"));
    EXPECT_EQ(window.LineListView()->topLevelItem(0)->text(0), QStringLiteral("山手線"));

    window.TakeNearPick(Station("ｼﾌﾞﾔ"));
    window.TakeNearPick(Station("ｼﾝｼﾞｭｸ"));
    ASSERT_EQ(window.NearList()->topLevelItemCount(), 4);
    EXPECT_EQ(window.NearList()->topLevelItem(3)->text(0), QStringLiteral("新宿"));
    EXPECT_TRUE(window.NearList()->topLevelItem(3)->text(2).isEmpty());
    EXPECT_EQ(window.NearSlots()[3].Bearing, 99);
    EXPECT_EQ(window.NearList()->currentItem(), window.NearList()->topLevelItem(3));
}

TEST(ExpertSettings, ConditionsAndRideDateAsStored)
{
    const QDateTime now(QDate(2026, 12, 11), QTime(10, 0));
    struct Case
    {
        const char* stored;
        const char* kept;
    };
    for (const Case c : {Case{"20261211", ""}, Case{"20261210", ""}, Case{"20261212", "20261212"},
                         Case{"20261340", ""}, Case{" 20261212 ", "20261212"}, Case{"2026121", ""}}) {
        TMemIniFile ini(QString{});
        ini.WriteString(ExpertSettings::SearchSection, QStringLiteral("RideDate"), QString::fromLatin1(c.stored));
        ini.WriteInteger(ExpertSettings::SearchSection, QStringLiteral("Transfers"), 3);
        ini.WriteInteger(ExpertSettings::SearchSection, QStringLiteral("WalkingAmongSt"), 2);
        ini.WriteInteger(ExpertSettings::SearchSection, QStringLiteral("LeavingStRide"), 2);
        const TExpertConditions read = ExpertSettings::LoadConditions(ini, now);
        EXPECT_EQ(read.rideDate, QString::fromLatin1(c.kept)) << c.stored;
        EXPECT_EQ(read.values, (std::array<int, 7>{0, 0, 0, 2, 0, 0, 0}));
    }
}

TEST(ExpertSettings, FixedFieldsCutOnCharacterBoundaries)
{
    char name[54];
    // One byte and 27 double-byte characters: the last would be split at byte 54, so it is left out.
    ExpertSettings::PutField(name, sizeof name, QStringLiteral("a") + QString(27, u'駅'));
    EXPECT_EQ(StationText(name), QString(26, u'駅').prepend(u'a'));
    EXPECT_EQ(name[53], '\0');
}

TEST_F(ExpertRouteTest, LaunchLogsItsArgumentsSavesTheDepartureAndQuitsOnClose)
{
    programs.install(QStringLiteral("Exp_kick.exe"));
    FakeDirectory directory;
    directory.titles = {QStringLiteral("端末"), QStringLiteral("駅すぱあと - 経路探索")};
    {
        TExpertMain window(nullptr, &directory);
        Open(window, true);
        const TSelectStInfo from = Station("ｼﾅｶﾞﾜ");
        window.TakeStartStation(from);
        ASSERT_TRUE(window.Launch());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !programs.starts().isEmpty(); }, 10000));
        const QString to = StationText(window.NearSlots()[0].Code);
        EXPECT_EQ(programs.starts().first().arguments,
                  (QStringList{QStringLiteral("-d") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")),
                               QStringLiteral("-c0000000"), StationText(from.station.Code), to}));
        EXPECT_EQ(Settings().ReadString(ExpertSettings::StartSection, QStringLiteral("StNameKj"), QString()),
                  QStringLiteral("品川"));
        window.reject();
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return programs.starts().size() == 2; }, 10000));
    EXPECT_EQ(programs.starts().last().arguments, QStringList{QStringLiteral("-q")});
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ExpertRouteTest, FailedLaunchKeepsTheSettingsAndQuitsNothing)
{
    FakeDirectory directory;
    directory.titles = {QStringLiteral("駅すぱあと")};
    boxes.answer(1);
    TExpertMain window(nullptr, &directory);
    Open(window, true);
    window.TakeStartStation(Station("ｼﾅｶﾞﾜ"));
    EXPECT_FALSE(window.Launch());
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("駅すぱあとが起動できませんでした  "));
    EXPECT_FALSE(Settings().SectionExists(ExpertSettings::StartSection));
    programs.install(QStringLiteral("Exp_kick.exe"));
    window.reject();
    EXPECT_TRUE(programs.starts().isEmpty());
}

TEST_F(ExpertRouteTest, PickerSearchesByReadingAndKanaRow)
{
    TSelectStInfo info;
    info.Kana = QStringLiteral("ｼﾝｼﾞｭ");
    TExpertSelectStation byName(nullptr, LibDir, DicDir, info, Qt::blue, Qt::black);
    EXPECT_TRUE(byName.NameButton()->isChecked());
    ASSERT_EQ(byName.Rows().size(), 1u);
    byName.accept();
    EXPECT_EQ(byName.result(), QDialog::Accepted);
    EXPECT_EQ(StationText(byName.Info().station.Name), QStringLiteral("新宿"));
    EXPECT_EQ(byName.Info().ListIndex, 0);

    TSelectStInfo row;
    row.KanaIndex = 9;
    TExpertSelectStation byKana(nullptr, LibDir, DicDir, row, Qt::blue, Qt::black);
    EXPECT_TRUE(byKana.KanaButton()->isChecked());
    ASSERT_EQ(byKana.Rows().size(), 1u);
    EXPECT_EQ(StationText(byKana.Rows()[0].Name), QStringLiteral("和歌山"));
    EXPECT_EQ(byKana.KanaButton()->palette().color(QPalette::WindowText), QColor(Qt::blue));

    row.KanaIndex = 2; // さ行 holds many stations, in the order of their letters
    TExpertSelectStation sa(nullptr, LibDir, DicDir, row, Qt::blue, Qt::black);
    ASSERT_GT(sa.Rows().size(), 5u);
    EXPECT_LE(uint8_t(sa.Rows().front().Kana[0]), uint8_t(sa.Rows().back().Kana[0]));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ExpertRouteTest, ConditionDialogStoresAllEightKeys)
{
    TExpertConditions stored;
    stored.values = {1, 0, 2, 1, 0, 2, 1};
    TExpertSearchCondition dialog(nullptr, stored, Qt::blue, Qt::black);
    EXPECT_TRUE(dialog.Button(2, 2)->isChecked());
    EXPECT_EQ(dialog.DateEdit()->date(), QDate::currentDate());
    dialog.Button(6, 2)->click();
    dialog.DateEdit()->setDate(QDate(2030, 1, 2));
    dialog.accept();
    const TMemIniFile ini = Settings();
    EXPECT_EQ(ini.ReadSection(ExpertSettings::SearchSection).size(), 8);
    EXPECT_EQ(ini.ReadInteger(ExpertSettings::SearchSection, QStringLiteral("Airway"), -1), 2);
    EXPECT_EQ(ini.ReadString(ExpertSettings::SearchSection, QStringLiteral("RideDate"), QString()),
              QStringLiteral("20300102"));
    EXPECT_EQ(dialog.Button(6, 2)->palette().color(QPalette::ButtonText), QColor(Qt::blue));
}
