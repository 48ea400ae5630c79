#include "ui/AnimationListener.h"
#include "ui/RemovalListener.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Whichever side of a link dies first, the other side forgets it.
TEST(ListenerLinkTest, RemovalLinksMoveBetweenListenersAndNeverDangle)
{
    auto first = std::make_unique<RemovalListener>();
    RemovalListener second;
    auto link = std::make_unique<RemovalListener::Link>(nullptr);

    first->Track(*link);
    second.Track(*link);
    EXPECT_EQ(link->GetListener(), &second);
    EXPECT_TRUE(first->GetTracked().empty());
    EXPECT_EQ(second.GetTracked().size(), 1u);

    link.reset();
    EXPECT_TRUE(second.GetTracked().empty());

    RemovalListener::Link survivor(nullptr);
    first->Track(survivor);
    first.reset();
    EXPECT_EQ(survivor.GetListener(), nullptr);
}

TEST(ListenerLinkTest, AnimationLinksMoveBetweenListenersAndNeverDangle)
{
    auto first = std::make_unique<AnimationListener>();
    AnimationListener second;
    auto link = std::make_unique<AnimationListener::Link>(nullptr);

    first->Attach(*link);
    second.Attach(*link);
    EXPECT_EQ(link->GetListener(), &second);
    EXPECT_TRUE(first->GetAttached().empty());

    link->Detach();
    EXPECT_TRUE(second.GetAttached().empty());
    first->Attach(*link);
    first.reset();
    EXPECT_EQ(link->GetListener(), nullptr);
}

} // namespace
