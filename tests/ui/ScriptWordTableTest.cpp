#include "ui/ScriptWordTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

std::string Narrow(std::wstring_view word)
{
    return std::string(word.begin(), word.end());
}

// A word and a code go together wherever they stand, and every code has a
// row: a code added without one would be a word no script could reach.
TEST(ScriptWordTableTest, EveryWordResolvesToTheCodeOfItsRowsAndEveryCodeHasARow)
{
    std::map<std::wstring_view, ScriptWord> codes;
    std::map<ScriptWord, std::wstring_view> words;
    for (const ScriptWordFamily& family : ScriptWordFamilies()) {
        for (const ScriptWordRow& row : family.rows) {
            SCOPED_TRACE(Narrow(family.name) + ": " + Narrow(row.word));
            EXPECT_EQ(LookupScriptWord(row.word), row.code);
            const auto [code, newWord] = codes.emplace(row.word, row.code);
            EXPECT_TRUE(newWord || code->second == row.code) << "the word has two codes";
            const auto [word, newCode] = words.emplace(row.code, row.word);
            EXPECT_TRUE(newCode || word->second == row.word) << "the code has two words";
        }
    }
    for (int code = static_cast<int>(ScriptWord::Unknown) + 1; code < static_cast<int>(ScriptWord::Count);
         ++code)
        EXPECT_EQ(words.count(static_cast<ScriptWord>(code)), 1u) << "code " << code << " has no row";
    EXPECT_EQ(LookupScriptWord(L"no-such-word"), ScriptWord::Unknown);
    EXPECT_EQ(LookupScriptWord(L"Wait"), ScriptWord::Unknown) << "names are matched exactly";
}

// The interpreter picks a word's handler by what "id" names: one handler per
// reach, and a word run whatever "id" names has no other.
TEST(ScriptWordTableTest, AWordHasOneHandlerPerReachAndOneForEveryCommandStandsAlone)
{
    std::map<ScriptWord, std::set<ScriptReach>> reaches;
    for (const ScriptWordFamily& family : ScriptWordFamilies()) {
        for (const ScriptWordRow& row : family.rows) {
            SCOPED_TRACE(Narrow(row.word));
            EXPECT_TRUE(row.Fits());
            EXPECT_TRUE(reaches[row.code].insert(row.reach).second) << "two rows of the same reach";
        }
    }
    for (const auto& [code, reach] : reaches) {
        const ScriptWordHandlers& handlers = FindScriptHandlers(code);
        EXPECT_EQ(handlers.any != nullptr, reach.count(ScriptReach::Any) == 1);
        EXPECT_EQ(handlers.object != nullptr, reach.count(ScriptReach::Object) == 1);
        EXPECT_EQ(handlers.free != nullptr, reach.count(ScriptReach::Free) == 1);
        EXPECT_EQ(handlers.target != nullptr, reach.count(ScriptReach::Target) == 1);
        if (reach.count(ScriptReach::Any) == 1) {
            EXPECT_EQ(reach.size(), 1u) << "a word run for every command has no other row";
        }
        // The sub-commands fall back on the current layer only where no
        // other handler takes a command without an object.
        if (reach.count(ScriptReach::Target) == 1) {
            EXPECT_EQ(reach.count(ScriptReach::Free), 0u);
        }
    }
    const ScriptWordHandlers& unknown = FindScriptHandlers(ScriptWord::Unknown);
    EXPECT_TRUE(unknown.any == nullptr && unknown.object == nullptr && unknown.free == nullptr &&
                unknown.target == nullptr);
}

} // namespace
