// Undo and redo of committed marks. No list of strokes exists, only pixels: before a mark goes into
// the committed surface, the pixels of its rectangle as they were are kept. Undo swaps them back in,
// which leaves the step holding the mark's pixels for a redo, which swaps again.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

class UndoHistory {
public:
    static constexpr size_t kDefaultBudget = 64u << 20;  // bytes of kept pixels per session

    explicit UndoHistory(size_t budget = kDefaultBudget) : budget_(budget) {}

    // Before the rectangle `mark` of `committed` changes (as far as it lies on the picture): keeps what it holds now, empties the redo list,
    // and drops the oldest steps until everything kept fits the budget. A rectangle that cannot fit
    // even alone empties the history instead, since the steps before it would then undo into a
    // picture they no longer match.
    void keep(HDC committed, const RECT& mark);
    // Swap the last step back into `committed` and `drawing` (or the last undone one, for redo).
    // Answer the rectangle to present, or null when there is nothing to undo or redo.
    const RECT* undo(HDC committed, HDC drawing);
    const RECT* redo(HDC committed, HDC drawing);
    void clear();

    size_t keptBytes() const { return kept_; }
    size_t undoCount() const { return undo_.size(); }
    size_t redoCount() const { return redo_.size(); }

private:
    struct Step {
        RECT rect;
        std::vector<uint32_t> pixels;  // top-down rows of the rectangle, 32 bits a pixel
    };
    const RECT* move(std::vector<Step>& from, std::vector<Step>& to, HDC committed, HDC drawing);

    size_t budget_;
    size_t kept_ = 0;
    std::vector<Step> undo_;  // oldest first
    std::vector<Step> redo_;  // most recently undone last
    RECT presented_ = {};
};
