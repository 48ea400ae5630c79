#include "resources/ConfigStats.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "resources/PakInterface.h"

#include <gtest/gtest.h>

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
