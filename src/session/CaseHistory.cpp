#include "session/CaseHistory.h"

#include "interaction/CaseEdits.h"
#include "session/OpenCase.h"

CaseHistory::Snapshot CaseHistory::snapshot(OpenCase& open)
{
    return {open.zor(), open.tools().usableTools()};
}

void CaseHistory::opened(OpenCase& open)
{
    history_.reset(snapshot(open));
    saved_ = open.zor();
    pending_ = "Edit";
}

void CaseHistory::afterEvent(OpenCase& open)
{
    if (!open.isOpen())
        return;
    const ToolMode mode = open.tools().mode();
    if (mode != ToolMode::Idle) {
        pending_ = CaseEdits::name(ToolModes::number(mode));
    } else if (!CaseEdits::sameCase(history_.current().zor, open.zor()) ||
               !(history_.current().tools == open.tools().usableTools())) {
        history_.push(pending_, snapshot(open));
        pending_ = "Edit";
    }
}

void CaseHistory::stored(OpenCase& open)
{
    afterEvent(open);
    saved_ = open.zor();
}

bool CaseHistory::changed(const OpenCase& open) const
{
    return open.isOpen() && !CaseEdits::sameCase(saved_, *open.zorIfOpen());
}

bool CaseHistory::unfinished(const OpenCase& open) const
{
    return open.isOpen() && (open.toolsIfOpen()->mode() != ToolMode::Idle ||
                             !CaseEdits::sameCase(history_.current().zor, *open.zorIfOpen()));
}

void CaseHistory::restore(OpenCase& open, const Snapshot& s)
{
    open.restore(s.zor, s.tools);
    open.zor().Visible = true;
}

bool CaseHistory::undo(OpenCase& open)
{
    if (!open.isOpen())
        return false;
    if (unfinished(open)) {
        restore(open, history_.current());
        return true;
    }
    if (!history_.canUndo())
        return false;
    restore(open, history_.undo());
    return true;
}

bool CaseHistory::redo(OpenCase& open)
{
    if (!open.isOpen() || !history_.canRedo())
        return false;
    restore(open, history_.redo());
    return true;
}

bool CaseHistory::canUndo(const OpenCase& open) const
{
    return open.isOpen() && (history_.canUndo() || unfinished(open));
}
