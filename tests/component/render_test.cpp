// The pen and the eraser on memory DCs, wired to their surfaces as the paint window does.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/eraser.h"
#include "render/pen_renderer.h"
#include "shell/base/platform.h"

namespace {

constexpr int kSize = 200;
enum { Drawing, Committed, Capture };
enum Kind { Down, Move, Box, Commit, Revert };  // a box is a rubber band from the anchor (100,100)
struct Step {
    Kind kind;
    LONG x, y;
};

// Three 32-bit top-down DIB sections, read straight from their bits. The drawing and committed ones
// hold white marks whose blue varies with the position, so that a copy from the wrong place shows;
// the capture is grey.
struct Canvas {
    explicit Canvas(bool highlighter)
    {
        const BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), kSize, -kSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        for (int s = Drawing; s <= Capture; ++s) {
            dc[s] = CreateCompatibleDC(nullptr);
            SelectObject(dc[s], CreateDIBSection(dc[s], &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits[s]), nullptr, 0));
            for (int i = 0; i < kSize * kSize; ++i)
                bits[s][i] = s == Capture ? 0x808080 : 0xFFFF00 | ((i * 7 + i / kSize * 3) & 0xFF);
        }
        SelectObject(dc[Drawing], GetStockObject(NULL_BRUSH));
        pen.init();
        pen.target = eraser.target = dc[Drawing];
        pen.backup = eraser.backup = dc[Committed];
        pen.highlighter = highlighter;
        pen.setPen(RGB(255, 0, 0), 5);
        eraser.source = dc[Capture];
        eraser.extent = RECT{-10, -10, 10, 10};
    }
    ~Canvas()
    {
        pen.destroy();
        for (HDC d : dc) {
            const HGDIOBJ bitmap = GetCurrentObject(d, OBJ_BITMAP);
            DeleteDC(d);  // which lets the bitmap go
            DeleteObject(bitmap);
        }
    }
    std::vector<DWORD> pixels(int s) const
    {
        GdiFlush();  // drawing may be batched; the bits are read behind GDI's back
        return {bits[s], bits[s] + kSize * kSize};
    }
    const RECT* apply(bool erase, Step s)
    {
        const POINT p = {s.x, s.y}, anchor = {100, 100};
        switch (s.kind) {
        case Down: return erase ? eraser.eraseAt(p) : pen.beginStroke(p);
        case Move: return erase ? eraser.eraseAt(p) : pen.strokeTo(p);
        case Box: return erase ? eraser.eraseRectangle(p, anchor) : pen.drawRectangle(p, anchor);
        case Commit: return erase ? eraser.commit() : pen.commit();
        default: return erase ? eraser.revert() : pen.revert();
        }
    }

    HDC dc[3];
    DWORD* bits[3];
    PenRenderer pen;
    Eraser eraser;
};

TEST(StrokeRendering, ChangesOnlyTheAnsweredAreaAndCommitsOrRevertsIt)
{
    // Tools: h highlighter, p opaque pen of width 5, e eraser. Wanted: the last answer (-1s for
    // null), pixels changed (-1: some), pixels blended more than the others, whether the committed
    // surface took the change.
    const struct {
        const char* why;
        char tool;
        std::vector<Step> steps;
        std::vector<LONG> want;
    } cases[] = {
        {"drag: columns 100..109, rows 31..50", 'h', {{Down, 100, 50}, {Move, 110, 50}}, {100, 31, 110, 51, 200, 0, 0}},
        {"vertical drag: no mark", 'h', {{Down, 100, 50}, {Move, 100, 80}}, {100, 31, 100, 81, 0, 0, 0}},
        {"click: no mark", 'h', {{Down, 100, 50}}, {100, 31, 100, 51, 0, 0, 0}},
        {"doubling back darkens", 'h', {{Down, 100, 50}, {Move, 110, 50}, {Move, 103, 50}},
         {100, 31, 110, 51, 200, 140, 0}},
        {"a slope steps the band down", 'h', {{Down, 100, 50}, {Move, 110, 90}, {Move, 100, 90}},
         {100, 31, 110, 91, 360, 40, 0}},
        {"rectangle: three bands, each pixel once", 'h', {{Box, 150, 130}}, {100, 80, 150, 130, 2500, 0, 0}},
        {"shrunk rubber band: last only, both repainted", 'h', {{Box, 150, 130}, {Box, 120, 110}},
         {100, 80, 150, 130, 600, 0, 0}},
        {"opaque rectangle: a full width of margin", 'p', {{Box, 150, 130}}, {95, 95, 155, 135, -1, 0, 0}},
        {"opaque point: a full width of margin", 'p', {{Down, 10, 10}}, {5, 5, 15, 15, -1, 0, 0}},
        {"pending stroke joins the next", 'h',
         {{Down, 100, 50}, {Move, 110, 50}, {Down, 100, 150}, {Move, 110, 150}, {Commit}},
         {100, 31, 110, 151, 400, 0, 1}},
        {"pending stroke wiped by the next rectangle", 'h', {{Down, 100, 50}, {Move, 110, 50}, {Box, 150, 130}},
         {100, 31, 150, 130, 2500, 0, 0}},
        {"revert after commit: nothing pending", 'h', {{Down, 100, 50}, {Move, 110, 50}, {Commit}, {Revert}},
         {-1, -1, -1, -1, 200, 0, 1}},
        {"eraser square", 'e', {{Down, 100, 100}}, {90, 90, 110, 110, 400, 0, 0}},
        {"fast eraser drag: two squares, the gap untouched", 'e', {{Down, 100, 100}, {Move, 100, 150}},
         {90, 90, 110, 160, 800, 0, 0}},
        {"eraser rectangle widened by 10", 'e', {{Box, 150, 130}, {Commit}}, {90, 90, 160, 140, 3500, 0, 1}},
        {"shrinking eraser rectangle brings marks back", 'e', {{Box, 150, 130}, {Box, 120, 110}},
         {90, 90, 160, 140, 1200, 0, 0}},
        {"eraser revert restores the marks exactly", 'e', {{Box, 150, 130}, {Revert}}, {90, 90, 160, 140, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        Canvas canvas(c.tool == 'h');
        const std::vector<DWORD> before = canvas.pixels(Drawing);
        const RECT* r = nullptr;
        for (const Step& s : c.steps)
            r = canvas.apply(c.tool == 'e', s);
        const std::vector<DWORD> after = canvas.pixels(Drawing);
        const RECT a = r ? *r : RECT{-1, -1, -1, -1};
        DWORD palest = 0;  // the green of a pixel blended once: the background's green is the same everywhere
        for (int i = 0; i < kSize * kSize; ++i)
            palest = after[i] != before[i] ? std::max<DWORD>(palest, after[i] >> 8 & 0xFF) : palest;
        LONG changed = 0, outside = 0, darker = 0;
        for (int i = 0; i < kSize * kSize; ++i) {
            const int x = i % kSize, y = i / kSize;
            changed += after[i] != before[i];
            outside += after[i] != before[i] && r && (x < a.left || x >= a.right || y < a.top || y >= a.bottom);
            darker += c.tool == 'h' && after[i] != before[i] && (after[i] >> 8 & 0xFF) < palest;
        }
        const bool committed = after != before && canvas.pixels(Committed) == after;
        const LONG some = c.want[4] < 0 && changed ? -1 : changed;
        EXPECT_EQ(std::vector<LONG>({a.left, a.top, a.right, a.bottom, some, darker, committed}), c.want) << c.why;
        EXPECT_EQ(outside, 0) << c.why << ": changed outside the answered area";
        EXPECT_TRUE(committed || canvas.pixels(Committed) == before) << c.why << ": committed surface changed";
    }
}

TEST(PenRenderer, CreatesAPenOnlyForANewRequest)
{
    Canvas c(false);
    const HGDIOBJ first = GetCurrentObject(c.dc[Drawing], OBJ_PEN), original = GetStockObject(BLACK_PEN);
    EXPECT_TRUE(c.pen.setPen(RGB(255, 0, 0), 5));
    EXPECT_EQ(GetCurrentObject(c.dc[Drawing], OBJ_PEN), first) << "the same request selects nothing new";
    c.pen.setPen(RGB(0, 0, 255), 5);
    EXPECT_EQ(GetObjectType(first), 0u) << "the replaced pen is deleted";
    c.pen.releasePen();
    EXPECT_EQ(GetCurrentObject(c.dc[Drawing], OBJ_PEN), original) << "the DC's own pen is back";
    // Regression: a request the system refused answered done when asked again, the old pen selected.
    Platform.extCreatePen = [](DWORD, DWORD, const LOGBRUSH*) { return HPEN(nullptr); };
    EXPECT_FALSE(c.pen.setPen(RGB(0, 255, 0), 7)) << "GDI objects exhausted";
    Platform = SystemPlatform();
    EXPECT_TRUE(c.pen.setPen(RGB(0, 255, 0), 7));
    EXPECT_NE(GetCurrentObject(c.dc[Drawing], OBJ_PEN), original) << "the second request selects the pen";
}

}  // namespace
