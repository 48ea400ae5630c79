#include "resources/Assets.h"
#include "resources/PakInterface.h"
#include "resources/Parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// Stands in for the renderer's images: the registry only passes the pointers around.
struct FakeImage
{
    ImageSource m_source;
    bool m_hasPixels = false;
};

// The fake loader rewrites a reloaded image's source; a test that reads it from another thread while a
// group loads takes this lock, as a real image guards its pixels.
std::mutex gFakeSourceMutex;

FakeImage* Fake(Image* image)
{
    return reinterpret_cast<FakeImage*>(image);
}

class AssetsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pak.AddSearchRoot(std::string(TARNVALE_TEST_DATA_DIR) + "/resources");
        SetPakInterface(&m_pak);
    }
    void TearDown() override
    {
        m_assets.reset();
        SetPakInterface(nullptr);
    }

    void InstallLoaders()
    {
        m_assets->SetImageLoaders(
            [this](const ImageSource& source, Image* existing) -> Image* {
                Log("image " + source.m_file);
                FakeImage* image = existing ? Fake(existing) : new FakeImage;
                m_created += existing ? 0 : 1;
                {
                    std::lock_guard lock(gFakeSourceMutex);
                    image->m_source = source;
                }
                image->m_hasPixels = true;
                return reinterpret_cast<Image*>(image);
            },
            [this](Image* image) {
                Log("unload image " + Fake(image)->m_source.m_file);
                Fake(image)->m_hasPixels = false;
            },
            [this](Image* image) {
                ++m_destroyed;
                delete Fake(image);
            });
        m_assets->SetSoundLoaders(
            [this](int id, const std::string& file) {
                Log("sound " + std::to_string(id) + " " + file);
                if (m_stopAfterFirstSound) {
                    m_stop = true;
                }
                return true;
            },
            [this](int id) { Log("release sound " + std::to_string(id)); });
        // Music exists only as mp3, voices and ambience as ogg.
        m_assets->SetSongLoaders(
            Assets::Kind::Music,
            [this](int id, const std::string& file) {
                Log("music " + std::to_string(id) + " " + file);
                return file.ends_with(".mp3");
            },
            [this](int id) { Log("unload music " + std::to_string(id)); });
        m_assets->SetSongLoaders(
            Assets::Kind::Voice, [this](int, const std::string& file) { return Log("voice " + file), true; },
            [](int) {});
        m_assets->SetSongLoaders(
            Assets::Kind::Ambience,
            [this](int, const std::string& file) { return Log("ambience " + file), true; }, [](int) {});
    }

    void Log(const std::string& line)
    {
        std::lock_guard lock(m_logMutex);
        m_log.push_back(line);
    }

    std::vector<std::string> TakeLog()
    {
        std::lock_guard lock(m_logMutex);
        std::vector<std::string> log = std::move(m_log);
        m_log.clear();
        return log;
    }

    bool Logged(const std::vector<std::string>& log, const std::string& line)
    {
        return std::find(log.begin(), log.end(), line) != log.end();
    }

    PakInterface m_pak;
    std::unique_ptr<Assets> m_assets = std::make_unique<Assets>();
    std::mutex m_logMutex;
    std::vector<std::string> m_log;
    int m_created = 0;
    int m_destroyed = 0;
    bool m_stopAfterFirstSound = false;
    std::atomic<bool> m_stop{false};
};

TEST_F(AssetsTest, IdsAreGivenAtRegistrationAndNothingLoadsByItself)
{
    InstallLoaders();
    ASSERT_TRUE(m_assets->ReadFile());
    EXPECT_EQ(m_assets->GetRegisteredId(Assets::Kind::Sound, L"click"), 0);
    EXPECT_EQ(m_assets->GetRegisteredId(Assets::Kind::Sound, L"bird"), 1);
    EXPECT_EQ(m_assets->GetRegisteredId(Assets::Kind::Music, L"theme"), 0);
    EXPECT_EQ(m_assets->GetId(Assets::Kind::Sound, L"click"), -1);
    EXPECT_EQ(m_assets->GetImage(L"logo"), nullptr);
    EXPECT_TRUE(TakeLog().empty());

    // Absent names get empty look-up entries that take no id from registered ones and load nothing.
    EXPECT_EQ(m_assets->GetImage(L"no_such_image"), nullptr);
    EXPECT_EQ(m_assets->GetRegisteredId(Assets::Kind::Sound, L"no_such_sound"), -1);
    EXPECT_FALSE(m_assets->Load(Assets::Kind::Sound, L"no_such_sound"));

    // Reading the file again keeps the ids.
    ASSERT_TRUE(m_assets->ReadFile());
    EXPECT_EQ(m_assets->GetRegisteredId(Assets::Kind::Sound, L"bird"), 1);
    EXPECT_FALSE(m_assets->ReadFile("missing.xml"));
}

TEST_F(AssetsTest, StartupGroupsFirstThenTheLoadingThreadsGroups)
{
    InstallLoaders();
    ASSERT_TRUE(m_assets->FirstPass());
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"image images/logo", "sound 0 sounds/click"}));
    Image* logo = m_assets->GetImage(L"logo");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(Fake(logo)->m_source.m_cols, 2);
    EXPECT_EQ(Fake(logo)->m_source.m_rows, 3);
    EXPECT_EQ(m_assets->GetId(Assets::Kind::Sound, L"click"), 0);
    EXPECT_EQ(m_assets->GetImage(L"background"), nullptr);

    m_assets->FullPass();
    std::vector<std::string> log = TakeLog();
    EXPECT_TRUE(Logged(log, "image images/background"));
    EXPECT_TRUE(Logged(log, "music 0 music/theme.ogg"));
    EXPECT_TRUE(Logged(log, "music 0 music/theme.mp3"));
    EXPECT_FALSE(Logged(log, "voice voice/hello.mp3"));
    EXPECT_TRUE(Logged(log, "ambience ambience/wind.ogg"));
    EXPECT_EQ(m_assets->GetId(Assets::Kind::Music, L"theme"), 0);
    EXPECT_EQ(m_assets->GetId(Assets::Kind::Voice, L"hello"), 0);
    // Demand groups wait to be asked for.
    EXPECT_EQ(m_assets->GetImage(L"tree"), nullptr);
}

TEST_F(AssetsTest, AtlasPiecesShareOneLoadOfTheirAtlas)
{
    InstallLoaders();
    m_assets->ReadFile();
    m_assets->LoadGroups(Assets::GroupLoad::Thread);
    std::vector<std::string> log = TakeLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "image images/sheet"), 3); // the atlas, then each piece

    Image* star = m_assets->GetImage(L"star");
    Image* moon = m_assets->GetImage(L"moon");
    ASSERT_NE(star, nullptr);
    ASSERT_NE(moon, nullptr);
    const ImageSource& source = Fake(star)->m_source;
    ASSERT_NE(source.m_atlas, nullptr);
    EXPECT_EQ(source.m_atlas, Fake(moon)->m_source.m_atlas);
    EXPECT_EQ(Fake(source.m_atlas)->m_source.m_atlas, nullptr);
    EXPECT_EQ((std::vector<int>{source.m_x, source.m_y, source.m_width, source.m_height, source.m_cols}),
              (std::vector<int>{1, 2, 30, 40, 2}));

    Image* atlas = source.m_atlas;
    m_assets->Unload(Assets::Kind::Image, L"star");
    EXPECT_TRUE(Fake(atlas)->m_hasPixels);
    m_assets->Unload(Assets::Kind::Image, L"moon");
    EXPECT_FALSE(Fake(atlas)->m_hasPixels);
}

TEST_F(AssetsTest, AnUnloadedImageKeepsItsObjectAndReloadsIntoIt)
{
    InstallLoaders();
    m_assets->FirstPass();
    Image* logo = m_assets->GetImage(L"logo");
    ASSERT_NE(logo, nullptr);
    m_assets->Unload(Assets::Kind::Image, L"logo");
    EXPECT_EQ(m_assets->GetImage(L"logo"), nullptr);
    EXPECT_FALSE(Fake(logo)->m_hasPixels); // a widget still holding it reads a valid, empty image
    m_assets->Load(Assets::Kind::Image, L"logo");
    EXPECT_EQ(m_assets->GetImage(L"logo"), logo);
    EXPECT_EQ(m_created, 1);

    m_assets->Clear();
    EXPECT_EQ(m_destroyed, 1);
    EXPECT_EQ(m_assets->GetRegisteredId(Assets::Kind::Image, L"logo"), -1);
}

TEST_F(AssetsTest, SetGroupsLoadAndReleaseWhatTheNextSetDoesNotNeed)
{
    InstallLoaders();
    m_assets->ReadFile();
    ResourceSet record;
    m_assets->PrepareGroupLoad(L"forest", record);
    EXPECT_EQ(record.m_flags, ResourceSet::kPrepared);
    EXPECT_EQ(record.m_images, (std::set<std::wstring>{L"tree", L"shared"}));
    EXPECT_EQ(record.m_sounds, (std::set<std::wstring>{L"bird"}));
    EXPECT_TRUE(m_assets->LoadGroup(L"", record, &m_stop, L""));
    EXPECT_NE(m_assets->GetImage(L"tree"), nullptr);
    EXPECT_NE(m_assets->GetImage(L"shared"), nullptr);
    EXPECT_EQ(m_assets->GetId(Assets::Kind::Sound, L"bird"), 1);
    TakeLog();

    m_assets->PrepareGroupLoad(L"desert", record);
    EXPECT_TRUE(m_assets->LoadGroup(L"", record, &m_stop, L""));
    std::vector<std::string> log = TakeLog();
    EXPECT_TRUE(Logged(log, "unload image images/tree"));
    EXPECT_TRUE(Logged(log, "release sound 1"));
    EXPECT_TRUE(Logged(log, "image images/cactus"));
    EXPECT_FALSE(Logged(log, "unload image images/shared"));
    EXPECT_FALSE(Logged(log, "image images/shared"));
    EXPECT_EQ(m_assets->GetImage(L"tree"), nullptr);
    ASSERT_NE(m_assets->GetImage(L"cactus"), nullptr);
    // Cell counts below one in the file read as one.
    EXPECT_EQ(Fake(m_assets->GetImage(L"cactus"))->m_source.m_cols, 1);
    EXPECT_EQ(Fake(m_assets->GetImage(L"cactus"))->m_source.m_rows, 1);

    ResourceSet unknown;
    m_assets->PrepareGroupLoad(L"no_such_set", unknown);
    EXPECT_EQ(unknown.m_flags, 0);
    EXPECT_TRUE(unknown.IsEmpty());
}

TEST_F(AssetsTest, EntriesOfALoadedGroupAreNotReleasedBySetChanges)
{
    InstallLoaders();
    m_assets->ReadFile();
    ASSERT_TRUE(m_assets->LoadGroup(L"game"));
    ResourceSet record;
    m_assets->PrepareGroupLoad(L"forest", record);
    m_assets->LoadGroup(L"", record, nullptr, L"");
    m_assets->PrepareGroupLoad(L"desert", record);
    m_assets->LoadGroup(L"", record, nullptr, L"");
    EXPECT_NE(m_assets->GetImage(L"tree"), nullptr); // "game" still needs it

    m_assets->UnloadGroup(L"game");
    EXPECT_EQ(m_assets->GetImage(L"tree"), nullptr);
    EXPECT_EQ(m_assets->GetImage(L"board"), nullptr);
    EXPECT_NE(m_assets->GetImage(L"cactus"), nullptr);
    EXPECT_FALSE(m_assets->LoadGroup(L"no_such_group"));
}

TEST_F(AssetsTest, TheStopFlagStopsBetweenEntries)
{
    InstallLoaders();
    m_assets->ReadFile();
    m_stopAfterFirstSound = true;
    ResourceSet record;
    m_assets->PrepareGroupLoad(L"forest", record);
    record.m_images.clear();
    record.m_sounds.insert(L"click");
    EXPECT_FALSE(m_assets->LoadGroup(L"", record, &m_stop, L""));
    EXPECT_EQ(TakeLog().size(), 1u);

    m_stop = true;
    EXPECT_FALSE(m_assets->LoadGroup(L"forest", &m_stop));
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(AssetsTest, MissingLoadersMeanNotLoaded)
{
    ASSERT_TRUE(m_assets->FirstPass());
    m_assets->FullPass();
    ASSERT_TRUE(m_assets->LoadGroup(L"forest"));
    EXPECT_EQ(m_assets->GetImage(L"star"), nullptr);
    EXPECT_EQ(m_assets->GetId(Assets::Kind::Music, L"theme"), -1);
    m_assets->UnloadAll();
    m_assets->Clear();
}

TEST_F(AssetsTest, UnloadAllReleasesEverythingAndKeepsTheEntries)
{
    InstallLoaders();
    m_assets->FirstPass();
    m_assets->FullPass();
    TakeLog();
    m_assets->UnloadAll();
    std::vector<std::string> log = TakeLog();
    EXPECT_TRUE(Logged(log, "unload image images/logo"));
    EXPECT_TRUE(Logged(log, "release sound 0"));
    EXPECT_TRUE(Logged(log, "unload music 0"));
    EXPECT_TRUE(Logged(log, "unload image images/sheet"));
    EXPECT_EQ(m_assets->GetId(Assets::Kind::Sound, L"click"), -1);
    EXPECT_EQ(m_assets->GetRegisteredId(Assets::Kind::Sound, L"click"), 0);
    m_assets.reset();
    EXPECT_EQ(m_destroyed, m_created); // every image object, the atlas included, is destroyed
}

TEST_F(AssetsTest, LookupsFromOtherThreadsWhileAGroupLoads)
{
    InstallLoaders();
    m_assets->ReadFile();
    std::atomic<bool> done{false};
    std::thread loader([&] {
        for (int i = 0; i < 50; ++i) {
            m_assets->LoadGroup(L"forest");
            m_assets->UnloadGroup(L"forest");
        }
        done = true;
    });
    std::thread reader([&] {
        int round = 0;
        while (!done) {
            Image* tree = m_assets->GetImage(L"tree");
            if (tree != nullptr) {
                std::lock_guard lock(gFakeSourceMutex);
                EXPECT_EQ(Fake(tree)->m_source.m_file, "images/tree");
            }
            int bird = m_assets->GetId(Assets::Kind::Sound, L"bird");
            EXPECT_TRUE(bird == -1 || bird == 1);
            m_assets->GetImage(L"name_" + std::to_wstring(round++ % 100));
        }
    });
    while (!done) {
        m_assets->GetId(Assets::Kind::Sound, L"bird");
        m_assets->GetImage(L"shared");
    }
    loader.join();
    reader.join();
}

class MusicAttributeReader : public Parser
{
public:
    std::vector<int> m_ids;

protected:
    void HandleElementStart(const std::wstring& name) override
    {
        if (name == L"play") {
            m_ids.push_back(GetAttributeMusicId(L"music"));
        }
    }
};

TEST_F(AssetsTest, FreeLookupsAndMusicAttributesUseTheRunningGamesRegistry)
{
    Assets& game = Assets::Get();
    game.SetSongLoaders(
        Assets::Kind::Music, [](int, const std::string&) { return true; }, [](int) {});
    game.SetSoundLoaders([](int, const std::string&) { return true; }, [](int) {});
    ASSERT_TRUE(game.ReadFile());
    ASSERT_TRUE(game.LoadGroup(L"main"));
    game.Load(Assets::Kind::Sound, L"bird");
    EXPECT_EQ(LookupMusicId(L"theme"), 0);
    EXPECT_EQ(GetSoundId(L"bird"), 1);
    EXPECT_EQ(GetSoundId(L"click"), -1);
    EXPECT_EQ(LookupVoiceId(L"hello"), -1); // no voice loader
    EXPECT_EQ(GetImage(L"background"), nullptr);

    MusicAttributeReader reader;
    ASSERT_TRUE(
        reader.ParseBytes("<r><play music=\"theme\"/><play music=\"nothing\"/><play/></r>", "inline"));
    EXPECT_EQ(reader.m_ids, (std::vector<int>{0, -1, -1}));

    game.Clear();
    game.SetSongLoaders(Assets::Kind::Music, {}, {});
    game.SetSoundLoaders({}, {});
}

} // namespace
