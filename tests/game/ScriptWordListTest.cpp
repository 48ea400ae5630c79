#include "game/LevelCompleteMenu.h"
#include "game/LevelIntroMenu.h"
#include "game/LevelStatusMenu.h"
#include "game/SelectSetMenu.h"
#include "puzzle/PlayPuzzleMenu.h"
#include "puzzle/TutorialGrid.h"
#include "ui/ScriptWordTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Narrow(std::wstring_view text)
{
    return std::string(text.begin(), text.end());
}

// The rows of the three-column tables of one section of
// docs/script-commands.md, by the text of their first cell (its back quotes
// dropped): the third cell. Header rows are left out.
std::map<std::string, std::string> SectionRows(const std::string& heading)
{
    std::ifstream file(std::filesystem::path(TARNVALE_SOURCE_DIR) / "docs/script-commands.md");
    EXPECT_TRUE(file.good());
    std::map<std::string, std::string> rows;
    bool inSection = false;
    std::string lastKey;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with("## "))
            inSection = line == "## " + heading;
        if (inSection && line.starts_with("|-"))
            rows.erase(lastKey);
        if (!inSection || !line.starts_with("| "))
            continue;
        std::vector<std::string> cells;
        std::stringstream cellText(line.substr(1));
        for (std::string cell; std::getline(cellText, cell, '|');)
            cells.push_back(cell);
        if (cells.size() < 3)
            continue;
        lastKey = std::regex_replace(cells[0], std::regex("[` ]"), "");
        rows[lastKey] = cells[2];
    }
    return rows;
}

// The back-quoted words of a cell.
std::set<std::string> Words(const std::string& cell)
{
    std::set<std::string> words;
    const std::regex quoted("`([^`]+)`");
    for (std::sregex_iterator at(cell.begin(), cell.end(), quoted), end; at != end; ++at)
        words.insert((*at)[1]);
    return words;
}

std::string ReachLabel(ScriptReach reach)
{
    switch (reach) {
    case ScriptReach::Any:
        return "always";
    case ScriptReach::Object:
        return "with an object";
    case ScriptReach::Free:
        return "without an object";
    case ScriptReach::Target:
        return "object or layer";
    }
    return {};
}

template <class Rows> std::set<std::string> HostWordsOf(Rows rows)
{
    std::set<std::string> words;
    for (const auto& row : rows)
        words.insert(Narrow(row.word));
    return words;
}

// The page lists each family's words under the reach of their rows, and no
// family or word the tables do not have.
TEST(ScriptWordListTest, TheCommandsPageListsEveryWordOfEveryFamilyByItsReach)
{
    std::map<std::string, std::string> listed = SectionRows("Every word");
    for (const ScriptWordFamily& family : ScriptWordFamilies()) {
        const std::string name = Narrow(family.name);
        SCOPED_TRACE(name);
        ASSERT_EQ(listed.count(name), 1u) << "the family has no row on the page";
        std::map<std::string, std::set<std::string>> byReach;
        std::stringstream groups(listed[name]);
        for (std::string group; std::getline(groups, group, ';');) {
            const size_t colon = group.find(':');
            ASSERT_NE(colon, std::string::npos) << group;
            const std::string label = std::regex_replace(group.substr(0, colon), std::regex("^ +| +$"), "");
            byReach[label] = Words(group.substr(colon + 1));
        }
        std::map<std::string, std::set<std::string>> inTable;
        for (const ScriptWordRow& row : family.rows)
            inTable[ReachLabel(row.reach)].insert(Narrow(row.word));
        EXPECT_EQ(byReach, inTable);
        listed.erase(name);
    }
    for (const auto& [name, words] : listed)
        ADD_FAILURE() << "the page lists a family no table has: " << name;
}

TEST(ScriptWordListTest, TheCommandsPageListsEveryWordOfEveryHost)
{
    const std::map<std::string, std::set<std::string>> tables = {
        {"TutorialGrid", HostWordsOf(TutorialGrid::HostWords())},
        {"PlayPuzzleMenu", HostWordsOf(PlayPuzzleMenu::HostWords())},
        {"LevelIntroMenu", HostWordsOf(LevelIntroMenu::HostWords())},
        {"LevelStatusMenu", HostWordsOf(LevelStatusMenu::HostWords())},
        {"LevelCompleteMenu", HostWordsOf(LevelCompleteMenu::HostWords())},
        {"SelectSetMenu", HostWordsOf(SelectSetMenu::HostWords())},
    };
    std::map<std::string, std::set<std::string>> listed;
    for (const auto& [host, cell] : SectionRows("Words of the screens"))
        listed[host] = Words(cell);
    EXPECT_EQ(listed, tables);
}

} // namespace
