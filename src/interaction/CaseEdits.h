#pragma once

#include <string>

class CZor;

// What the undo history and the "changed" mark need to know about edits of
// a case, without a window.
namespace CaseEdits {

// The name of an edit made in tool state `mode` (the state before the event
// that ended it, or the hit code a press picked): "Stem Axis", "Move Tip
// Line", ... ; "Edit" for a state that names no edit of its own.
std::string name(int mode);

// The same case as far as the user can tell: every field but the
// drawing-only `Visible`, which the tools switch off while they work, and the
// stem frame (SinA, CosA, Center) that "&Write Data" keeps from its analysis,
// which follows from the landmarks.
bool sameCase(const CZor& a, const CZor& b);

} // namespace CaseEdits
