#include "ScriptWorld.h"

#include "ui/AnimationTable.h"

namespace {

class AnimationStatsTest : public ScriptWorld
{
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

} // namespace
