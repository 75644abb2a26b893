#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// Undo and redo over whole snapshots of a case. The history holds the state
// it started from and one state after each step, each step named by what it
// did ("Head", "Move Femur Point"); `current()` is the state the case is in.
// A new step drops the steps that were undone. Beyond `depth` steps the
// oldest one is forgotten.
template <class Snapshot> class UndoHistory {
public:
    explicit UndoHistory(Snapshot start = {}, std::size_t depth = 500) : depth_(depth)
    {
        reset(std::move(start));
    }

    // Forgets every step; `start` becomes the only state.
    void reset(Snapshot start)
    {
        states_.clear();
        states_.push_back({std::string(), std::move(start)});
        pos_ = 0;
    }

    const Snapshot& current() const { return states_[pos_].state; }

    // A new step leading to `state`.
    void push(std::string what, Snapshot state)
    {
        states_.resize(pos_ + 1);
        states_.push_back({std::move(what), std::move(state)});
        ++pos_;
        if (states_.size() > depth_ + 1) {
            states_.erase(states_.begin());
            --pos_;
        }
    }

    bool canUndo() const { return pos_ > 0; }
    bool canRedo() const { return pos_ + 1 < states_.size(); }
    // What the next undo or redo takes back or does again; "" when none.
    std::string undoWhat() const { return canUndo() ? states_[pos_].what : std::string(); }
    std::string redoWhat() const { return canRedo() ? states_[pos_ + 1].what : std::string(); }

    // Steps back or forward and returns the state now current; unchanged at
    // either end.
    const Snapshot& undo()
    {
        if (canUndo())
            --pos_;
        return current();
    }
    const Snapshot& redo()
    {
        if (canRedo())
            ++pos_;
        return current();
    }

    std::size_t steps() const { return states_.size() - 1; }

private:
    struct Entry {
        std::string what;
        Snapshot state;
    };
    std::vector<Entry> states_;
    std::size_t pos_ = 0;
    std::size_t depth_;
};
