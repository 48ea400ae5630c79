#include "platform/FatalError.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>
#include <vector>

TEST(FatalErrorTest, AnInstalledHandlerReceivesMessagesInsteadOfExiting)
{
    std::vector<std::string> first;
    std::vector<std::string> second;
    SetFatalErrorHandler([&first](const std::string& message) { first.push_back(message); });
    FatalError("Invalid image file");
    ShowFatalErrorBox("No display device");

    FatalErrorHandler previous =
        SetFatalErrorHandler([&second](const std::string& message) { second.push_back(message); });
    FatalError("to the second handler");
    SetFatalErrorHandler(previous);
    FatalError("back to the first");
    SetFatalErrorHandler({});

    EXPECT_EQ(first,
              (std::vector<std::string>{"Invalid image file", "No display device", "back to the first"}));
    EXPECT_EQ(second, std::vector<std::string>{"to the second handler"});
}

TEST(FatalErrorDeathTest, WithoutAHandlerTheMessageGoesToStderrAndTheProgramExits)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    EXPECT_EXIT(FatalError("Error in XML on Line 3 in File 'x.xml'"), ::testing::ExitedWithCode(1),
                "FATAL ERROR: Error in XML on Line 3 in File 'x.xml'");
}

// A loading thread never shows the box itself nor ends the program under the main thread's feet: it hands
// the message over and stops, and the main thread, still in control, shows it and leaves.
TEST(FatalErrorDeathTest, AnotherThreadHandsItsErrorToTheMainThread)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    auto raiseFromLoader = [] {
        std::thread loader([] { FatalError("Bad constants.xml"); });
        while (!HasPendingFatalError())
            std::this_thread::yield();
        std::fprintf(stderr, "main thread still in control\n");
        RaisePendingFatalError();
        loader.join();
    };
    EXPECT_EXIT(raiseFromLoader(), ::testing::ExitedWithCode(1),
                "FATAL ERROR: Bad constants.xml\nmain thread still in control");
}
