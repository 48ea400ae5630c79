#include "puzzle/ProfileManager.h"
#include "base/Common.h"
#include "base/LogWriter.h"
#include "platform/FileSizeSignal.h"
#include "puzzle/CurrentPlayerGlobalStore.h"
#include "puzzle/GameData.h"
#include "puzzle/PuzzleTable.h"
#include "resources/GlobalVariables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// ASCII text as the UTF-16LE bytes profiles.xml holds, with the byte-order mark.
std::string Utf16File(const std::string& ascii)
{
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

void ShapeTable(const std::vector<int>& mode0, const std::vector<int>& mode1)
{
    gPuzzleTable.Clear();
    for (int puzzles : mode0)
        gPuzzleTable.Sets(0).emplace_back(puzzles);
    for (int puzzles : mode1)
        gPuzzleTable.Sets(1).emplace_back(puzzles);
}

class ProfileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("profiles-" + std::to_string(::getpid()) + "-" +
                                              testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        Configure(false);
        ShapeTable({2, 3, 1}, {2, 1});
    }

    void TearDown() override
    {
        ClearGameTables();
        ProfileManager::SetEnvironment({});
        fs::remove_all(folder);
    }

    void Configure(bool screensaver, std::size_t failAfter = std::numeric_limits<std::size_t>::max())
    {
        ProfileEnvironment environment;
        environment.dataFolder = folder.string() + "/";
        environment.screensaver = screensaver;
        environment.afterSave = [this] { ++settingsWrites; };
        environment.playerNameChanged = [this](const std::wstring& name) { playerName = name; };
        environment.failWriteAfter = failAfter;
        ProfileManager::SetEnvironment(environment);
    }

    fs::path ProfilesPath() const { return folder / "profiles.xml"; }

    fs::path folder;
    int settingsWrites{0};
    std::wstring playerName;
};

// Runs work in a second process on the same data folder, as a second game would; true when it ended well.
bool InOtherGame(const std::function<void()>& work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        std::_Exit(testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST(FreshState, HasOneSetEntryFewerThanTheTableAndModesWithOneOrNoSetsDoNotUnderflow)
{
    ShapeTable({1, 2, 3, 4, 5}, {1, 1, 1});
    PlayerState state;
    ASSERT_EQ(state.progress[0].size(), 4u);
    ASSERT_EQ(state.progress[1].size(), 2u);
    EXPECT_EQ(state.progress[0][3].puzzles.size(), 4u);
    EXPECT_EQ(state.progress[0][0].unlock, 1);
    EXPECT_EQ(state.progress[0][1].unlock, 0);
    EXPECT_EQ(state.progress[1][0].unlock, 0);

    ShapeTable({3}, {});
    PlayerState small;
    ASSERT_EQ(small.progress[0].size(), 1u);
    EXPECT_EQ(small.progress[0][0].unlock, 1);
    EXPECT_EQ(small.progress[0][0].puzzles.size(), 3u);
    EXPECT_TRUE(small.progress[1].empty());
    gPuzzleTable.Clear();
}

TEST(FreshState, AbsentEntriesReadAsDefaultsAndAreMadeBeforeWriting)
{
    ShapeTable({2, 3}, {4});
    PlayerState state;
    EXPECT_EQ(state.GetUnlock(0, 1), 0) << "the last set has no entry";
    EXPECT_FALSE(state.IsCompleted(1, 0, 2));
    EXPECT_EQ(state.CountCompletedPuzzles(0, 7), 0);
    EXPECT_EQ(state.EnsureSet(2, 0), nullptr);
    EXPECT_EQ(state.EnsureSet(0, -1), nullptr);

    PuzzleProgress* puzzle = state.EnsurePuzzle(1, 0, 3);
    ASSERT_NE(puzzle, nullptr);
    puzzle->completed = true;
    ASSERT_EQ(state.progress[1].size(), 1u);
    EXPECT_EQ(state.progress[1][0].puzzles.size(), 4u) << "a new entry is shaped by the table";
    EXPECT_EQ(state.CountCompletedPuzzles(1, 0), 1);

    ShapeTable({2, 0, 1}, {});
    PlayerState sets;
    sets.EnsureSet(0, 2);
    for (PuzzleProgress& each : sets.progress[0][0].puzzles)
        each.completed = true;
    sets.progress[0][2].puzzles[0].completed = true;
    EXPECT_EQ(sets.CountCompletedSets(0), 2) << "only sets with puzzles count";
    gPuzzleTable.Clear();
}

TEST(PlayTime, TicksRollOverIntoMinutesAndHours)
{
    BasicPlayerState state;
    for (int tick = 0; tick < 6000; ++tick)
        state.AddPlayTick();
    EXPECT_EQ(state.minutes, 1);
    EXPECT_EQ(state.centiseconds, 0);
    for (int tick = 6000; tick < 360000; ++tick)
        state.AddPlayTick();
    EXPECT_EQ(state.hours, 1);
    EXPECT_EQ(state.minutes, 0);
    EXPECT_EQ(state.WritePlayTime(), L" started=\"0\" hours=\"1\" minutes=\"0\" centiseconds=\"0\"");
}

TEST_F(ProfileTest, SavesTheGoldenFileByteForByte)
{
    ShapeTable({2, 1}, {1});
    ProfileManager();
    ProfileManager::CreateProfile(L"Ann");
    PlayerState* state = GetCurrentPlayerState();
    ASSERT_NE(state, nullptr);
    state->progress[0][0].puzzles[0] = {true, 12, false, true, {}};
    state->AddPlayTick();
    ASSERT_TRUE(SaveProfiles());

    std::string golden = ReadBytes(fs::path(TARNVALE_TEST_DATA_DIR) / "puzzle" / "golden-profiles.txt");
    while (!golden.empty() && (golden.back() == '\n' || golden.back() == '\r'))
        golden.pop_back();
    const std::string written = ReadBytes(ProfilesPath());
    const std::string expected = Utf16File(golden);
    const auto mismatch = std::mismatch(written.begin(), written.end(), expected.begin(), expected.end());
    EXPECT_TRUE(written == expected) << "sizes " << written.size() << " and " << expected.size()
                                     << ", first difference at byte " << (mismatch.first - written.begin());
    EXPECT_EQ(settingsWrites, 1) << "the settings are written after the profiles";
}

TEST_F(ProfileTest, NamesAndProgressRoundTrip)
{
    const std::wstring names[] = {L"Zo\u00eb \u5317\U0001F600", L"a\"q\" <b>&c", L"back\\slash"};
    ProfileManager();
    for (const std::wstring& name : names)
        ProfileManager::CreateProfile(name);
    PlayerState* state = GetCurrentPlayerState();
    state->progress[0][1].puzzles[2] = {true, 99, true, false, {}};
    state->progress[0][1].introduced = true;
    state->progress[0][1].puzzles[1].bestTime = 7;
    state->progress[1].resize(3);
    state->progress[1][2].unlock = 4;
    state->progress[1][2].puzzles.resize(2);
    state->progress[1][2].puzzles[1].completed = true;
    state->toggleMode = true;
    state->currentCountry = 2;
    state->hours = 3;
    state->properties[L"seen_map"] = Value(true);
    state->properties[L"visits"] = Value(41);
    state->properties[L"speed"] = Value(0.1f);
    state->properties[L"motto & <more>"] = Value(std::wstring(L"say \"hi\""));
    const auto properties = state->properties;
    ASSERT_TRUE(SaveProfiles());

    ClearGameTables();
    ShapeTable({2, 3, 1}, {2, 1});
    ProfileManager();
    EXPECT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_EQ(gProfileList.records[slot].name, names[slot]);
    EXPECT_EQ(gProfileList.selected, 2);
    EXPECT_EQ(playerName, names[2]);
    PlayerState* loaded = GetCurrentPlayerState();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->progress[0][1].puzzles[1].bestTime, 7);
    EXPECT_EQ(loaded->progress[0][1].puzzles[2].bestTime, 99);
    EXPECT_TRUE(loaded->progress[0][1].puzzles[2].withoutHints);
    EXPECT_TRUE(loaded->progress[0][1].introduced);
    ASSERT_EQ(loaded->progress[1].size(), 3u) << "extra sets are kept";
    EXPECT_EQ(loaded->progress[1][2].unlock, 0) << "but closed";
    EXPECT_TRUE(loaded->progress[1][2].puzzles[1].completed);
    EXPECT_TRUE(loaded->toggleMode);
    EXPECT_EQ(loaded->currentCountry, 2);
    EXPECT_EQ(loaded->hours, 3);
    for (const auto& [name, value] : properties)
        EXPECT_EQ(loaded->properties[name], value) << WStringToString(name);

    Value global;
    ASSERT_NE(GetGlobalVariables(), nullptr);
    EXPECT_TRUE(GetGlobalVariables()->GetGlobal(L"visits", global))
        << "scripts read the current player's properties";
    EXPECT_EQ(global.ToInt(), 41);
}

TEST_F(ProfileTest, OlderFilesReadWithTheirDefaultsAndClampedValues)
{
    WriteBytes(
        ProfilesPath(),
        "<profiles selected=\"0\"><profile name=\"Old\"><state current-country=\"40\" current-mode=\"7\" "
        "made-mistake=\"1\"><mode><set unlock=\"2\"><puzzle completed=\"1\"/></set></mode></state></profile>"
        "<profile name=\"Neg\"><state current-country=\"-1\" current-mode=\"-3\"/></profile></profiles>");
    ProfileManager();
    const PlayerState& old = gProfileList.records[0].state;
    EXPECT_FALSE(old.showNumbers) << "an absent show-numbers reads false";
    EXPECT_EQ(old.currentCountry, 12);
    EXPECT_EQ(old.currentMode, 1);
    EXPECT_TRUE(old.madeMistake);
    EXPECT_EQ(old.progress[0][0].unlock, 2);
    EXPECT_TRUE(old.progress[0][0].puzzles[0].completed);
    EXPECT_EQ(old.progress[0][0].puzzles.size(), 2u) << "puzzles the file lacks stay fresh";
    EXPECT_EQ(old.progress[0][1].puzzles.size(), 3u);
    const PlayerState& negative = gProfileList.records[1].state;
    EXPECT_EQ(negative.currentCountry, 0);
    EXPECT_EQ(negative.currentMode, 0);
}

TEST_F(ProfileTest, OutOfRangeIndicesAreIgnored)
{
    std::string text =
        "<profiles selected=\"8\"><state current-country=\"3\"/><mode><set unlock=\"5\"/></mode>"
        "<puzzle completed=\"1\"/>";
    for (int i = 0; i < 9; ++i)
        text += "<profile name=\"P" + std::to_string(i) + "\"><state><mode/><mode/><mode><set unlock=\"9\">" +
                "<puzzle completed=\"1\"/></set></mode></state></profile>";
    text += "</profiles>";
    WriteBytes(ProfilesPath(), text);
    ProfileManager();
    EXPECT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    EXPECT_EQ(gProfileList.selected, -1);
    EXPECT_EQ(GetCurrentPlayerState(), nullptr);
    ASSERT_EQ(gProfileList.records.size(), 8u);
    EXPECT_EQ(gProfileList.records[7].name, L"P7");
    for (const ProfileRecord& record : gProfileList.records) {
        EXPECT_EQ(record.state.currentCountry, 0);
        EXPECT_EQ(record.state.progress[0].size(), 2u);
        EXPECT_EQ(record.state.progress[1].size(), 1u);
        EXPECT_EQ(record.state.progress[0][1].unlock, 0);
    }
}

TEST_F(ProfileTest, ADamagedFileIsKeptAsideAndTheBackupRead)
{
    ProfileManager();
    ProfileManager::CreateProfile(L"First");
    ASSERT_TRUE(SaveProfiles());
    ProfileManager::CreateProfile(L"Second");
    ASSERT_TRUE(SaveProfiles());
    ASSERT_TRUE(fs::exists(folder / "profiles.xml.bak"));

    const std::string full = ReadBytes(ProfilesPath());
    const std::string truncated = full.substr(0, full.size() / 2);
    WriteBytes(ProfilesPath(), truncated);
    ProfileManager();
    EXPECT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::LoadedBackup);
    EXPECT_EQ(gProfileList.records[0].name, L"First");
    EXPECT_EQ(gProfileList.records[1].name, L"");
    EXPECT_EQ(ReadBytes(folder / "profiles.xml.damaged"), truncated) << "the damaged file is kept as it was";
    EXPECT_FALSE(fs::exists(ProfilesPath()));

    ProfileManager();
    EXPECT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::LoadedBackup)
        << "until the next save the backup stays the player's copy";
    EXPECT_EQ(gProfileList.records[0].name, L"First");

    ASSERT_TRUE(SaveProfiles());
    EXPECT_TRUE(fs::exists(ProfilesPath()));
}

TEST_F(ProfileTest, WithoutABackupPlayStartsEmptyAndEveryDamagedFileIsKept)
{
    WriteBytes(ProfilesPath(), "<profiles selected=\"0\"><profile name=\"A\"");
    ProfileManager();
    EXPECT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::DamagedStartedEmpty);
    EXPECT_EQ(gProfileList.records.size(), 8u);
    EXPECT_EQ(gProfileList.selected, -1);

    WriteBytes(ProfilesPath(), std::string("\xFF\xFE<\0", 4));
    ProfileManager();
    EXPECT_TRUE(fs::exists(folder / "profiles.xml.damaged"));
    EXPECT_TRUE(fs::exists(folder / "profiles.xml.damaged1")) << "an earlier damaged file is not overwritten";
}

TEST_F(ProfileTest, ASaveInterruptedAtAnyByteLeavesTheLastWholeFile)
{
    ShapeTable({1, 1}, {1});
    ProfileManager();
    ProfileManager::CreateProfile(L"Kept");
    ASSERT_TRUE(SaveProfiles());
    const std::string before = ReadBytes(ProfilesPath());

    ProfileManager::CreateProfile(L"Lost");
    const std::string after = "\xFF\xFE" + WStringToUtf16LE(ProfileManager::FormatProfiles(gProfileList));
    for (std::size_t offset = 0; offset < after.size(); ++offset) {
        Configure(false, offset);
        ASSERT_FALSE(SaveProfiles()) << offset;
        ASSERT_EQ(ReadBytes(ProfilesPath()), before) << offset;
    }
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find("profiles.xml.tmp"), std::string::npos)
            << "a failed save leaves no partial file behind";
    Configure(false);
    ProfileManager();
    EXPECT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    EXPECT_EQ(gProfileList.records[0].name, L"Kept");
    EXPECT_EQ(gProfileList.records[1].name, L"");

    ProfileManager::CreateProfile(L"Saved");
    ASSERT_TRUE(SaveProfiles());
    EXPECT_EQ(ReadBytes(folder / "profiles.xml.bak"), before) << "the previous file is the backup";
}

TEST_F(ProfileTest, ScreensaverModeWritesNothing)
{
    Configure(true);
    ProfileManager();
    ProfileManager::CreateProfile(L"Saver");
    EXPECT_FALSE(SaveProfiles());
    EXPECT_FALSE(fs::exists(ProfilesPath()));
    EXPECT_EQ(settingsWrites, 0) << "not even the settings";
}

TEST_F(ProfileTest, NoFileGivesEightFreeSlotsAndSavingThemWritesEight)
{
    ProfileManager();
    EXPECT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::NoFile);
    EXPECT_EQ(GetCurrentPlayerState(), nullptr);
    ASSERT_TRUE(SaveProfiles());
    const std::wstring text = ProfileManager::FormatProfiles(gProfileList);
    std::size_t count = 0;
    for (std::size_t at = text.find(L"<profile name=\"\">"); at != std::wstring::npos;
         at = text.find(L"<profile name=\"\">", at + 1))
        ++count;
    EXPECT_EQ(count, 8u);

    ProfileManager::ClearProfiles();
    EXPECT_FALSE(SaveProfiles()) << "an empty list is not saved";
}

TEST_F(ProfileTest, RenamingResetsProgressButTheSameNameKeepsIt)
{
    ProfileManager();
    const int slot = ProfileManager::CreateProfile(L"Ann");
    PlayerState* state = GetCurrentPlayerState();
    state->progress[0][0].puzzles[0].completed = true;

    ProfileManager::SetProfile(slot, L"Ann");
    EXPECT_TRUE(state->progress[0][0].puzzles[0].completed);
    EXPECT_EQ(state->properties.count(L"player_name"), 1u);

    ProfileManager::SetProfile(slot, L"Bea");
    EXPECT_EQ(GetCurrentPlayerState(), state) << "the state is replaced in place";
    EXPECT_FALSE(state->progress[0][0].puzzles[0].completed);
    EXPECT_EQ(playerName, L"Bea");

    SetProfileNameChecked(8, L"Nobody");
    SetProfileNameChecked(-1, L"Nobody");
    SetProfileNameChecked(slot, L"");
    EXPECT_TRUE(gProfileList.records[slot].name.empty()) << "an empty name deletes the profile";
}

// Another game (or anything else) may have left a damaged profiles.xml since this one read it: saving
// over it must not make that damage the backup.
TEST_F(ProfileTest, TheBackupIsMadeOnlyFromAGoodFile)
{
    ProfileManager();
    ProfileManager::CreateProfile(L"First");
    ASSERT_TRUE(SaveProfiles());
    ASSERT_TRUE(SaveProfiles());
    const std::string good = ReadBytes(folder / "profiles.xml.bak");
    ASSERT_FALSE(good.empty());
    for (const char* damage : {"<profiles selected=\"0\"><profile", "<settings/>"}) {
        WriteBytes(ProfilesPath(), damage);
        ASSERT_TRUE(SaveProfiles());
        EXPECT_EQ(ReadBytes(folder / "profiles.xml.bak"), good) << damage;
    }
    ProfileManager::CreateProfile(L"Second");
    ASSERT_TRUE(SaveProfiles());
    ASSERT_TRUE(SaveProfiles());
    EXPECT_TRUE(ReadBytes(folder / "profiles.xml.bak") == ReadBytes(ProfilesPath()))
        << "a good file becomes the backup again";
}

TEST_F(ProfileTest, AWellFormedFileThatIsNotAProfilesFileIsKeptAside)
{
    for (const char* text : {"<settings music=\"1\"/>",
                             "<game-profiles selected=\"0\"><profile name=\"A\"/></game-profiles>"}) {
        WriteBytes(ProfilesPath(), text);
        ProfileManager();
        EXPECT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::DamagedStartedEmpty) << text;
        EXPECT_FALSE(fs::exists(ProfilesPath())) << text;
        ProfileManager::CreateProfile(L"New");
        ASSERT_TRUE(SaveProfiles());
        fs::remove(ProfilesPath());
        fs::remove(folder / "profiles.xml.bak");
    }
    EXPECT_EQ(ReadBytes(folder / "profiles.xml.damaged"), "<settings music=\"1\"/>");
    EXPECT_TRUE(fs::exists(folder / "profiles.xml.damaged1"));
}

TEST_F(ProfileTest, ANamedProfileNeverComesBackAsAFreeSlot)
{
    ProfileManager();
    EXPECT_EQ(ProfileManager::CreateProfile(std::wstring(L"\x01\xFFFF")), -1) << "nothing the file can hold";
    EXPECT_EQ(gProfileList.selected, -1);
    const int slot = ProfileManager::CreateProfile(L"A\x01" L"b\xFFFE");
    EXPECT_EQ(gProfileList.records[slot].name, L"Ab");
    ProfileManager::SetProfile(slot, std::wstring(1, L'\x02'));
    EXPECT_EQ(gProfileList.records[slot].name, L"Ab") << "refused: the profile stays";

    // Even a name that reached the list without the rule is written as a name.
    gProfileList.records[1].name = std::wstring(1, L'\xFFFF');
    ASSERT_TRUE(SaveProfiles());
    ProfileManager();
    EXPECT_EQ(gProfileList.records[0].name, L"Ab");
    EXPECT_EQ(gProfileList.records[1].name, L"\uFFFD");
}

// However a name reaches the profiles, they keep of it what a name read back keeps: a long one never covers
// the menus or grows the save.
TEST_F(ProfileTest, ANameIsKeptAsItWouldReadBack)
{
    ProfileManager();
    const int slot = ProfileManager::CreateProfile(L"Ann" + std::wstring(1000000, L'x'));
    EXPECT_EQ(gProfileList.records[slot].name, L"Annxxxxxxx");
    ProfileManager::SetProfile(slot, L"Bo\x7F" L"b" + std::wstring(1000000, L'y'));
    EXPECT_EQ(gProfileList.records[slot].name, L"Bobyyyyyyy");
    ASSERT_TRUE(SaveProfiles());
    EXPECT_LT(fs::file_size(ProfilesPath()), 256u * 1024u);
    ProfileManager();
    EXPECT_EQ(gProfileList.records[slot].name, L"Bobyyyyyyy");
}

TEST_F(ProfileTest, AttributesOfANewerVersionSurviveASave)
{
    WriteBytes(ProfilesPath(),
               "<profiles selected=\"0\" theme=\"dark\"><profile name=\"Ann\" avatar=\"owl\">"
               "<state hours=\"2147483647\" minutes=\"99\" centiseconds=\"-5\" mood=\"calm\"><mode>"
               "<set unlock=\"1\" stars=\"3\"><puzzle completed=\"1\" moves=\"17\"/></set></mode></state>"
               "</profile></profiles>");
    ProfileManager();
    ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    PlayerState* state = GetCurrentPlayerState();
    ASSERT_NE(state, nullptr);
    // Play time only counts up from what is read: a stored time near the int limit is tamed first.
    EXPECT_EQ(state->hours, 1000000);
    EXPECT_EQ(state->minutes, 59);
    EXPECT_EQ(state->centiseconds, 0);
    ASSERT_TRUE(SaveProfiles());
    const std::wstring text = ProfileManager::FormatProfiles(gProfileList);
    for (const wchar_t* kept : {L" theme=\"dark\">", L" avatar=\"owl\">", L" mood=\"calm\">",
                                L" stars=\"3\">", L" moves=\"17\"/>"})
        EXPECT_NE(text.find(kept), std::wstring::npos) << kept;

    ProfileManager();
    EXPECT_EQ(ProfileManager::FormatProfiles(gProfileList), text) << "read back, written again: the same";
}

TEST_F(ProfileTest, CreatingANinthProfileReplacesTheLastSlot)
{
    ProfileManager();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ProfileManager::CreateProfile(L"P" + std::to_wstring(i)), i);
    GetCurrentPlayerState()->progress[0][0].puzzles[1].completed = true;
    EXPECT_EQ(ProfileManager::CreateProfile(L"Ninth"), 7);
    EXPECT_EQ(gProfileList.records[7].name, L"Ninth");
    EXPECT_FALSE(GetCurrentPlayerState()->progress[0][0].puzzles[1].completed);
    EXPECT_EQ(gProfileList.selected, 7);
}

TEST_F(ProfileTest, StoredNumbersAreBoundedToWhatTheGameCanCountOn)
{
    // Set 0 of mode 0 has two puzzles; set 1 of mode 1 has no progress entry in a fresh state.
    WriteBytes(ProfilesPath(), "<profiles selected=\"0\"><profile name=\"Ann\"><state><mode>"
                               "<set unlock=\"2147483647\"><puzzle completed=\"1\" best-time=\"2147483647\"/>"
                               "<puzzle best-time=\"-40\"/></set><set unlock=\"-2147483648\"/></mode>"
                               "<mode><set unlock=\"99\"/></mode></state></profile></profiles>");
    ProfileManager();
    ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    const PlayerState& state = *GetCurrentPlayerState();
    EXPECT_EQ(state.progress[0][0].unlock, 3) << "one past the last puzzle, as finishing the set leaves it";
    EXPECT_EQ(state.progress[0][1].unlock, 0);
    EXPECT_EQ(state.progress[1][0].unlock, 3);
    EXPECT_EQ(state.progress[0][0].puzzles[0].bestTime, 99 * 3600 + 59 * 60 + 59);
    EXPECT_EQ(state.progress[0][0].puzzles[1].bestTime, 0);
    EXPECT_FALSE(fs::exists(folder / "profiles.xml.cut")) << "bounding a number loses nothing worth keeping";
}

// Puzzles past a set's count and sets past puzzles.xml's (a newer version's, or ones puzzles.xml no longer
// has) are kept, every one, and written back: the sets closed, as they are not played.
TEST_F(ProfileTest, MorePuzzlesAndSetsThanPuzzlesXmlHasAreKeptAndWrittenBack)
{
    std::string text = "<profiles selected=\"0\"><profile name=\"Robin\"><state><mode><set unlock=\"1\">";
    for (int i = 0; i < 5000; ++i)
        text += i % 7 == 0 ? "<puzzle completed=\"1\" best-time=\"42\"/>" : "<puzzle/>";
    text += "</set><set/>";
    for (int set = 0; set < 100; ++set) {
        text += "<set unlock=\"3\">";
        for (int i = 0; i < 150; ++i)
            text += "<puzzle completed=\"1\"/>";
        text += "</set>";
    }
    text += "</mode></state></profile></profiles>";
    WriteBytes(ProfilesPath(), text);

    ProfileManager();
    ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    const PlayerState& state = gProfileList.records[0].state;
    ASSERT_EQ(state.progress[0][0].puzzles.size(), 5000u)
        << "the set has two puzzles; the file's are all kept";
    EXPECT_TRUE(state.progress[0][0].puzzles[4998].completed);
    EXPECT_EQ(state.progress[0][0].puzzles[4998].bestTime, 42);
    ASSERT_EQ(state.progress[0].size(), 102u) << "the table's two sets with entries and 100 more";
    EXPECT_EQ(state.progress[0][101].puzzles.size(), 150u);
    EXPECT_TRUE(state.progress[0][101].puzzles[149].completed);
    EXPECT_EQ(state.progress[0][101].unlock, 0);
    EXPECT_FALSE(fs::exists(folder / "profiles.xml.cut")) << "nothing was left out";

    ASSERT_TRUE(SaveProfiles());
    const std::wstring written = ProfileManager::FormatProfiles(gProfileList);
    ProfileManager();
    EXPECT_EQ(ProfileManager::FormatProfiles(gProfileList), written) << "read back, written again: the same";
    EXPECT_EQ(gProfileList.records[0].state.progress[0][0].puzzles.size(), 5000u);
}

// A file that holds more than the game can hold (a ninth profile, a name longer than the name entry takes)
// is read as far as the game can hold it; the whole file is kept aside once, and the next save writes what
// the next start reads.
TEST_F(ProfileTest, WhatTheGameCannotHoldIsLeftOutAndTheWholeFileKeptAside)
{
    std::string text =
        "<profiles selected=\"0\"><profile name=\"" + std::string(10011, 'N') +
        "\"><state><mode><set unlock=\"1\"><puzzle completed=\"1\"/></set></mode></state></profile>";
    for (int slot = 1; slot < 10; ++slot)
        text += "<profile name=\"P" + std::to_string(slot) + "\"/>";
    text += "</profiles>";
    WriteBytes(ProfilesPath(), text);

    ProfileManager();
    ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    EXPECT_EQ(gProfileList.records[0].name, L"NNNNNNNNNN");
    EXPECT_EQ(gProfileList.records[7].name, L"P7");
    EXPECT_TRUE(gProfileList.records[0].state.progress[0][0].puzzles[0].completed);
    EXPECT_EQ(ReadBytes(folder / "profiles.xml.cut"), text) << "the whole file is kept";

    ASSERT_TRUE(SaveProfiles());
    ProfileManager();
    EXPECT_FALSE(fs::exists(folder / "profiles.xml.cut1"))
        << "what the game wrote is kept whole: no second copy";
}

// One unknown attribute of 8.5 million '>' read fine, but is written as "&gt;" in UTF-16, 8 bytes each: every
// save was refused as larger than the game reads back, so nothing the player did was saved again. What a
// file holds beyond what puzzles.xml shapes is kept only as far as it fits a budget counted as written, per
// profile and outside them, wherever it stands (an attribute, a property, a newer version's element, more
// puzzles); past it, it is left out, the whole file is copied aside once, and every save succeeds.
TEST_F(ProfileTest, ContentThatWouldGrowASavePastWhatIsReadBackIsLeftOutAndSavesSucceed)
{
    const std::string angles(1u << 20, '>');
    const std::string profile = "<profile name=\"Robin\"><state hours=\"3\"";
    std::string manyPuzzles = "<profiles selected=\"0\">" + profile + "><mode><set>";
    for (int i = 0; i < 60000; ++i)
        manyPuzzles += "<puzzle completed=\"1\"/>";
    manyPuzzles += "</set></mode></state></profile></profiles>";
    const std::string inputs[] = {
        "<profiles selected=\"0\" note=\"" + std::string(8500000, '>') + "\">" + profile +
            "/></profile></profiles>",
        "<profiles selected=\"0\">" + profile + " note=\"" + angles + "\"/></profile></profiles>",
        "<profiles selected=\"0\">" + profile + "><property name=\"p\" type=\"string\" value=\"" + angles +
            "\"/></state></profile></profiles>",
        "<profiles selected=\"0\">" + profile + "><badge>" + angles + "</badge></state></profile></profiles>",
        manyPuzzles,
    };
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input.substr(0, 60));
        fs::remove(folder / "profiles.xml.cut");
        WriteBytes(ProfilesPath(), input);
        ProfileManager();
        ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
        ASSERT_NE(GetCurrentPlayerState(), nullptr);
        EXPECT_EQ(GetCurrentPlayerState()->hours, 3);
        EXPECT_EQ(ReadBytes(folder / "profiles.xml.cut"), input) << "the whole file is kept";

        GetCurrentPlayerState()->progress[0][1].introduced = true;
        ASSERT_TRUE(SaveProfiles()) << "the player's progress is saved";
        EXPECT_LT(fs::file_size(ProfilesPath()), ProfileManager::kMaxFileBytes);
        const std::wstring written = ProfileManager::FormatProfiles(gProfileList);
        ProfileManager();
        ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
        EXPECT_TRUE(GetCurrentPlayerState()->progress[0][1].introduced);
        EXPECT_EQ(ProfileManager::FormatProfiles(gProfileList), written)
            << "what is written reads back whole";
        EXPECT_FALSE(fs::exists(folder / "profiles.xml.cut1")) << "no second copy";
    }
    const std::size_t kept = gProfileList.records[0].state.progress[0][0].puzzles.size();
    EXPECT_GT(kept, 30000u) << "puzzles are kept as far as the budget goes";
    EXPECT_LT(kept, 60000u);
    EXPECT_TRUE(gProfileList.records[0].state.progress[0][0].puzzles[kept - 1].completed);
}

// Two games on one data folder: each save first takes in what the other saved since, so neither drops a
// profile the other added, a deletion stays a deletion, and a game that is only open does not undo the
// other's progress.
TEST_F(ProfileTest, TwoGamesOnOneFolderKeepEachOthersProfiles)
{
    auto inOtherGame = InOtherGame;
    ProfileManager();
    ProfileManager::CreateProfile(L"Alice");
    ASSERT_TRUE(inOtherGame([] {
        ProfileManager();
        ProfileManager::CreateProfile(L"Bob");
        if (!SaveProfiles())
            std::_Exit(2);
    }));
    ASSERT_TRUE(SaveProfiles());
    ProfileList disk;
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(ProfilesPath().string(), disk));
    EXPECT_EQ(disk.records[0].name, L"Alice") << "each game's own profile keeps its slot here";
    EXPECT_EQ(disk.records[1].name, L"Bob") << "the other game's profile takes the next free slot";
    EXPECT_EQ(gProfileList.records[1].name, L"Bob");
    EXPECT_EQ(gProfileList.selected, 0);

    // The other game solves a puzzle for Bob; this one, only open, saves for Alice.
    ASSERT_TRUE(inOtherGame([] {
        ProfileManager();
        gProfileList.records[1].state.progress[0][0].puzzles[0].completed = true;
        if (!SaveProfiles())
            std::_Exit(2);
    }));
    GetCurrentPlayerState()->progress[0][1].introduced = true;
    ASSERT_TRUE(SaveProfiles());
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(ProfilesPath().string(), disk));
    EXPECT_TRUE(disk.records[1].state.progress[0][0].puzzles[0].completed) << "Bob's progress stays";
    EXPECT_TRUE(disk.records[0].state.progress[0][1].introduced);

    // A profile deleted here stays deleted.
    SetProfileNameChecked(1, L"");
    ASSERT_TRUE(SaveProfiles());
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(ProfilesPath().string(), disk));
    EXPECT_EQ(disk.records[1].name, L"");
    EXPECT_EQ(disk.records[0].name, L"Alice");
}

// Two slots of one name ("Bob", "Bob"): the other game plays the second Bob and solves a puzzle; this game,
// still at its title with the first Bob, quits and saves. Matched by name, both Bobs on disk met the first
// one here and the second Bob's solve was undone. Profiles are matched by slot first; by name only where a
// merge placed a profile in another slot, so one moved there is still followed.
TEST_F(ProfileTest, TwoProfilesOfOneNameAreTwoProfilesWhenGamesMerge)
{
    ProfileManager();
    ProfileManager::CreateProfile(L"Bob");
    ProfileManager::CreateProfile(L"Bob");
    ProfileManager::SelectProfile(0);
    ASSERT_TRUE(SaveProfiles());

    ASSERT_TRUE(InOtherGame([] {
        ProfileManager();
        ProfileManager::SelectProfile(1);
        PlayerState& state = *GetCurrentPlayerState();
        state.progress[0][0].puzzles[0] = {true, 31, true, true, {}};
        state.progress[0][0].unlock = 2;
        if (!SaveProfiles())
            std::_Exit(2);
    }));
    ASSERT_TRUE(SaveProfiles()) << "this game quits";
    ProfileList disk;
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(ProfilesPath().string(), disk));
    EXPECT_EQ(disk.records[0].name, L"Bob");
    EXPECT_EQ(disk.records[1].name, L"Bob");
    EXPECT_FALSE(disk.records[0].state.progress[0][0].puzzles[0].completed);
    EXPECT_TRUE(disk.records[1].state.progress[0][0].puzzles[0].completed) << "the second Bob's solve stays";
    EXPECT_EQ(disk.records[1].state.progress[0][0].unlock, 2);
    EXPECT_EQ(disk.records[2].name, L"");

    // "Ann", made here, stands in slot 2 when the other game moves her to slot 4 (as a merge in a game that
    // had another profile in slot 2 would) and solves a puzzle for her: she is followed, not doubled.
    ProfileManager::CreateProfile(L"Ann");
    ProfileManager::SelectProfile(0);
    ASSERT_TRUE(SaveProfiles());
    ASSERT_TRUE(InOtherGame([] {
        ProfileManager();
        std::swap(gProfileList.records[2], gProfileList.records[4]);
        gProfileList.records[4].state.progress[0][0].puzzles[1].completed = true;
        if (!SaveProfiles())
            std::_Exit(2);
    }));
    ASSERT_TRUE(SaveProfiles());
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(ProfilesPath().string(), disk));
    EXPECT_EQ(disk.records[2].name, L"Ann");
    EXPECT_TRUE(disk.records[2].state.progress[0][0].puzzles[1].completed);
    EXPECT_EQ(disk.records[4].name, L"") << "one Ann";
    EXPECT_TRUE(disk.records[1].state.progress[0][0].puzzles[0].completed);
}

// profiles.xml as a link to a file elsewhere: saves write that file (a temporary file beside it, then a
// rename) and the link stays a link.
TEST_F(ProfileTest, ALinkedProfilesFileIsSavedWhereTheLinkLeads)
{
    fs::create_directories(folder / "synced");
    fs::create_symlink("synced/mine.xml", ProfilesPath());
    ProfileManager();
    ProfileManager::CreateProfile(L"Linked");
    ASSERT_TRUE(SaveProfiles());
    GetCurrentPlayerState()->progress[0][0].puzzles[0].completed = true;
    ASSERT_TRUE(SaveProfiles());
    EXPECT_TRUE(fs::is_symlink(ProfilesPath()));
    ProfileList saved;
    ASSERT_TRUE(ProfileManager::ReadProfilesFile((folder / "synced" / "mine.xml").string(), saved));
    EXPECT_EQ(saved.records[0].name, L"Linked");
    EXPECT_TRUE(saved.records[0].state.progress[0][0].puzzles[0].completed);
    ProfileManager();
    EXPECT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    EXPECT_TRUE(GetCurrentPlayerState()->progress[0][0].puzzles[0].completed);
}

// A UTF-16 profiles.xml with an unpaired surrogate before "ice": the name read "Al" U+10069 "ce".
TEST_F(ProfileTest, AnUnpairedSurrogateInANameReadsAsAReplacementCharacter)
{
    fs::copy_file(fs::path(TARNVALE_TEST_DATA_DIR) / "puzzle" / "unpaired-surrogate-profiles.xml",
                  ProfilesPath());
    ProfileManager();
    ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    EXPECT_EQ(gProfileList.records[0].name, L"Al\uFFFDice");
    EXPECT_FALSE(fs::exists(folder / "profiles.xml.cut"));
}

// A folder that cannot take the file: the player is told once where and why, and play goes on.
TEST_F(ProfileTest, AFailedSaveIsToldOnceAndPlayGoesOn)
{
    std::vector<std::string> told;
    // A file where the folder should be fails every write, whoever runs the test.
    WriteBytes(folder / "blocked", "not a folder");
    ProfileEnvironment environment;
    environment.dataFolder = (folder / "blocked").string() + "/";
    environment.afterSave = [] {};
    environment.playerNameChanged = [](const std::wstring&) {};
    environment.saveFailed = [&told](const std::string& where, const std::string& reason) {
        told.push_back(where + ": " + reason);
    };
    ProfileManager::SetEnvironment(environment);
    ProfileManager();
    ProfileManager::CreateProfile(L"Robin");
    EXPECT_FALSE(SaveProfiles());
    GetCurrentPlayerState()->progress[0][0].puzzles[0].completed = true;
    EXPECT_FALSE(SaveProfiles());
    ASSERT_EQ(told.size(), 1u) << "told once, not at every save";
    EXPECT_EQ(told[0].rfind((folder / "blocked").string(), 0), 0u) << told[0];
    EXPECT_GT(told[0].size(), (folder / "blocked").string().size() + 2) << "with the reason";
    EXPECT_TRUE(GetCurrentPlayerState()->progress[0][0].puzzles[0].completed) << "the game keeps its state";
}

// A newer version's additions anywhere in the file (attributes of modes and properties, elements of its own
// at any level, with their children and text) are written back as they were read.
TEST_F(ProfileTest, ElementsOfANewerVersionSurviveASave)
{
    WriteBytes(
        ProfilesPath(),
        "<profiles selected=\"0\"><cloud sync=\"on\"><server>a &amp; b</server></cloud>"
        "<profile name=\"Ann\"><avatar kind=\"owl\"/><state><mode layout=\"wide\"><set unlock=\"1\">"
        "<puzzle completed=\"1\"><replay moves=\"3\"/></puzzle><stars count=\"2\"/></set><trophy/></mode>"
        "<property name=\"seen\" type=\"bool\" value=\"1\" since=\"v2\"/><badge id=\"7\">gold</badge>"
        "</state></profile></profiles>");
    ProfileManager();
    ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    EXPECT_TRUE(GetCurrentPlayerState()->progress[0][0].puzzles[0].completed);
    ASSERT_TRUE(SaveProfiles());
    const std::wstring text = ProfileManager::FormatProfiles(gProfileList);
    for (const wchar_t* kept :
         {L"<cloud sync=\"on\"><server>a &amp; b</server></cloud></profiles>",
          L"<avatar kind=\"owl\"></avatar></profile>", L"<mode layout=\"wide\">",
          L"<replay moves=\"3\"></replay><stars count=\"2\"></stars></set>", L"<trophy></trophy></mode>",
          L" since=\"v2\"/>", L"<badge id=\"7\">gold</badge></state>"})
        EXPECT_NE(text.find(kept), std::wstring::npos) << WStringToString(kept);

    ProfileManager();
    EXPECT_EQ(ProfileManager::FormatProfiles(gProfileList), text) << "read back, written again: the same";
    EXPECT_FALSE(fs::exists(folder / "profiles.xml.cut"));

    ProfileManager::SetProfile(0, L"Bea");
    EXPECT_EQ(ProfileManager::FormatProfiles(gProfileList).find(L"avatar"), std::wstring::npos)
        << "a new profile in the slot does not inherit the old one's additions";
}

// A player's private profiles.xml (0600) stays private through saves, and so do the backup and the copy
// kept aside, which hold the same progress; also when profiles.xml is a link to a file elsewhere.
TEST_F(ProfileTest, APrivateProfilesFileAndItsCopiesStayPrivate)
{
    const auto privateMode = fs::perms::owner_read | fs::perms::owner_write;
    fs::create_directories(folder / "synced");
    WriteBytes(folder / "synced" / "mine.xml",
               "<profiles selected=\"0\"><profile name=\"" + std::string(20, 'N') + "\"/></profiles>");
    fs::permissions(folder / "synced" / "mine.xml", privateMode);
    fs::create_symlink("synced/mine.xml", ProfilesPath());

    ProfileManager();
    ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    ASSERT_TRUE(fs::exists(folder / "profiles.xml.cut")) << "the over-long name was cut";
    EXPECT_EQ(fs::status(folder / "profiles.xml.cut").permissions(), privateMode);
    ASSERT_TRUE(SaveProfiles());
    GetCurrentPlayerState()->progress[0][0].puzzles[0].completed = true;
    ASSERT_TRUE(SaveProfiles());
    EXPECT_TRUE(fs::is_symlink(ProfilesPath()));
    EXPECT_EQ(fs::status(ProfilesPath()).permissions(), privateMode);
    ASSERT_TRUE(fs::exists(folder / "profiles.xml.bak"));
    EXPECT_EQ(fs::status(folder / "profiles.xml.bak").permissions(), privateMode);

    // Without the link, and over a backup an earlier save left more open.
    fs::remove(ProfilesPath());
    fs::copy_file(folder / "synced" / "mine.xml", ProfilesPath());
    fs::permissions(ProfilesPath(), privateMode);
    fs::permissions(folder / "profiles.xml.bak",
                    privateMode | fs::perms::group_read | fs::perms::others_read);
    ProfileManager();
    ASSERT_TRUE(SaveProfiles());
    EXPECT_EQ(fs::status(ProfilesPath()).permissions(), privateMode);
    EXPECT_EQ(fs::status(folder / "profiles.xml.bak").permissions(), privateMode);
}

// Under a file-size limit (ulimit -f) smaller than the save, the write past it had ended the game with
// SIGXFSZ, leaving a cut temporary file. With the signal ignored, as the program does at its start, the
// save fails as on a full disk: told once, the old file whole, no temporary file left, and play goes on.
TEST_F(ProfileTest, ASaveLargerThanTheFileSizeLimitFailsAndTheGameGoesOn)
{
    constexpr rlim_t kLimit = 40 * 1024;
    ProfileManager();
    ProfileManager::CreateProfile(L"Robin");
    GetCurrentPlayerState()->properties[L"diary"] = Value(std::wstring(20 * 1024, L'x'));
    ASSERT_TRUE(SaveProfiles());
    const std::string before = ReadBytes(ProfilesPath());
    ASSERT_GT(before.size(), kLimit) << "the old file is larger than the limit, as it may be";

    const pid_t child = ::fork();
    if (child == 0) {
        IgnoreFileSizeSignal();
        const rlimit limit{kLimit, kLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            std::_Exit(3);
        int told = 0;
        ProfileEnvironment environment = ProfileManager::GetEnvironment();
        environment.saveFailed = [&told](const std::string&, const std::string&) { ++told; };
        ProfileManager::SetEnvironment(environment);
        GetCurrentPlayerState()->progress[0][0].puzzles[0].completed = true;
        const bool first = SaveProfiles();
        const bool second = SaveProfiles();
        std::_Exit(!first && !second && told == 1 ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "3: no limit set; 4: a save did not fail, or was not told once";
    EXPECT_TRUE(ReadBytes(ProfilesPath()) == before) << "the old file is whole";
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
            << entry.path().filename();
}

namespace {

int LogLinesNaming(const std::string& text)
{
    const std::vector<std::string> lines = LogWriter::GetShortLog();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&text](const std::string& line) {
        return line.find(text) != std::string::npos;
    }));
}

} // namespace

// A script's define-global of 8.4 million '>' (67 MB as written, each '>' being "&gt;" in UTF-16) made every
// later save larger than the game reads back, and refused: the session's play was lost. A variable too
// large to save is left out of the file, named once in the log, and stays set until the game ends; the
// rest of the player's progress and variables are saved, and what is saved reads back whole.
TEST_F(ProfileTest, AScriptVariableTooLargeToSaveIsLeftOutAndEverySaveSucceeds)
{
    ProfileManager();
    ProfileManager::CreateProfile(L"Robin");
    CurrentPlayerGlobalStore scripts;
    scripts.SetGlobal(L"visits", Value(41));
    scripts.SetGlobal(L"zoo", Value(std::wstring(8400000, L'>')));
    GetCurrentPlayerState()->progress[0][0].puzzles[0].completed = true;
    ASSERT_TRUE(SaveProfiles()) << "the session's play is saved";
    ASSERT_TRUE(SaveProfiles());
    EXPECT_LT(fs::file_size(ProfilesPath()), 64u * 1024);
    EXPECT_EQ(LogLinesNaming("\"zoo\" of the player \"Robin\" is not saved"), 1) << "named once";
    EXPECT_EQ(GetCurrentPlayerState()->properties.count(L"zoo"), 1u) << "still set for this run";

    const std::wstring written = ProfileManager::FormatProfiles(gProfileList);
    ProfileManager();
    ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    EXPECT_FALSE(fs::exists(folder / "profiles.xml.cut")) << "the file reads back whole";
    const PlayerState& loaded = *GetCurrentPlayerState();
    EXPECT_TRUE(loaded.progress[0][0].puzzles[0].completed);
    EXPECT_EQ(loaded.properties.at(L"visits").ToInt(), 41);
    EXPECT_EQ(loaded.properties.count(L"zoo"), 0u);
    EXPECT_EQ(ProfileManager::FormatProfiles(gProfileList), written) << "read back, written again: the same";
}

// Variables are saved only as far as they fit beside what else the profile keeps past what puzzles.xml
// shapes (here 37,000 puzzles a newer puzzles.xml had), counted as the reader counts it: the smaller
// variables are kept, and the file a save writes is read back whole, so it is never cut at the next start.
TEST_F(ProfileTest, ScriptVariablesAreSavedAsFarAsTheyFitBesideTheProfilesOtherContent)
{
    ProfileManager();
    ProfileManager::CreateProfile(L"Robin");
    PlayerState& state = *GetCurrentPlayerState();
    state.progress[0][0].puzzles.resize(2 + 37000);
    state.progress[0][0].puzzles.back().completed = true;
    state.properties[L"seen_map"] = Value(true);
    state.properties[L"atlas"] = Value(std::wstring(100000, L'a'));
    state.properties[L"diary"] = Value(std::wstring(100000, L'd'));
    std::vector<ProfileManager::LeftOutVariable> leftOut;
    ProfileManager::FormatProfiles(gProfileList, &leftOut);
    ASSERT_EQ(leftOut.size(), 1u) << "one of the two long ones fits beside the puzzles, not both";
    EXPECT_EQ(leftOut[0].profile, L"Robin");
    EXPECT_EQ(leftOut[0].name, L"diary");
    EXPECT_GT(leftOut[0].bytes, 200000u);
    ASSERT_TRUE(SaveProfiles());

    const std::wstring written = ProfileManager::FormatProfiles(gProfileList);
    ProfileManager();
    ASSERT_EQ(ProfileManager::LastLoadResult(), ProfileManager::LoadResult::Loaded);
    EXPECT_FALSE(fs::exists(folder / "profiles.xml.cut")) << "nothing read is left out";
    const PlayerState& loaded = *GetCurrentPlayerState();
    EXPECT_EQ(loaded.progress[0][0].puzzles.size(), 37002u);
    EXPECT_TRUE(loaded.progress[0][0].puzzles.back().completed);
    EXPECT_TRUE(loaded.properties.at(L"seen_map").ToBool());
    EXPECT_EQ(loaded.properties.at(L"atlas").GetString().size(), 100000u);
    EXPECT_EQ(loaded.properties.count(L"diary"), 0u);
    EXPECT_EQ(ProfileManager::FormatProfiles(gProfileList), written) << "read back, written again: the same";
}

// Two games on one folder: this one waits at its title with "Ann" chosen while the other deletes her (and
// makes "Eve", who takes her slot there) and quits; at this game's quit "Ann" came back. A profile deleted
// on disk since this game last read the file stays deleted unless it was played here since; a profile that
// was played here keeps its progress.
TEST_F(ProfileTest, AProfileTheOtherGameDeletedStaysDeletedUnlessItWasPlayedHere)
{
    ProfileManager();
    ProfileManager::CreateProfile(L"Bob");
    ProfileManager::CreateProfile(L"Ann");
    ProfileManager::CreateProfile(L"Cy");
    ProfileManager::SelectProfile(1);
    ASSERT_TRUE(SaveProfiles());
    ProfileManager();
    ASSERT_EQ(gProfileList.selected, 1);
    PlayerState* const current = GetCurrentPlayerState();

    ASSERT_TRUE(InOtherGame([] {
        ProfileManager();
        SetProfileNameChecked(1, L"");
        SetProfileNameChecked(2, L"");
        if (ProfileManager::CreateProfile(L"Eve") != 1 || !SaveProfiles())
            std::_Exit(2);
    }));
    // Cy was played here meanwhile; Ann, the current player, was not.
    gProfileList.records[2].state.progress[0][0].puzzles[1].completed = true;
    ASSERT_TRUE(SaveProfiles()) << "this game quits";

    ProfileList disk;
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(ProfilesPath().string(), disk));
    for (const ProfileRecord& record : disk.records)
        EXPECT_NE(record.name, L"Ann") << "the deletion stays";
    EXPECT_EQ(disk.records[0].name, L"Bob");
    EXPECT_EQ(disk.records[2].name, L"Cy") << "played here: kept";
    EXPECT_TRUE(disk.records[2].state.progress[0][0].puzzles[1].completed);
    EXPECT_EQ(disk.records[3].name, L"Eve") << "the current player's slot is not given to another profile";
    EXPECT_EQ(GetCurrentPlayerState(), current) << "the current state stays where the screens hold it";
    EXPECT_EQ(playerName, L"");

    // Bob, not played here and not current, deleted there: gone here too.
    ASSERT_TRUE(InOtherGame([] {
        ProfileManager();
        SetProfileNameChecked(0, L"");
        if (!SaveProfiles())
            std::_Exit(2);
    }));
    ASSERT_TRUE(SaveProfiles());
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(ProfilesPath().string(), disk));
    EXPECT_EQ(disk.records[0].name, L"");
    EXPECT_EQ(gProfileList.records[0].name, L"");
    EXPECT_EQ(disk.records[2].name, L"Cy");
    EXPECT_EQ(disk.records[3].name, L"Eve");
}
