#include "platform/FatalError.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

class FatalErrorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetFatalErrorHandler([this](const std::string& message) { m_messages.push_back(message); });
    }
    void TearDown() override { SetFatalErrorHandler({}); }

    std::vector<std::string> m_messages;
};

} // namespace

TEST_F(FatalErrorTest, AnInstalledHandlerReceivesMessagesInsteadOfExiting)
{
    FatalError("Invalid image file");
    ShowFatalErrorBox("No display device");
    EXPECT_EQ(m_messages, (std::vector<std::string>{"Invalid image file", "No display device"}));
}

TEST_F(FatalErrorTest, InstallingReturnsThePreviousHandler)
{
    std::vector<std::string> other;
    FatalErrorHandler previous = SetFatalErrorHandler([&other](const std::string& m) { other.push_back(m); });
    FatalError("to the second handler");
    SetFatalErrorHandler(previous);
    FatalError("back to the first");
    EXPECT_EQ(other, std::vector<std::string>{"to the second handler"});
    EXPECT_EQ(m_messages, std::vector<std::string>{"back to the first"});
}

TEST_F(FatalErrorTest, MessagesFromAnotherThreadReachTheHandler)
{
    std::thread loader([] { FatalError("from the loading thread"); });
    loader.join();
    EXPECT_EQ(m_messages, std::vector<std::string>{"from the loading thread"});
}

TEST(FatalErrorDeathTest, WithoutAHandlerTheMessageGoesToStderrAndTheProgramExits)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    EXPECT_EXIT(FatalError("Error in XML on Line 3 in File 'x.xml'"), ::testing::ExitedWithCode(1),
                "FATAL ERROR: Error in XML on Line 3 in File 'x.xml'");
}
