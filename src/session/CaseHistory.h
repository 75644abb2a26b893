#pragma once

#include "interaction/ToolState.h"
#include "interaction/UndoHistory.h"
#include "model/CZor.h"

#include <string>

class OpenCase;

// Undo and redo of one open case and whether it changed since it was
// opened, read or written, without the window. The window calls
// afterEvent after every event; an edit the tools have completed (they are
// idle, and the case or the usable tools differ from the last step) becomes
// a step named by the tool state or the command that made it. Undo and redo
// put a step back into the case with tools that start idle and the usable
// tools of then.
class CaseHistory {
public:
    // The case just opened: the start of the history, unchanged.
    void opened(OpenCase& open);
    void afterEvent(OpenCase& open);
    // The name of the edit a command is about to make ("reset Landmarks").
    void nameNextEdit(std::string what) { pending_ = std::move(what); }
    // The case was read from or written to its landmark file just now.
    void stored(OpenCase& open);
    // The case differs from what it was when opened, read or written.
    bool changed(const OpenCase& open) const;

    // Work a tool has not finished is taken back first, on its own; then
    // the last step. False when there is nothing to take back.
    bool undo(OpenCase& open);
    bool redo(OpenCase& open);
    bool canUndo(const OpenCase& open) const;
    bool canRedo() const { return history_.canRedo(); }
    std::string undoWhat() const { return history_.undoWhat(); }
    std::string redoWhat() const { return history_.redoWhat(); }

private:
    struct Snapshot {
        CZor zor;
        ToolSet tools;
    };
    static Snapshot snapshot(OpenCase& open);
    bool unfinished(const OpenCase& open) const;
    static void restore(OpenCase& open, const Snapshot& s);

    UndoHistory<Snapshot> history_;
    CZor saved_;
    std::string pending_ = "Edit";
};
