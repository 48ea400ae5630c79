#include "ScriptWorld.h"

#include "platform/FatalError.h"
#include "ui/AnimationTable.h"

#include <fstream>

namespace {

class AnimationStatsTest : public ScriptWorld
{
protected:
    AnimationStatsTest()
    {
        m_previousHandler =
            SetFatalErrorHandler([this](const std::string& message) { fatal.push_back(message); });
    }
    ~AnimationStatsTest() override { SetFatalErrorHandler(m_previousHandler); }

    // Both passes, as the game reads the scripts at start.
    void CountAndLoad()
    {
        AnimationStats counting(true);
        AnimationStats loading(false);
    }

    std::vector<std::string> fatal;

private:
    FatalErrorHandler m_previousHandler;
};

TEST_F(AnimationStatsTest, IncludesAreReadBreadthFirstAndEachFileOnce)
{
    WriteFile("animations.xml", R"(<animations><include file="b.xml"/><include file="c.xml"/>
        <animation name="a"/></animations>)");
    WriteFile("b.xml", R"(<animations><include file="d.xml"/><include file="animations.xml"/>
        <animation name="b"/></animations>)");
    WriteFile("c.xml", R"(<animations><include file="./b.xml"/><animation name="c"/></animations>)");
    WriteFile("d.xml", R"(<animations><animation name="d"/></animations>)");

    AnimationStats counting(true);
    EXPECT_EQ(counting.GetFiles(), (std::vector<std::string>{"animations.xml", "b.xml", "c.xml", "d.xml"}));
    EXPECT_EQ(counting.GetAnimationCount(), 4);

    int told = 0;
    AnimationStats loading(false, [&told] { ++told; });
    EXPECT_EQ(told, 4);
    EXPECT_TRUE(HasAnimation(L"d"));
}

TEST_F(AnimationStatsTest, CommandsKeepTheirNestingAndConditionsApart)
{
    Load(R"(<animation name="x"><wait/></animation>
            <animation name="x">
              <loop count="2"><if cond="1"><sound name="a" if="k &gt; 1" unless="m" delay="3"/></if></loop>
              <pause time="5"/>
            </animation>)");

    const AnimationDefinition& x = FindAnimation(L"x");
    ASSERT_EQ(x.m_commands.size(), 2u); // the later definition replaced the first whole
    const ScriptCommand& sound = x.m_commands[0].m_children.at(0).m_children.at(0);
    EXPECT_EQ(sound.m_word, ScriptWord::Sound);
    EXPECT_EQ(sound.m_ifText, L"k > 1");
    EXPECT_EQ(sound.m_unlessText, L"m");
    EXPECT_EQ(sound.m_attributes.size(), 2u);
    EXPECT_EQ(sound.Raw(L"delay"), L"3");
    EXPECT_EQ(x.m_commands[1].m_word, ScriptWord::Pause);
}

TEST_F(AnimationStatsTest, StrayCommandsAreIgnoredButAnAnimationInsideOneIsDefined)
{
    WriteFile("animations.xml", R"(<animations><wait><pause/><animation name="z"><click/></animation>
        <sound/></wait><animation name="y"><signal/></animation><sound/></animations>)");
    int told = 0;
    AnimationStats loading(false, [&told] { ++told; });
    EXPECT_EQ(told, AnimationStats(true).GetAnimationCount()); // the loading bar reaches its end
    ASSERT_TRUE(HasAnimation(L"z"));
    const ScriptBody& z = FindAnimation(L"z").m_commands;
    ASSERT_EQ(z.size(), 1u); // neither the stray command's own children nor its later ones
    EXPECT_EQ(z[0].m_word, ScriptWord::Click);

    EXPECT_EQ(FindAnimation(L"y").m_commands.size(), 1u);
    EXPECT_TRUE(FindAnimation(L"never_defined").m_commands.empty());
    EXPECT_FALSE(HasAnimation(L"never_defined")); // a look-up never inserts
}

TEST_F(AnimationStatsTest, NestingPastTheLimitIsRefusedWithItsFileAndLine)
{
    // A million nested commands: before the limit the table held them all and freeing it at exit overflowed
    // the stack.
    constexpr int kDeep = 1000000;
    std::string deep = "<animations>\n<animation name=\"deep\">\n";
    deep.reserve(static_cast<size_t>(kDeep) * 10 + 100);
    for (int i = 0; i < kDeep; ++i)
        deep += "<if>";
    for (int i = 0; i < kDeep; ++i)
        deep += "</if>";
    deep += "\n</animation>\n</animations>\n";
    WriteFile("deep.xml", deep);

    // At the limit a script loads and runs to its innermost command.
    const int commands = AnimationStats::kMaxNesting - 2;
    std::string edge = "<animations><animation name=\"edge\">";
    for (int i = 1; i < commands; ++i)
        edge += "<if cond=\"1\">";
    edge += "<define reached=\"1\"/>";
    for (int i = 1; i < commands; ++i)
        edge += "</if>";
    edge += "</animation></animations>";
    WriteFile("edge.xml", edge);

    WriteFile("animations.xml", R"(<animations><include file="deep.xml"/><include file="edge.xml"/>
        <animation name="fine"><wait/></animation></animations>)");
    CountAndLoad();

    const std::string message =
        "Script elements are nested more than 100 deep on Line 3 in File 'properties/deep.xml'";
    EXPECT_EQ(fatal, (std::vector<std::string>{message, message}));
    // What came before the refusal stays; the other files are read as usual.
    EXPECT_TRUE(HasAnimation(L"deep"));
    EXPECT_TRUE(HasAnimation(L"fine"));
    AnimationWidget* reached = Start(L"edge");
    EXPECT_EQ(Var(*reached, L"reached"), L"1");
}

TEST_F(AnimationStatsTest, IncludesStayInsideTheGameFolder)
{
    // A file beside the game's folder, which "../../" from properties/ reaches.
    const std::string outsideName = m_folder.filename().string() + "-outside.xml";
    const std::filesystem::path outside = m_folder.parent_path() / outsideName;
    std::ofstream(outside) << R"(<animations><animation name="stolen"/></animations>)";
    WriteFile("../scripts/inside.xml", R"(<animations><animation name="inside"/></animations>)");

    for (const std::string& refused : {"../../" + outsideName, "..\\..\\" + outsideName, outside.string()}) {
        fatal.clear();
        WriteFile("animations.xml",
                  "<animations><include file=\"../scripts/inside.xml\"/>\n<include file=\"" + refused +
                      "\"/></animations>");
        CountAndLoad();
        const std::string message = "The scripts file includes \"" + refused +
                                    "\", which lies outside the game's folder on Line 2 in File "
                                    "'properties/animations.xml'";
        EXPECT_EQ(fatal, (std::vector<std::string>{message, message}));
        EXPECT_FALSE(HasAnimation(L"stolen")) << refused;
        EXPECT_TRUE(HasAnimation(L"inside")) << refused;
        EXPECT_EQ(AnimationStats(true).GetFiles(),
                  (std::vector<std::string>{"animations.xml", "../scripts/inside.xml"}));
    }
    std::filesystem::remove(outside);
}

// A name that stays inside the game's folder may still lead out of it through a symbolic link, to a file or
// along a folder; such an include is refused where it stands, as one that names a file outside. A link to a
// file inside the folder is read as the file is.
TEST_F(AnimationStatsTest, IncludesThroughSymbolicLinksCountWhereTheFileLies)
{
    const std::filesystem::path outside =
        m_folder.parent_path() / (m_folder.filename().string() + "-outside");
    std::filesystem::create_directories(outside);
    std::ofstream(outside / "stolen.xml") << R"(<animations><animation name="stolen"/></animations>)";
    WriteFile("../scripts/inside.xml", R"(<animations><animation name="inside"/></animations>)");
    const std::filesystem::path scripts = m_folder / "scripts";
    std::filesystem::create_symlink(outside / "stolen.xml", scripts / "absolute.xml");
    std::filesystem::create_symlink("../../" + outside.filename().string() + "/stolen.xml",
                                    scripts / "relative.xml");
    std::filesystem::create_symlink(outside, m_folder / "elsewhere");
    std::filesystem::create_symlink("inside.xml", scripts / "near.xml");

    for (const std::string refused :
         {"../scripts/absolute.xml", "../scripts/relative.xml", "../elsewhere/stolen.xml"}) {
        fatal.clear();
        WriteFile("animations.xml", "<animations><include file=\"../scripts/near.xml\"/>\n<include file=\"" +
                                        refused + "\"/></animations>");
        CountAndLoad();
        const std::string message = "The scripts file includes \"" + refused +
                                    "\", a link to a file outside the game's folder on Line 2 in File "
                                    "'properties/animations.xml'";
        EXPECT_EQ(fatal, (std::vector<std::string>{message, message}));
        EXPECT_FALSE(HasAnimation(L"stolen")) << refused;
        EXPECT_TRUE(HasAnimation(L"inside")) << refused;
    }
    std::filesystem::remove_all(outside);
}

} // namespace
