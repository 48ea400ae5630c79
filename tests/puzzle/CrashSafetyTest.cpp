// Saves that survive kill -9: child processes save profiles.xml or settings.xml in a loop and are killed
// with SIGKILL at random moments. After every kill the file must read back as the last state a child
// reported saved or the one after it (never less, never damaged), and the game must start from it.
//
// TARNVALE_KILL_ROUNDS sets the number of kills per test (scripts/kill-test runs 1,000).
#include "app/Settings.h"
#include "puzzle/ProfileList.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleTable.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr int kDefaultRounds = 60;

int Rounds()
{
    const char* text = std::getenv("TARNVALE_KILL_ROUNDS");
    const int rounds = text ? std::atoi(text) : kDefaultRounds;
    return rounds > 0 ? rounds : kDefaultRounds;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// A child that runs save(n) for n = first, first + 1, ... and reports each n through the pipe once it
// is saved. The parent reads the first report, lets it run a random moment longer and kills it.
struct Saver
{
    pid_t pid{-1};
    int reports{-1};
};

Saver StartSaver(int first, const std::function<bool(int)>& save)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ends[0]);
        for (int n = first;; ++n) {
            if (!save(n))
                ::_exit(3);
            if (::write(ends[1], &n, sizeof n) != static_cast<ssize_t>(sizeof n))
                ::_exit(4);
        }
    }
    ::close(ends[1]);
    return {pid, ends[0]};
}

// Kills the saver after its first save and a random pause; the last n it reported (or none).
int KillSoon(const Saver& saver, std::mt19937& random)
{
    int last = -1;
    int n = 0;
    if (::read(saver.reports, &n, sizeof n) == static_cast<ssize_t>(sizeof n))
        last = n;
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random)));
    ::kill(saver.pid, SIGKILL);
    int status = 0;
    ::waitpid(saver.pid, &status, 0);
    while (::read(saver.reports, &n, sizeof n) == static_cast<ssize_t>(sizeof n))
        last = n;
    ::close(saver.reports);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the saver stopped by itself with status " << status;
    return last;
}

class CrashSafetyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tarnvale-kill-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data());
        gPuzzleTable.Clear();
        gPuzzleTable.Sets(0).emplace_back(3);
        gPuzzleTable.Sets(0).emplace_back(2);
        gPuzzleTable.Sets(1).emplace_back(2);
        ProfileEnvironment environment;
        environment.dataFolder = m_folder.string() + "/";
        environment.afterSave = [] {};
        environment.playerNameChanged = [](const std::wstring&) {};
        ProfileManager::SetEnvironment(environment);
    }
    void TearDown() override
    {
        ProfileManager::SetEnvironment({});
        ProfileManager::ClearProfiles();
        gPuzzleTable.Clear();
        fs::remove_all(m_folder);
    }

    fs::path m_folder;
    std::mt19937 m_random{20261207};
};

// The round a profiles file holds, or -1 when it is not a whole profiles file.
int SavedRound(const std::string& bytes)
{
    ProfileList list;
    std::string reason;
    if (!ProfileManager::ParseProfiles(bytes, list, reason) || list.records.empty())
        return -1;
    auto found = list.records[0].state.properties.find(L"round");
    return found == list.records[0].state.properties.end() ? -1 : found->second.ToInt();
}

bool SaveProfileRound(int n)
{
    GetCurrentPlayerState()->properties[L"round"] = Value(n);
    return SaveProfiles();
}

} // namespace

TEST_F(CrashSafetyTest, ProfilesReadBackAsTheOldOrTheNewStateAfterEveryKill)
{
    const fs::path profiles = m_folder / "profiles.xml";
    ProfileManager();
    ProfileManager::CreateProfile(L"Ann");
    ASSERT_TRUE(SaveProfileRound(0));
    int confirmed = 0;
    for (int round = 0; round < Rounds(); ++round) {
        const Saver saver = StartSaver(confirmed + 1, [](int n) {
            ProfileManager();
            return SaveProfileRound(n);
        });
        ASSERT_GT(saver.pid, 0);
        const int reported = std::max(KillSoon(saver, m_random), confirmed);
        const int saved = SavedRound(ReadBytes(profiles));
        ASSERT_TRUE(saved == reported || saved == reported + 1)
            << "kill " << round << ": the file holds round " << saved << ", the saver had reported " << reported;
        ASSERT_GE(SavedRound(ReadBytes(m_folder / "profiles.xml.bak")), 0) << "kill " << round;
        ProfileManager();
        ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded) << "kill " << round;
        ASSERT_EQ(GetCurrentPlayerState()->properties[L"round"].ToInt(), saved);
        confirmed = saved;
    }
}

// Two games may run at once; saving together and being killed together, they never leave a damaged
// profiles.xml or backup between them.
TEST_F(CrashSafetyTest, ConcurrentSaversKilledTogetherLeaveWholeFiles)
{
    ProfileManager();
    ProfileManager::CreateProfile(L"Ann");
    ASSERT_TRUE(SaveProfileRound(0));
    constexpr int kSavers = 4;
    for (int round = 0; round < std::max(1, Rounds() / 4); ++round) {
        Saver savers[kSavers];
        for (int i = 0; i < kSavers; ++i) {
            savers[i] = StartSaver(1000 * i, [](int n) {
                ProfileManager();
                return SaveProfileRound(n);
            });
        }
        for (const Saver& saver : savers)
            KillSoon(saver, m_random);
        ASSERT_GE(SavedRound(ReadBytes(m_folder / "profiles.xml")), 0) << "kill " << round;
        ASSERT_GE(SavedRound(ReadBytes(m_folder / "profiles.xml.bak")), 0) << "kill " << round;
        ProfileManager();
        ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded) << "kill " << round;
    }
}

TEST_F(CrashSafetyTest, SettingsReadBackAsTheOldOrTheNewStateAfterEveryKill)
{
    const std::string path = (m_folder / "settings.xml").string();
    Settings settings;
    settings.m_preferredX = 0;
    ASSERT_TRUE(WriteSettingsFile(path, settings));
    int confirmed = 0;
    for (int round = 0; round < Rounds(); ++round) {
        const Saver saver = StartSaver(confirmed + 1, [&path](int n) {
            Settings next;
            next.m_preferredX = n;
            return WriteSettingsFile(path, next);
        });
        ASSERT_GT(saver.pid, 0);
        const int reported = std::max(KillSoon(saver, m_random), confirmed);
        Settings read;
        ASSERT_EQ(ReadSettingsFile(path, read), SettingsReadResult::Read) << "kill " << round;
        ASSERT_TRUE(read.m_preferredX == reported || read.m_preferredX == reported + 1)
            << "kill " << round << ": the file holds " << read.m_preferredX << ", the saver had reported "
            << reported;
        confirmed = read.m_preferredX;
    }
}
