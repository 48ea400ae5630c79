#include "base/LogWriter.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class LogWriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tarnvale-log-XXXXXX").string();
        m_folder = std::string(mkdtemp(pattern.data())) + "/";
    }
    void TearDown() override
    {
        LogWriter::Close();
        fs::remove_all(m_folder);
    }

    // The text after a "[YYYY-MM-DD HH:MM:SS] " prefix; "<no prefix>" when the prefix is malformed.
    static std::string Body(const std::string& line)
    {
        const std::string shape = "[dddd-dd-dd dd:dd:dd] ";
        bool matches = line.size() >= shape.size();
        for (size_t i = 0; matches && i < shape.size(); ++i)
            matches =
                shape[i] == 'd' ? std::isdigit(static_cast<unsigned char>(line[i])) : line[i] == shape[i];
        return matches ? line.substr(shape.size()) : "<no prefix>";
    }

    std::vector<std::string> FileLines(const char* name) const
    {
        std::ifstream file(m_folder + name);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    std::string m_folder;
};

} // namespace

TEST_F(LogWriterTest, LinesCarryTheDateAndTimePrefix)
{
    ASSERT_TRUE(LogWriter::Open(m_folder, 10));
    LogWriter::WriteLine(std::string("Played 12 minutes"));
    LogWriter::WriteLine(std::wstring(L"Spieler Jürgen"));

    std::vector<std::string> lines = FileLines(LogWriter::kLogFileName);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Body(lines[0]), "Played 12 minutes");
    EXPECT_EQ(Body(lines[1]), "Spieler J\xC3\xBCrgen");
}

TEST_F(LogWriterTest, TheShortLogKeepsOnlyTheLastLines)
{
    ASSERT_TRUE(LogWriter::Open(m_folder, 3));
    for (int i = 1; i <= 5; ++i) {
        LogWriter::WriteLine("line " + std::to_string(i));
    }
    std::vector<std::string> kept = LogWriter::GetShortLog();
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_TRUE(kept[0].ends_with("line 3"));
    EXPECT_TRUE(kept[2].ends_with("line 5"));

    LogWriter::Close();
    EXPECT_EQ(FileLines(LogWriter::kLogFileName).size(), 5u);
    EXPECT_EQ(FileLines(LogWriter::kShortLogFileName), kept);
}

TEST_F(LogWriterTest, ReopeningAppendsAndLinesWithoutAFileStayInMemory)
{
    LogWriter::WriteLine("before the log is open");
    EXPECT_FALSE(LogWriter::IsOpen());
    ASSERT_TRUE(LogWriter::Open(m_folder, 50));
    EXPECT_TRUE(LogWriter::GetShortLog().back().ends_with("before the log is open"));
    LogWriter::WriteLine("first run");
    LogWriter::Close();
    ASSERT_TRUE(LogWriter::Open(m_folder, 50));
    LogWriter::WriteLine("second run");
    LogWriter::Close();
    EXPECT_FALSE(LogWriter::Open(m_folder + "missing/", 50));
    LogWriter::WriteLine("kept in memory");
    EXPECT_TRUE(LogWriter::GetShortLog().back().ends_with("kept in memory"));

    std::vector<std::string> lines = FileLines(LogWriter::kLogFileName);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].ends_with("first run"));
    EXPECT_TRUE(lines[1].ends_with("second run"));
}
