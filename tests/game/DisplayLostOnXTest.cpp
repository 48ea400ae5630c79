#include "support/VirtualDisplay.h"

#include "app/SdlPlatform.h"
#include "app/Settings.h"
#include "game/MyGameApp.h"
#include "platform/FatalError.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileList.h"
#include "puzzle/ProfileManager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// How the game's process ends when it cannot show what the test asks for.
enum ChildExit
{
    kNoWindow = 3,
    kNotLoaded = 4,
    kLoopEnded = 5,
    kFatalError = 6,
};

// Where the game's main thread is when its X server goes away.
enum class MainThread
{
    InItsLoop,
    // Away from the display for good, as in a call to it that never returns.
    Stuck,
};

constexpr double kMusicVolume = 0.25;

// The game on the display of DISPLAY, with its saves in the folder: loaded, then played a little without a
// save (a new player who solved the first puzzle, a quieter music volume). One byte on `ready` says so;
// then the main thread runs the loop or stays away. Never returns.
[[noreturn]] void PlayWithoutSaving(const std::string& saves, MainThread mainThread, int ready)
{
    setenv("TARNVALE_DATA_DIR", saves.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::filesystem::current_path(TARNVALE_GAME_DATA_DIR);
    SetFatalErrorHandler([](const std::string& message) {
        std::fprintf(stderr, "fatal error: %s\n", message.c_str());
        std::_Exit(kFatalError);
    });
    auto app = std::make_unique<MyGameApp>();
    app->SetPlatform(MakeSdlPlatform(*app));
    if (!app->Init({"tarnvale6"}))
        std::_Exit(kNoWindow);
    app->BeginMainLoop();
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(180);
    while (!app->HasLoaded()) {
        if (Clock::now() > deadline)
            std::_Exit(kNotLoaded);
        app->RunLoopPass();
    }
    ProfileManager::CreateProfile(L"Dora");
    GetCurrentPlayerState()->EnsurePuzzle(0, 0, 0)->completed = true;
    app->SetMusicVolume(kMusicVolume);
    const char byte = 1;
    if (::write(ready, &byte, 1) != 1)
        std::_Exit(kLoopEnded);
    if (mainThread == MainThread::Stuck) {
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    }
    while (!app->IsLoopDone())
        app->RunLoopPass();
    std::_Exit(kLoopEnded);
}

bool WaitForByte(int fd, std::chrono::seconds limit)
{
    const Clock::time_point deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, 100) > 0) {
            char byte = 0;
            return ::read(fd, &byte, 1) == 1;
        }
    }
    return false;
}

// The child's exit status, or nothing when it had not ended by the deadline (it is then killed).
std::optional<int> WaitForExit(pid_t child, std::chrono::seconds limit)
{
    const Clock::time_point deadline = Clock::now() + limit;
    int status = 0;
    while (Clock::now() < deadline) {
        if (::waitpid(child, &status, WNOHANG) == child)
            return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return std::nullopt;
}

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class DisplayLostOnXTest : public ::testing::Test
{
protected:
    DisplayLostOnXTest()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnvale-display-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(m_folder / "save");
    }
    ~DisplayLostOnXTest() override { std::filesystem::remove_all(m_folder); }

    std::string Saves() const { return (m_folder / "save").string() + "/"; }

    // Starts the game in a process of its own on a new X server, kills the server once the game has played,
    // and returns how the game ended (nothing when it did not end within a minute). What it wrote to stderr
    // is kept in m_errors.
    std::optional<int> KillTheServerUnderTheGame(MainThread mainThread)
    {
        VirtualDisplay display("1024x768x24");
        if (!display.IsReady()) {
            ADD_FAILURE() << "Xvfb did not start";
            return std::nullopt;
        }
        m_displayName = std::getenv("DISPLAY");
        int ready[2];
        if (::pipe(ready) != 0)
            return std::nullopt;
        const std::string errors = (m_folder / "stderr.txt").string();
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            const int errorFile = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(errorFile, STDERR_FILENO);
            // The child never goes back to the tests, whatever happens in it.
            try {
                PlayWithoutSaving(Saves(), mainThread, ready[1]);
            } catch (const std::exception& error) {
                std::fprintf(stderr, "%s\n", error.what());
            } catch (...) {
            }
            std::_Exit(kFatalError);
        }
        ::close(ready[1]);
        const bool played = WaitForByte(ready[0], std::chrono::seconds(240));
        ::close(ready[0]);
        if (!played) {
            std::optional<int> status = WaitForExit(child, std::chrono::seconds(0));
            ADD_FAILURE() << "the game did not get to play; it ended with "
                          << (status ? std::to_string(WEXITSTATUS(*status)) : "nothing") << ":\n"
                          << ReadText(errors);
            return std::nullopt;
        }
        display.Kill();
        std::optional<int> status = WaitForExit(child, std::chrono::seconds(60));
        m_errors = ReadText(errors);
        return status;
    }

    void ExpectSavedAndEnded(const std::optional<int>& status)
    {
        ASSERT_TRUE(status.has_value()) << "the game did not end after its X server went away:\n" << m_errors;
        ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status) << ":\n" << m_errors;
        EXPECT_EQ(WEXITSTATUS(*status), 1) << m_errors;
        EXPECT_NE(m_errors.find("The connection to the display " + m_displayName + " was lost"),
                  std::string::npos)
            << m_errors;

        ProfileList saved;
        ASSERT_TRUE(ProfileManager::ReadProfilesFile(Saves() + "profiles.xml", saved)) << m_errors;
        const ProfileRecord* dora = nullptr;
        for (const ProfileRecord& record : saved.records)
            if (record.name == L"Dora")
                dora = &record;
        ASSERT_NE(dora, nullptr) << "the new player was not saved";
        EXPECT_TRUE(dora->state.IsCompleted(0, 0, 0));

        Settings settings;
        ASSERT_EQ(ReadSettingsFile(Saves() + "settings.xml", settings), SettingsReadResult::Read);
        EXPECT_DOUBLE_EQ(settings.m_musicVolume, kMusicVolume);
    }

    std::filesystem::path m_folder;
    std::string m_displayName;
    std::string m_errors;
};

// The X server goes away under the game: it says so, saves the players and the settings as it does on
// SIGTERM, and ends with exit code 1.
TEST_F(DisplayLostOnXTest, TheMainThreadMeetsTheBrokenConnectionSavesAndEnds)
{
    ExpectSavedAndEnded(KillTheServerUnderTheGame(MainThread::InItsLoop));
}

// Mesa's EGL can send its picture for ever into a broken connection, so the main thread never comes back:
// the window's watch saves in its place and ends the game.
TEST_F(DisplayLostOnXTest, AMainThreadThatNeverComesBackIsStoodInFor)
{
    ExpectSavedAndEnded(KillTheServerUnderTheGame(MainThread::Stuck));
}

} // namespace
