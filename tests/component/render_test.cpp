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
enum Kind { Down, Move, Box, Commit, Revert };
struct Step { Kind kind; LONG x, y; };  // a box is a rubber band from the anchor (100,100)

// Three 32-bit top-down DIB sections: drawing and committed hold white marks whose blue varies with the
// position, so that a copy from the wrong place shows; the capture is grey. 'h' highlighter, 'p' pen, 'e' eraser.
struct Canvas {
    explicit Canvas(char tool) : erase(tool == 'e')
    {
        const BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), kSize, -kSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        for (int s = Drawing; s <= Capture; ++s) {
            bitmap[s] = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits[s]), nullptr, 0);
            SelectObject(dc[s] = CreateCompatibleDC(nullptr), bitmap[s]);
            for (int i = 0; i < kSize * kSize; ++i)
                bits[s][i] = s == Capture ? 0x808080 : 0xFFFF00 | ((i * 7 + i / kSize * 3) & 0xFF);
        }
        SelectObject(dc[Drawing], GetStockObject(NULL_BRUSH));
        pen.init(), pen.highlighter = tool == 'h', eraser.extent = RECT{-10, -10, 10, 10};
        pen.target = eraser.target = dc[Drawing], pen.backup = eraser.backup = dc[Committed], eraser.source = dc[Capture];
        pen.setPen(RGB(255, 0, 0), 5);
    }
    ~Canvas() { pen.destroy(); for (int s = 0; s < 3; ++s) DeleteDC(dc[s]), DeleteObject(bitmap[s]); }
    std::vector<DWORD> pixels(int s) const { return GdiFlush(), std::vector<DWORD>(bits[s], bits[s] + kSize * kSize); }
    const RECT* apply(Step s)
    {
        const POINT p = {s.x, s.y}, anchor = {100, 100};
        switch (s.kind) {
        case Down: case Move: return erase ? eraser.eraseAt(p) : s.kind == Down ? pen.beginStroke(p) : pen.strokeTo(p);
        case Box: return erase ? eraser.eraseRectangle(p, anchor) : pen.drawRectangle(p, anchor);
        default: return s.kind == Commit ? (erase ? eraser.commit() : pen.commit()) : erase ? eraser.revert() : pen.revert();
        }
    }
    const bool erase;
    HDC dc[3]; HBITMAP bitmap[3]; DWORD* bits[3]; PenRenderer pen; Eraser eraser;
};

// Wanted: the last answer (-1s for null); pixels changed (-1: some); pixels blended more than the
// others; whether the committed surface took the change (1), kept what it had (0) or neither (-1).
TEST(StrokeRendering, ChangesOnlyTheAnsweredAreaAndCommitsOrRevertsIt)
{
    const struct { const char* why; char tool; std::vector<Step> steps; std::vector<LONG> want; } cases[] = {
        {"drag: columns 100..109, rows 31..50", 'h', {{Down, 100, 50}, {Move, 110, 50}}, {100, 31, 110, 51, 200, 0, 0}},
        {"doubling back", 'h', {{Down, 100, 50}, {Move, 110, 50}, {Move, 103, 50}}, {100, 31, 110, 51, 200, 140, 0}},
        {"a slope steps down", 'h', {{Down, 100, 50}, {Move, 110, 90}, {Move, 100, 90}}, {100, 31, 110, 91, 360, 40, 0}},
        {"rectangle: three bands, each pixel once", 'h', {{Box, 150, 130}}, {100, 80, 150, 130, 2500, 0, 0}},
        {"shrunk rubber band: both repainted", 'h', {{Box, 150, 130}, {Box, 120, 110}}, {100, 80, 150, 130, 600, 0, 0}},
        {"opaque rectangle: a full width of margin", 'p', {{Box, 150, 130}}, {95, 95, 155, 135, -1, 0, 0}},
        {"opaque point: a full width of margin", 'p', {{Down, 10, 10}}, {5, 5, 15, 15, -1, 0, 0}},
        {"joins the pending", 'h', {{Down, 100, 50}, {Move, 110, 50}, {Down, 100, 150}, {Move, 110, 150}, {Commit}},
         {100, 31, 110, 151, 400, 0, 1}},
        {"wipes the pending", 'h', {{Down, 100, 50}, {Move, 110, 50}, {Box, 150, 130}}, {100, 31, 150, 130, 2500, 0, 0}},
        {"revert after commit", 'h', {{Down, 100, 50}, {Move, 110, 50}, {Commit}, {Revert}}, {-1, -1, -1, -1, 200, 0, 1}},
        {"fast eraser drag: the gap untouched", 'e', {{Down, 100, 100}, {Move, 100, 150}}, {90, 90, 110, 160, 800, 0, 0}},
        {"eraser rectangle widened by 10", 'e', {{Box, 150, 130}, {Commit}}, {90, 90, 160, 140, 3500, 0, 1}},
        {"shrinking eraser band: marks back", 'e', {{Box, 150, 130}, {Box, 120, 110}}, {90, 90, 160, 140, 1200, 0, 0}},
        {"eraser revert restores the marks", 'e', {{Box, 150, 130}, {Revert}}, {90, 90, 160, 140, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        Canvas canvas(c.tool);
        const std::vector<DWORD> before = canvas.pixels(Drawing);
        const RECT* r = nullptr;
        for (const Step& s : c.steps)
            r = canvas.apply(s);
        const std::vector<DWORD> after = canvas.pixels(Drawing), kept = canvas.pixels(Committed);
        const RECT a = r ? *r : RECT{-1, -1, -1, -1};
        DWORD palest = 0;  // the green of a pixel blended once: the background's green is the same everywhere
        LONG changed = 0, outside = 0, darker = 0;
        for (int i = 0; i < kSize * kSize; ++i)
            palest = std::max<DWORD>(palest, after[i] != before[i] ? after[i] >> 8 & 0xFF : 0);
        for (int i = 0, x = 0, y = 0; i < kSize * kSize; x = ++i % kSize, y = i / kSize) {
            changed += after[i] != before[i];
            outside += after[i] != before[i] && r && (x < a.left || x >= a.right || y < a.top || y >= a.bottom);
            darker += c.tool == 'h' && after[i] != before[i] && (after[i] >> 8 & 0xFF) < palest;
        }
        const LONG some = c.want[4] < 0 && changed ? -1 : changed, took = kept == after && changed ? 1 : kept == before ? 0 : -1;
        EXPECT_EQ(std::vector<LONG>({a.left, a.top, a.right, a.bottom, some, darker, took}), c.want) << c.why;
        EXPECT_EQ(outside, 0) << c.why << ": changed outside the answered area";
    }
}

TEST(PenRenderer, CreatesAPenOnlyForANewRequest)
{
    Canvas c('p');
    const auto selected = [&c] { return GetCurrentObject(c.dc[Drawing], OBJ_PEN); };
    const HGDIOBJ first = selected(), original = GetStockObject(BLACK_PEN);
    EXPECT_TRUE(c.pen.setPen(RGB(255, 0, 0), 5) && selected() == first) << "the same request selects nothing new";
    EXPECT_TRUE(c.pen.setPen(RGB(0, 0, 255), 5) && !GetObjectType(first)) << "the replaced pen is deleted";
    c.pen.releasePen();
    EXPECT_EQ(selected(), original) << "the DC's own pen is back";
    // Regression: a request the system refused answered done when asked again, the old pen selected.
    Platform.extCreatePen = [](DWORD, DWORD, const LOGBRUSH*) { return HPEN(nullptr); };
    EXPECT_FALSE(c.pen.setPen(RGB(0, 255, 0), 7)) << "GDI objects exhausted";
    Platform = SystemPlatform();
    EXPECT_TRUE(c.pen.setPen(RGB(0, 255, 0), 7) && selected() != original) << "the second request selects the pen";
}

}  // namespace
