#include "base/LogWriter.h"
#include "resources/ConfigStats.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "resources/PakInterface.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <thread>

namespace {

class NameTablesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pak.AddSearchRoot(std::string(TARNVALE_TEST_DATA_DIR) + "/resources");
        SetPakInterface(&m_pak);
        ClearConstants();
        ClearLocalization();
        ClearConfig();
    }
    void TearDown() override
    {
        SetPakInterface(nullptr);
        ClearConstants();
        ClearLocalization();
        ClearConfig();
    }

    PakInterface m_pak;
};

TEST_F(NameTablesTest, ConstantsReadAsIntFloatOrBoolAndAbsentNamesReadEmpty)
{
    Constants constants;
    ASSERT_TRUE(constants.Load());
    EXPECT_EQ(GetConstantInt(L"max_hints"), 3);
    EXPECT_FLOAT_EQ(GetConstantFloat(L"dialog_fade_time"), 0.25f);
    EXPECT_EQ(GetConstantInt(L"mask"), 31);
    EXPECT_TRUE(GetConstantBool(L"logging"));

    EXPECT_FALSE(HasConstant(L"explosion_grid_speed_horiz"));
    EXPECT_FLOAT_EQ(GetConstantFloat(L"explosion_grid_speed_horiz"), 0.0f);
    EXPECT_TRUE(HasConstant(L"explosion_grid_speed_horiz"));
    EXPECT_EQ(GetConstantInt(L"nothing"), 0);
    EXPECT_FALSE(HasLocalizedText(L"missing_key"));
    EXPECT_EQ(Localize(L"missing_key"), L"");
    EXPECT_TRUE(HasLocalizedText(L"missing_key"));
}

// Each value is checked as its readers read it, an int or a float; one outside its range is read as the
// nearest bound and the log names it. A name ending in '*' covers a family; names without a range are kept.
TEST_F(NameTablesTest, ConstantsOutsideTheirRangeAreReadAsTheNearestBoundAndNamed)
{
    using Kind = ConstantRange::Kind;
    const auto ranges = std::to_array<ConstantRange>({{L"count", Kind::Int, 0, 10},
                                                      {L"below", Kind::Int, 1, 64},
                                                      {L"speed", Kind::Float, 0, 1},
                                                      {L"spring", Kind::Float, -2, 2},
                                                      {L"offset_G*", Kind::Int, -5, 5},
                                                      {L"inside", Kind::Int, 0, 10}});
    Constants constants(ranges);
    ASSERT_TRUE(constants.ParseBytes("<constants>"
                                     "<constant name=\"count\" value=\"2147483647\"/>"
                                     "<constant name=\"below\" value=\"-3\"/>"
                                     "<constant name=\"speed\" value=\"1e30\"/>"
                                     "<constant name=\"spring\" value=\"-7.5\"/>"
                                     "<constant name=\"offset_G7\" value=\"-9\"/>"
                                     "<constant name=\"inside\" value=\"7 tiles\"/>"
                                     "<constant name=\"unranged\" value=\"2147483647\"/>"
                                     "</constants>",
                                     "constants.xml"));
    EXPECT_EQ(GetConstantInt(L"count"), 10);
    EXPECT_EQ(GetConstantInt(L"below"), 1);
    EXPECT_FLOAT_EQ(GetConstantFloat(L"speed"), 1.0f);
    EXPECT_FLOAT_EQ(GetConstantFloat(L"spring"), -2.0f);
    EXPECT_EQ(GetConstantInt(L"offset_G7"), -5);
    EXPECT_EQ(GetConstant(L"inside").ToString(), L"7 tiles") << "a value inside its range is kept as written";
    EXPECT_EQ(GetConstantInt(L"unranged"), 2147483647);

    std::string log;
    for (const std::string& line : LogWriter::GetShortLog())
        log += line + "\n";
    for (const char* expected : {"constants.xml: count=2147483647 read as 10 (its range is 0 to 10)",
                                 "constants.xml: below=-3 read as 1 (its range is 1 to 64)",
                                 "constants.xml: speed=1e30 read as 1 (its range is 0 to 1)",
                                 "constants.xml: spring=-7.5 read as -2 (its range is -2 to 2)",
                                 "constants.xml: offset_G7=-9 read as -5 (its range is -5 to 5)"})
        EXPECT_NE(log.find(expected), std::string::npos) << expected << " is not in:\n" << log;
    EXPECT_EQ(log.find("inside"), std::string::npos);
    EXPECT_EQ(log.find("unranged"), std::string::npos);
}

TEST_F(NameTablesTest, LocalizedTextsFromEachElementKindSurviveAReloadForTheirHolders)
{
    Localization localization;
    ASSERT_TRUE(localization.Load());
    EXPECT_EQ(Localize(L"button_ok"), L"OK");
    EXPECT_EQ(Localize(L"two_lines"), L"one\ntwo");
    EXPECT_EQ(Localize(L"quit_text"), L"Really\nquit?");
    EXPECT_EQ(Localize(L"greeting"), L"Hello & welcome\nback");
    EXPECT_EQ(Localize(L"farewell"), L"Bye");
    // Elements that only hold other elements store nothing.
    EXPECT_FALSE(HasLocalizedText(L"localization"));

    const std::wstring& held = Localize(L"greeting");
    ClearLocalization();
    Localization again;
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(held, L"Hello & welcome\nback");
}

TEST_F(NameTablesTest, ReloadingWhileAnotherThreadReads)
{
    std::thread reader([] {
        for (int i = 0; i < 2000; ++i) {
            std::wstring text = Localize(L"button_ok");
            EXPECT_TRUE(text.empty() || text == L"OK");
        }
    });
    for (int i = 0; i < 20; ++i) {
        ClearLocalization();
        Localization localization;
        localization.Load();
    }
    reader.join();
}

TEST_F(NameTablesTest, ConfigAttributes)
{
    ConfigStats config;
    ASSERT_TRUE(config.Load());
    EXPECT_EQ(GetConfigCompany(), L"Ostrel");
    EXPECT_EQ(GetConfigProduct(), L"Tarnvale 6");
    EXPECT_EQ(GetConfigValue(L"extra"), L"x");
    EXPECT_EQ(GetConfigValue(L"absent"), L"");
}

TEST_F(NameTablesTest, TheGamesOwnDataFilesLoad)
{
    SetPakInterface(nullptr);
    PakInterface game;
    game.AddSearchRoot(std::string(TARNVALE_SOURCE_DIR) + "/data");
    SetPakInterface(&game);
    ConfigStats config;
    EXPECT_TRUE(config.Load());
    Constants constants;
    EXPECT_TRUE(constants.Load());
    Localization localization;
    EXPECT_TRUE(localization.Load());
    SetPakInterface(&m_pak);
}

} // namespace
