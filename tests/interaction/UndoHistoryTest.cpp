// Undo and redo over case snapshots, and what counts as a change of a case.
#include "interaction/UndoHistory.h"

#include "interaction/CaseEdits.h"
#include "model/CZor.h"

#include <gtest/gtest.h>

namespace {

TEST(UndoHistory, StepsBackAndForthDropsUndoneStepsAndForgetsBeyondItsDepth)
{
    UndoHistory<int> h(0, 3);
    EXPECT_FALSE(h.canUndo() || h.canRedo());
    h.push("Head", 1);
    h.push("Stem Axis", 2);
    h.push("Shoulder Point", 3);
    EXPECT_EQ(h.undoWhat(), "Shoulder Point");
    EXPECT_EQ(h.undo(), 2);
    EXPECT_EQ(h.undo(), 1);
    EXPECT_EQ(h.redoWhat(), "Stem Axis");
    EXPECT_EQ(h.undo(), 0);
    EXPECT_EQ(h.undo(), 0) << "the start stays";
    EXPECT_EQ(h.redo(), 1);
    h.push("Move Tip Line", 7);
    EXPECT_FALSE(h.canRedo()) << "a new edit clears the redo list";
    EXPECT_EQ(h.undo(), 1);
    EXPECT_EQ(h.redo(), 7);
    h.push("Head", 8);
    h.push("Head", 9);
    EXPECT_EQ(h.steps(), 3u) << "the start forgotten";
    while (h.canUndo())
        h.undo();
    EXPECT_EQ(h.current(), 1);
}

// Edits are named by the tool state that made them; a change of visibility
// alone is no change of the case.
TEST(CaseEdits, NamesEditsByToolStateAndIgnoresOnlyVisibility)
{
    for (auto [mode, name] :
         {std::pair{8, "Move Contour Line"}, {150, "Move Head Point"}, {0, "Edit"}})
        EXPECT_EQ(CaseEdits::name(mode), name) << mode;
    CZor a;
    CZor b = a;
    b.Visible = !a.Visible;
    b.SinA = 0.5; // the stem frame Write Data keeps
    b.Center.change(3, 4);
    EXPECT_TRUE(CaseEdits::sameCase(a, b));
    b.Shoulder.change(1, 2);
    EXPECT_FALSE(CaseEdits::sameCase(a, b));
}

} // namespace
