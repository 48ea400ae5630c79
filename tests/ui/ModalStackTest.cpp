#include "RecordingWidget.h"

#include <gtest/gtest.h>

namespace {

class ModalStackTest : public WidgetTreeFixture
{
protected:
    // A dialog with a field that can take the focus.
    RecordingWidget* AddDialog(const std::string& name, RecordingWidget** field)
    {
        RecordingWidget* dialog = Add(name, 100, 100, 200, 200);
        *field = Make(name + ".field", 10, 10, 50, 20);
        dialog->AddWidget(*field);
        return dialog;
    }
};

TEST_F(ModalStackTest, WidgetsBelowAModalKeepUpdatingButLoseMouseAndFocusUntilItCloses)
{
    RecordingWidget* background = Add("background", 0, 0, 1024, 768);
    manager.SetFocus(background);
    Move(50, 50);
    EXPECT_TRUE(background->IsOver());
    RecordingWidget* field = nullptr;
    RecordingWidget* dialog = AddDialog("dialog", &field);
    manager.AddBaseModal(dialog);

    EXPECT_FALSE(background->IsOver());
    EXPECT_FALSE(background->HasFocus());
    EXPECT_EQ(manager.GetWidgetAt(50, 50, nullptr, nullptr), nullptr);
    EXPECT_EQ(manager.GetWidgetAt(115, 115, nullptr, nullptr), field);

    manager.UpdateFrame();
    EXPECT_EQ(background->updates, 1);
    EXPECT_EQ(field->updates, 1);
    manager.DrawScreen();
    EXPECT_EQ(background->draws, 1);

    // The keyboard mask says which flags the widgets below are walked with.
    ModalFlags flags;
    manager.InitModalFlags(&flags);
    EXPECT_FALSE(flags.isOver);
    EXPECT_EQ(flags.underFlags & (WidgetFlags::Mouse | WidgetFlags::Keyboard), 0u);
    EXPECT_EQ(flags.overFlags, WidgetFlags::Default);

    // As the application closes a dialog: out of the manager, then the stack.
    manager.SetFocus(field);
    dialog->RemoveSelf();
    manager.RemoveBaseModal(dialog);
    EXPECT_EQ(manager.GetFocus(), background);
    EXPECT_EQ(manager.GetBaseModal(), nullptr);
    EXPECT_EQ(manager.GetWidgetAt(50, 50, nullptr, nullptr), background);
}

TEST_F(ModalStackTest, PoppingOutOfOrderRestoresTheRightSavedFocus)
{
    RecordingWidget* fieldA = nullptr;
    RecordingWidget* fieldB = nullptr;
    RecordingWidget* fieldC = nullptr;
    RecordingWidget* a = AddDialog("a", &fieldA);
    manager.AddBaseModal(a);
    manager.SetFocus(fieldA);
    RecordingWidget* b = AddDialog("b", &fieldB);
    manager.AddBaseModal(b);
    EXPECT_EQ(manager.GetFocus(), nullptr);
    manager.SetFocus(fieldB);
    RecordingWidget* c = AddDialog("c", &fieldC);
    manager.AddBaseModal(c);
    EXPECT_EQ(manager.GetBaseModal(), c);

    // The middle one goes first: C stays on top and in charge.
    manager.RemoveBaseModal(b);
    b->RemoveSelf();
    EXPECT_EQ(manager.GetBaseModal(), c);
    EXPECT_EQ(manager.GetModalDepth(), 2u);

    // Closing C gives A back the focus it had, not B's stale one.
    manager.RemoveBaseModal(c);
    c->RemoveSelf();
    EXPECT_EQ(manager.GetBaseModal(), a);
    EXPECT_EQ(manager.GetFocus(), fieldA);
    EXPECT_TRUE(fieldA->HasFocus());

    // Focus taken after a modal left the stack is not overridden when it goes.
    RecordingWidget* d = AddDialog("d", &fieldC);
    manager.AddBaseModal(d);
    manager.SetFocus(fieldC);
    manager.RemoveBaseModal(d);
    RecordingWidget* other = Make("other", 0, 0, 10, 10);
    a->AddWidget(other);
    manager.SetFocus(other);
    d->RemoveSelf();
    EXPECT_EQ(manager.GetFocus(), other);
}

TEST_F(ModalStackTest, AModalLeavingTheTreeWithoutRemoveBaseModalLeavesNoStaleEntry)
{
    RecordingWidget* background = Add("background", 0, 0, 1024, 768);
    RecordingWidget* fieldA = nullptr;
    RecordingWidget* fieldB = nullptr;
    RecordingWidget* a = AddDialog("a", &fieldA);
    manager.AddBaseModal(a);
    manager.SetFocus(fieldA);
    RecordingWidget* b = AddDialog("b", &fieldB);
    b->Move(400, 400);
    manager.AddBaseModal(b);

    b->RemoveSelf();
    host.FlushDeferredDeletes();
    EXPECT_EQ(manager.GetModalDepth(), 1u);
    EXPECT_EQ(manager.GetBaseModal(), a);
    EXPECT_EQ(manager.GetFocus(), fieldA);
    // The stale entry is gone: removing it later is harmless.
    manager.RemoveBaseModal(b);
    EXPECT_EQ(manager.GetBaseModal(), a);

    a->RemoveSelf();
    host.FlushDeferredDeletes();
    EXPECT_EQ(manager.GetModalDepth(), 0u);
    EXPECT_EQ(manager.GetWidgetAt(50, 50, nullptr, nullptr), background);
    manager.UpdateFrame();
    ModalFlags flags;
    manager.InitModalFlags(&flags);
    EXPECT_TRUE(flags.isOver);
}

} // namespace
