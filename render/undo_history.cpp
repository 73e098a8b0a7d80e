#include "render/undo_history.h"

#include <algorithm>
#include <cstring>

namespace {

// A 32-bit top-down DIB section the size of r, to read a surface's pixels through and to write them
// back. Made for the one operation and deleted after it: the history holds no GDI objects.
class Scratch {
public:
    explicit Scratch(const RECT& r) : width_(r.right - r.left), height_(r.bottom - r.top)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        section_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        dc_ = section_ ? CreateCompatibleDC(nullptr) : nullptr;
        previous_ = dc_ ? SelectObject(dc_, section_) : nullptr;
    }
    ~Scratch()
    {
        if (dc_) {
            SelectObject(dc_, previous_);
            DeleteDC(dc_);
        }
        if (section_)
            DeleteObject(section_);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    bool ok() const { return dc_ != nullptr && bits_ != nullptr; }
    size_t count() const { return size_t(width_) * size_t(height_); }
    uint32_t* bits() const { return bits_; }
    void read(HDC from, const RECT& r)
    {
        BitBlt(dc_, 0, 0, width_, height_, from, r.left, r.top, SRCCOPY);
        GdiFlush();  // the pixels are read straight from memory next
    }
    void write(HDC to, const RECT& r) const { BitBlt(to, r.left, r.top, width_, height_, dc_, 0, 0, SRCCOPY); }

private:
    int width_, height_;
    HBITMAP section_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// r within the bitmap selected into dc: a pen's margin may reach past the picture's edges.
RECT WithinSurface(HDC dc, const RECT& r)
{
    BITMAP bitmap = {};
    GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof(bitmap), &bitmap);
    RECT inside = {std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0), std::min<LONG>(r.right, bitmap.bmWidth),
                   std::min<LONG>(r.bottom, bitmap.bmHeight)};
    if (inside.right < inside.left)
        inside.right = inside.left;
    if (inside.bottom < inside.top)
        inside.bottom = inside.top;
    return inside;
}

size_t BytesOf(const RECT& r)
{
    return size_t(r.right - r.left) * size_t(r.bottom - r.top) * sizeof(uint32_t);
}

}  // namespace

void UndoHistory::keep(HDC committed, const RECT& mark)
{
    for (const Step& step : redo_)
        kept_ -= BytesOf(step.rect);
    redo_.clear();
    const RECT r = WithinSurface(committed, mark);
    const size_t bytes = BytesOf(r);
    if (bytes == 0)
        return;
    if (bytes > budget_) {
        clear();
        return;
    }
    size_t dropped = 0;
    while (kept_ + bytes > budget_ && dropped < undo_.size())
        kept_ -= BytesOf(undo_[dropped++].rect);
    undo_.erase(undo_.begin(), undo_.begin() + static_cast<std::ptrdiff_t>(dropped));
    Scratch scratch(r);
    if (!scratch.ok()) {
        clear();  // no memory for the step: the ones before it would no longer match
        return;
    }
    scratch.read(committed, r);
    undo_.push_back(Step{r, std::vector<uint32_t>(scratch.bits(), scratch.bits() + scratch.count())});
    kept_ += bytes;
}

const RECT* UndoHistory::undo(HDC committed, HDC drawing)
{
    return move(undo_, redo_, committed, drawing);
}

const RECT* UndoHistory::redo(HDC committed, HDC drawing)
{
    return move(redo_, undo_, committed, drawing);
}

const RECT* UndoHistory::move(std::vector<Step>& from, std::vector<Step>& to, HDC committed, HDC drawing)
{
    if (from.empty())
        return nullptr;
    Step& step = from.back();
    Scratch scratch(step.rect);
    if (!scratch.ok())
        return nullptr;
    scratch.read(committed, step.rect);
    std::swap_ranges(step.pixels.begin(), step.pixels.end(), scratch.bits());
    scratch.write(committed, step.rect);
    scratch.write(drawing, step.rect);
    presented_ = step.rect;
    to.push_back(std::move(step));
    from.pop_back();
    return &presented_;
}

void UndoHistory::clear()
{
    undo_.clear();
    redo_.clear();
    kept_ = 0;
}
