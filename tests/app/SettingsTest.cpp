#include "app/Settings.h"

#include "base/Common.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tarnvale-settings-XXXXXX").string();
        m_folder = std::string(mkdtemp(pattern.data())) + "/";
        m_path = m_folder + "settings.xml";
    }
    void TearDown() override { fs::remove_all(m_folder); }

    void WriteBytes(const std::string& path, const std::string& bytes) const
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::string ReadBytes(const std::string& path) const
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    static Settings Changed()
    {
        Settings s;
        s.m_musicVolume = 0.5;
        s.m_sfxVolume = 0.25;
        s.m_voiceVolume = 0;
        s.m_mouseSpeed = 14;
        s.m_windowed = false;
        s.m_stretchScreen = true;
        s.m_preferredX = 120;
        s.m_preferredY = -40;
        s.m_waitForVsync = false;
        s.m_inProgress = true;
        s.m_customCursors = false;
        return s;
    }

    std::string m_folder;
    std::string m_path;
};

} // namespace

TEST_F(SettingsTest, WritesOneElementInUtf16WithAByteOrderMark)
{
    ASSERT_TRUE(WriteSettingsFile(m_path, Settings{}));
    std::wstring expected =
        L"<settings version=\"1\" music=\"0.85\" sfx=\"0.85\" mouse-speed=\"10\" windowed=\"1\" "
        L"stretch-screen=\"0\" preferred-x=\"-1\" preferred-y=\"-1\" wait-for-vsync=\"1\" "
        L"in-progress=\"0\" custom-cursors=\"1\" voice=\"0.85\"/>\n";
    EXPECT_EQ(ReadBytes(m_path), "\xFF\xFE" + WStringToUtf16LE(expected));
}

TEST_F(SettingsTest, AMissingFileChangesNothingAndEveryValueSurvivesARoundTrip)
{
    Settings read = Changed();
    EXPECT_EQ(ReadSettingsFile(m_path, read), SettingsReadResult::Missing);
    EXPECT_EQ(read, Changed());

    ASSERT_TRUE(WriteSettingsFile(m_path, Changed()));
    read = Settings{};
    EXPECT_EQ(ReadSettingsFile(m_path, read), SettingsReadResult::Read);
    EXPECT_EQ(read, Changed());

    // Writing again replaces the file rather than appending to it.
    ASSERT_TRUE(WriteSettingsFile(m_path, Settings{}));
    EXPECT_EQ(ReadSettingsFile(m_path, read), SettingsReadResult::Read);
    EXPECT_EQ(read, Settings{});
}

TEST_F(SettingsTest, AbsentAttributesKeepDefaultsAndOddValuesAreTamed)
{
    WriteBytes(m_path, "<?xml version=\"1.0\"?>\n<settings music=\"3.5\" sfx=\"-1\" windowed=\"true\" "
                       "custom-cursors=\"0\" preferred-x=\"abc\" unknown=\"x\"/>");
    Settings settings = Changed();
    EXPECT_EQ(ReadSettingsFile(m_path, settings), SettingsReadResult::Read);
    Settings expected;
    expected.m_musicVolume = 1.0;
    expected.m_sfxVolume = 0.0;
    expected.m_windowed = true;
    expected.m_customCursors = false;
    expected.m_preferredX = 0;
    expected.m_otherAttributes[L"unknown"] = L"x";
    EXPECT_EQ(settings, expected);
}

TEST_F(SettingsTest, AttributesOfANewerVersionSurviveARewrite)
{
    WriteBytes(m_path, "<settings version=\"2\" music=\"0.5\" hdr=\"on\" quote=\"a&quot;&amp;&lt;b\"/>");
    Settings settings;
    ASSERT_EQ(ReadSettingsFile(m_path, settings), SettingsReadResult::Read);
    ASSERT_TRUE(WriteSettingsFile(m_path, settings));
    Settings reread;
    ASSERT_EQ(ReadSettingsFile(m_path, reread), SettingsReadResult::Read);
    EXPECT_EQ(reread, settings);
    EXPECT_EQ(reread.m_otherAttributes.at(L"hdr"), L"on");
    EXPECT_EQ(reread.m_otherAttributes.at(L"quote"), L"a\"&<b");
}

TEST_F(SettingsTest, AMalformedFileGivesTheDefaultsAndIsKeptAside)
{
    const std::string broken = "\xFF\xFE" + WStringToUtf16LE(L"<settings music=\"0.3\" sfx=");
    WriteBytes(m_path, broken);
    Settings settings = Changed();
    std::string movedTo;
    EXPECT_EQ(ReadSettingsFile(m_path, settings, &movedTo), SettingsReadResult::Malformed);
    EXPECT_EQ(settings, Settings{});
    EXPECT_EQ(movedTo, m_path + ".bad");
    EXPECT_EQ(ReadBytes(movedTo), broken);
    EXPECT_FALSE(fs::exists(m_path));

    // Well-formed XML without the settings element is no better; it does not overwrite the first one kept.
    WriteBytes(m_path, "<profiles><settings music=\"0.1\"/></profiles>");
    EXPECT_EQ(ReadSettingsFile(m_path, settings, &movedTo), SettingsReadResult::Malformed);
    EXPECT_EQ(movedTo, m_path + ".bad2");
    EXPECT_EQ(ReadBytes(m_path + ".bad"), broken);

    // A FIFO (or any other non-file) in its place would block the start for ever if it were opened to read.
    ASSERT_EQ(::mkfifo(m_path.c_str(), 0600), 0);
    EXPECT_EQ(ReadSettingsFile(m_path, settings, &movedTo), SettingsReadResult::Malformed);
    EXPECT_EQ(movedTo, m_path + ".bad3");
    EXPECT_FALSE(fs::exists(m_path));
}

// Unknown attributes were written back escaped and in UTF-16: a 300 KB file of '>' came back as 2.4 MB, and
// 70,000 short attributes (689 KB) as 1.38 MB, which the next start called too large and moved aside, so the
// player's settings were lost. Unknown attributes are kept only as far as the file written back stays
// small; the whole file is copied aside once, and what is written reads again, with the settings.
TEST_F(SettingsTest, UnknownAttributesAreKeptOnlyAsFarAsTheFileWrittenBackStaysReadable)
{
    std::string many = "<settings music=\"0.3\"";
    for (int i = 0; i < 70000; ++i)
        many += " x" + std::to_string(i) + "=\"" + std::to_string(i % 10) + "\"";
    many += "/>";
    const std::string angles = "<settings sfx=\"0.2\" note=\"" + std::string(300000, '>') + "\" a=\"kept\"/>";
    for (const std::string& original : {many, angles}) {
        SCOPED_TRACE(original.size());
        WriteBytes(m_path, original);
        Settings settings;
        ASSERT_EQ(ReadSettingsFile(m_path, settings), SettingsReadResult::Read);
        EXPECT_EQ(ReadBytes(m_path + ".cut"), original) << "the whole file is kept";
        ASSERT_TRUE(WriteSettingsFile(m_path, settings));
        EXPECT_LE(fs::file_size(m_path), 64u * 1024 + 1024);

        Settings reread;
        std::string movedTo;
        ASSERT_EQ(ReadSettingsFile(m_path, reread, &movedTo), SettingsReadResult::Read) << movedTo;
        EXPECT_EQ(reread, settings);
        EXPECT_FALSE(fs::exists(m_path + ".cut1")) << "what the game wrote is whole: no second copy";
        fs::remove(m_path + ".cut");
    }
    Settings settings;
    ASSERT_EQ(ReadSettingsFile(m_path, settings), SettingsReadResult::Read);
    EXPECT_DOUBLE_EQ(settings.m_sfxVolume, 0.2);
    EXPECT_EQ(settings.m_otherAttributes.at(L"a"), L"kept") << "what fits is kept";
    EXPECT_EQ(settings.m_otherAttributes.count(L"note"), 0u);
}

// settings.xml as a link to a file elsewhere: the save writes that file and the link stays.
TEST_F(SettingsTest, ALinkedFileIsWrittenWhereTheLinkLeads)
{
    fs::create_directories(m_folder + "synced");
    ASSERT_TRUE(WriteSettingsFile(m_folder + "synced/settings.xml", Settings{}));
    fs::create_symlink("synced/settings.xml", m_path);
    ASSERT_TRUE(WriteSettingsFile(m_path, Changed()));
    EXPECT_TRUE(fs::is_symlink(m_path));
    Settings read;
    ASSERT_EQ(ReadSettingsFile(m_folder + "synced/settings.xml", read), SettingsReadResult::Read);
    EXPECT_EQ(read, Changed());
}

// A player's private settings.xml (0600), or the file its link leads to, stays private through saves; the
// copy kept aside when attributes are left out is as private as the file it copies.
TEST_F(SettingsTest, APrivateFileStaysPrivate)
{
    const auto privateMode = fs::perms::owner_read | fs::perms::owner_write;
    fs::create_directories(m_folder + "synced");
    WriteBytes(m_folder + "synced/settings.xml",
               "<settings sfx=\"0.2\" note=\"" + std::string(70000, 'x') + "\"/>");
    fs::permissions(m_folder + "synced/settings.xml", privateMode);
    fs::create_symlink("synced/settings.xml", m_path);

    Settings settings;
    ASSERT_EQ(ReadSettingsFile(m_path, settings), SettingsReadResult::Read);
    ASSERT_TRUE(WriteSettingsFile(m_path, settings));
    ASSERT_TRUE(WriteSettingsFile(m_path, Changed()));
    EXPECT_TRUE(fs::is_symlink(m_path));
    EXPECT_EQ(fs::status(m_path).permissions(), privateMode);
    EXPECT_EQ(fs::status(m_path + ".cut").permissions(), privateMode);
}
