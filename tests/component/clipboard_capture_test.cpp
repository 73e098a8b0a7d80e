// Taking the picture from a clipboard bitmap: each layout other programs put there, and blocks that
// must be refused rather than read.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "canvas/surfaces.h"
#include "session/capture.h"
#include "session/paint_window.h"
#include "shell/messages.h"
#include "shell/settings.h"
#include "support/paint_fixture.h"
#include "support/platform_override.h"

namespace {

constexpr COLORREF kBefore = RGB(1, 2, 3);
// The test picture, 3 x 2, top row first: red green blue / white black yellow.
const COLORREF kPicture[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                 {RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 0)}};

struct Dib {
    std::vector<unsigned char> bytes;
};

BITMAPINFOHEADER Header(int bitCount, bool topDown, DWORD compression = BI_RGB, DWORD colorsUsed = 0)
{
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof(h);
    h.biWidth = 3;
    h.biHeight = topDown ? -2 : 2;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bitCount);
    h.biCompression = compression;
    h.biClrUsed = colorsUsed;
    return h;
}

void Append(std::vector<unsigned char>& out, const void* p, size_t n)
{
    const auto* b = static_cast<const unsigned char*>(p);
    out.insert(out.end(), b, b + n);
}

// Pixel rows in storage order: bottom-up unless the height is negative.
template <typename WritePixel>
void AppendRows(std::vector<unsigned char>& out, bool topDown, size_t stride, WritePixel write)
{
    for (int stored = 0; stored < 2; ++stored) {
        const int row = topDown ? stored : 1 - stored;
        std::vector<unsigned char> line(stride, 0);
        for (int x = 0; x < 3; ++x)
            write(line.data(), x, kPicture[row][x]);
        Append(out, line.data(), line.size());
    }
}

Dib Rgb24(bool topDown)
{
    Dib d;
    const BITMAPINFOHEADER h = Header(24, topDown);
    Append(d.bytes, &h, sizeof(h));
    AppendRows(d.bytes, topDown, 12, [](unsigned char* line, int x, COLORREF c) {
        line[3 * x] = GetBValue(c);
        line[3 * x + 1] = GetGValue(c);
        line[3 * x + 2] = GetRValue(c);
    });
    return d;
}

Dib Bitfields32()
{
    Dib d;
    const BITMAPINFOHEADER h = Header(32, false, BI_BITFIELDS);
    Append(d.bytes, &h, sizeof(h));
    const DWORD masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    Append(d.bytes, masks, sizeof(masks));
    AppendRows(d.bytes, false, 12, [](unsigned char* line, int x, COLORREF c) {
        const DWORD pixel = DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c);
        std::memcpy(line + 4 * x, &pixel, 4);
    });
    return d;
}

Dib Indexed8()
{
    Dib d;
    const BITMAPINFOHEADER h = Header(8, false);
    Append(d.bytes, &h, sizeof(h));
    // A full 256-entry table whose entry 10 + k is picture colour k; everything else grey.
    RGBQUAD table[256];
    for (RGBQUAD& q : table)
        q = RGBQUAD{128, 128, 128, 0};
    for (int k = 0; k < 6; ++k) {
        const COLORREF c = kPicture[k / 3][k % 3];
        table[10 + k] = RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0};
    }
    Append(d.bytes, table, sizeof(table));
    AppendRows(d.bytes, false, 4, [](unsigned char* line, int x, COLORREF c) {
        for (int k = 0; k < 6; ++k)
            if (kPicture[k / 3][k % 3] == c)
                line[x] = static_cast<unsigned char>(10 + k);
    });
    return d;
}

void PutOnClipboard(HWND owner, const std::vector<unsigned char>& bytes)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    if (!bytes.empty()) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        SetClipboardData(CF_DIB, block);
    }
    CloseClipboard();
}

class ClipboardCapture : public PaintWindowTest {
protected:
    PlatformOverride platform;
    void SetUp() override
    {
        PaintWindowTest::SetUp();
        Platform.pressPrintScreen = [] { return true; };  // the test puts the picture there itself
        ASSERT_NE(OpenPaintWindow(), nullptr);
        FillSurface(captureSurface, kBefore);
    }
    void TearDown() override
    {
        PutOnClipboard(owner, {});
        PaintWindowTest::TearDown();
    }
    void ExpectPictureIn(HDC dc, const char* what)
    {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(GetPixel(dc, x, y), kPicture[y][x]) << what << " at " << x << "," << y;
        EXPECT_EQ(GetPixel(dc, 3, 0), kBefore) << what << ": nothing right of the picture";
        EXPECT_EQ(GetPixel(dc, 0, 2), kBefore) << what << ": nothing below it";
    }
};

TEST_F(ClipboardCapture, EachLayoutLandsUprightAtTheTopLeft)
{
    const struct {
        Dib dib;
        const char* why;
    } cases[] = {
        {Rgb24(false), "24 bits, bottom-up"},
        {Rgb24(true), "24 bits, top-down"},
        {Bitfields32(), "32 bits with bit fields, colorsUsed 0: pixels 12 bytes after the header"},
        {Indexed8(), "8 bits with a 256-entry table"},
    };
    for (const auto& c : cases) {
        FillSurface(captureSurface, kBefore);
        PutOnClipboard(owner, c.dib.bytes);
        SIZE size = {};
        ASSERT_TRUE(CaptureFromClipboard(paint, size)) << c.why;
        EXPECT_EQ(size.cx, 3) << c.why;
        EXPECT_EQ(size.cy, 2) << c.why;
        ExpectPictureIn(captureSurface, c.why);
    }
}

TEST_F(ClipboardCapture, MalformedBlocksAreRefusedLikeAnEmptyClipboard)
{
    std::vector<unsigned char> truncated = Rgb24(false).bytes;
    truncated.resize(truncated.size() - 1);
    std::vector<unsigned char> hugeWidth = Rgb24(false).bytes;
    reinterpret_cast<BITMAPINFOHEADER*>(hugeWidth.data())->biWidth = 0x7FFFFFFF;
    std::vector<unsigned char> zeroHeight = Rgb24(false).bytes;
    reinterpret_cast<BITMAPINFOHEADER*>(zeroHeight.data())->biHeight = 0;
    std::vector<unsigned char> oddBits = Rgb24(false).bytes;
    reinterpret_cast<BITMAPINFOHEADER*>(oddBits.data())->biBitCount = 7;
    std::vector<unsigned char> tableTooBig = Indexed8().bytes;
    reinterpret_cast<BITMAPINFOHEADER*>(tableTooBig.data())->biClrUsed = 100000;
    std::vector<unsigned char> headerOnly = Rgb24(false).bytes;
    headerOnly.resize(sizeof(BITMAPINFOHEADER));
    const struct {
        std::vector<unsigned char> bytes;
        const char* why;
    } cases[] = {
        {{}, "nothing on the clipboard"},
        {truncated, "pixel area one byte short of the block"},
        {hugeWidth, "absurd width"},
        {zeroHeight, "zero height"},
        {oddBits, "unknown bit count"},
        {tableTooBig, "colour table larger than the block"},
        {headerOnly, "a header and nothing else"},
    };
    for (const auto& c : cases) {
        PutOnClipboard(owner, c.bytes);
        SIZE size = {};
        EXPECT_FALSE(CaptureFromClipboard(paint, size)) << c.why;
        EXPECT_EQ(GetPixel(captureSurface, 0, 0), kBefore) << c.why << ": the capture is untouched";
    }
}

TEST_F(ClipboardCapture, WholeCaptureCopiesThePictureIntoEverySurface)
{
    Settings.flags |= OPT_VIA_CLIPBOARD;
    FillSurface(committedSurface, kBefore);
    FillSurface(drawingSurface, kBefore);
    FillSurface(viewSurface, kBefore);
    PutOnClipboard(owner, Rgb24(false).bytes);
    const DWORD start = GetTickCount();
    PaintWindowProc(paint, PWM_CAPTURE, 0, 0);
    EXPECT_LT(GetTickCount() - start, 900u) << "a first try that succeeds does not wait";
    ExpectPictureIn(captureSurface, "capture");
    ExpectPictureIn(committedSurface, "committed");
    ExpectPictureIn(drawingSurface, "drawing");
    ExpectPictureIn(viewSurface, "view");
}

}  // namespace
