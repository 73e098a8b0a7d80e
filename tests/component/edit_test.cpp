// Undo, redo, copy and PNG on a real paint window, checked by the pixels of its drawing surface, the
// clipboard and the files it writes.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincodec.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "canvas/palette_panel.h"
#include "canvas/surfaces.h"
#include "render/bmp_export.h"
#include "render/png_export.h"
#include "render/undo_history.h"
#include "session/paint_window.h"
#include "session/session_objects.h"
#include "shell/base/hot_key.h"
#include "shell/base/messages.h"
#include "shell/base/platform.h"
#include "shell/base/settings.h"

namespace {

BYTE held[256];

struct Editing : ::testing::Test {
    void SetUp() override
    {
        Settings = SettingsRecord();
        Platform.getKeyboardState = [](BYTE* keys) { return std::copy_n(held, 256, keys), TRUE; };
        window = CreatePaintWindow(nullptr, GetModuleHandleA(nullptr));
        PaintWindowProc(window, PWM_CAPTURE, 0, 0);
        RECT client;
        GetClientRect(window, &client);
        width = client.right, height = client.bottom;
    }
    void TearDown() override { DestroyWindow(window), Platform = SystemPlatform(); }
    void Key(UINT key, BYTE modifier = VK_CONTROL, BYTE second = VK_CONTROL)
    {
        held[modifier] = held[second] = 0x80;
        PaintWindowProc(window, WM_KEYDOWN, key, 0), PaintWindowProc(window, WM_KEYUP, key, 0);
        held[modifier] = held[second] = 0;
    }
    void Drag(WPARAM keys, POINT a, POINT b)
    {
        PaintWindowProc(window, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(a.x, a.y));
        PaintWindowProc(window, WM_MOUSEMOVE, MK_LBUTTON | keys, MAKELPARAM((a.x + b.x) / 2, b.y));
        PaintWindowProc(window, WM_MOUSEMOVE, MK_LBUTTON | keys, MAKELPARAM(b.x, b.y));
        PaintWindowProc(window, WM_LBUTTONUP, keys, MAKELPARAM(b.x, b.y));
    }
    std::vector<uint32_t> Picture()
    {
        BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        std::vector<uint32_t> out(size_t(width) * height);
        GetDIBits(drawingSurface, static_cast<HBITMAP>(GetCurrentObject(drawingSurface, OBJ_BITMAP)), 0, height, out.data(), &info, DIB_RGB_COLORS);
        return out;
    }
    HWND window;
    int width, height;
};

TEST_F(Editing, EveryKindOfMarkIsUndoneAndRedone)
{
    const struct { const char* why; uint32_t tool; bool highlighter, clearAll; WPARAM keys; } marks[] = {  // tool 8: the eraser
        {"free stroke", 2, false, false, 0}, {"straight line", 3, false, false, MK_CONTROL}, {"rectangle", 4, false, false, MK_SHIFT},
        {"highlighter band", 5, true, false, 0}, {"eraser stroke", 8, false, false, 0}, {"clear-all", 0, false, true, 0},
    };
    Drag(0, {50, 50}, {300, 200});  // something for the eraser and the clear to take away
    for (const auto& m : marks) {
        const std::vector<uint32_t> before = Picture();
        palettePanel().highlighter = m.highlighter;
        palettePanel().selectColor(m.tool);
        ApplyTool();
        m.clearAll ? void(PaintWindowProc(window, PWM_CLEAR, 0, 0)) : Drag(m.keys, {40, 60}, {310, 190});
        const std::vector<uint32_t> after = Picture();
        ASSERT_NE(after, before) << m.why << ": the mark changed nothing";
        Key('Z');
        EXPECT_EQ(Picture(), before) << m.why << " undone";
        Key('Y');
        EXPECT_EQ(Picture(), after) << m.why << " redone";
        Key('Z'), Key('Z', VK_CONTROL, VK_SHIFT);
        EXPECT_EQ(Picture(), after) << m.why << " redone by Ctrl+Shift+Z";
    }
}

TEST_F(Editing, ANewMarkEndsRedoAndAPenRowOnCtrlYWins)
{
    Drag(0, {50, 50}, {100, 100}), Key('Z'), Drag(0, {200, 50}, {250, 100});
    const std::vector<uint32_t> latest = Picture();
    Key('Y');
    EXPECT_EQ(Picture(), latest) << "nothing left to redo";
    Settings.penSelectKey = 'Y' | kHotKeyControl << 8;
    palettePanel().selectColor(3);
    Key('Z');
    const std::vector<uint32_t> undone = Picture();
    Key('Y');
    EXPECT_EQ(Picture(), undone) << "Ctrl+Y is the row's first key, not redo";
    EXPECT_EQ(palettePanel().colorIndex, 0);
}

TEST_F(Editing, TheHistoryKeepsWithinItsBudgetDroppingTheOldest)
{
    UndoHistory history(2 * 10 * 10 * 4);  // two 10x10 steps
    for (int i = 0; i < 3; ++i)
        history.keep(committedSurface, RECT{i * 10, 0, i * 10 + 10, 10});
    EXPECT_EQ(history.undoCount(), 2u);
    history.keep(committedSurface, RECT{0, 0, 100, 100});
    EXPECT_EQ(history.undoCount(), 0u) << "a step larger than the budget: nothing before it can be undone";
}

// What the clipboard and a PNG file hold is the picture the BMP file holds.
TEST_F(Editing, CopyAndPngHoldTheSavedPixels)
{
    Drag(0, {50, 50}, {300, 200});
    char bmp[260] = "edit_test.bmp", png[260] = "edit_test.png";
    SaveDrawingAs(window, drawingSurface, bmp), SaveDrawingAs(window, drawingSurface, png);
    std::ifstream file(bmp, std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(file)), {});
    ASSERT_GT(saved.size(), 54u);
    Key('C');
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE dib = GetClipboardData(CF_DIB);
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(dib)), saved.size() - 14), saved.substr(14)) << "CF_DIB is the file without its file header";
    GlobalUnlock(dib), CloseClipboard();

    // The system's decoder reads the PNG back; rows come out top-down.
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    GUID format = {};
    CoInitialize(nullptr);
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)));
    ASSERT_HRESULT_SUCCEEDED(factory->CreateDecoderFromFilename(L"edit_test.png", nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder));
    decoder->GetContainerFormat(&format);
    EXPECT_TRUE(IsEqualGUID(format, GUID_ContainerFormatPng)) << "the decoder would read a BMP by that name too";
    const UINT stride = (width * 3 + 3) & ~3u;
    std::vector<BYTE> rows(size_t(stride) * height);
    ASSERT_HRESULT_SUCCEEDED(decoder->GetFrame(0, &frame));
    ASSERT_HRESULT_SUCCEEDED(frame->CopyPixels(nullptr, stride, static_cast<UINT>(rows.size()), rows.data()));
    for (int y = 0; y < height; y += 7)
        ASSERT_EQ(std::string(reinterpret_cast<char*>(&rows[size_t(y) * stride]), width * 3), saved.substr(54 + size_t(height - 1 - y) * stride, width * 3)) << "row " << y;
    frame->Release(), decoder->Release(), factory->Release();
}

TEST_F(Editing, ACopyGivesUpOnAClipboardHeldElsewhere)
{
    std::thread holder([] { OpenClipboard(CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, 0, 0, 0, 0)), Sleep(1500), CloseClipboard(); });
    Sleep(100);
    const auto start = std::chrono::steady_clock::now();
    Key('C');
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    holder.join();
}

// A desktop at 3840x2160 as a PNG: a gradient wallpaper, windows of text and a 1280x720 photo.
TEST(Png, AFourKDesktopIsWellUnderFiveMegabytes)
{
    constexpr int w = 3840, h = 2160, stride = w * 3;
    std::vector<uint8_t> rows(size_t(stride) * h), png;
    uint32_t noise = 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool window = (x / 960 + y / 720) % 2 == 0, text = window && y % 18 < 11 && (x * 7 + y) % 13 < 5;
            const bool photo = x >= 2400 && x < 3680 && y >= 1300 && y < 2020;
            for (int c = 0; c < 3; ++c, noise = noise * 1103515245 + 12345)
                rows[size_t(y) * stride + x * 3 + c] = photo ? uint8_t((x + y * c) / 8 + (noise >> 27)) : window ? (text ? 30 : 245) : uint8_t(y * 255 / h + c * 20);
        }
    ASSERT_TRUE(EncodePng(w, h, rows.data(), stride, png));
    EXPECT_LT(png.size(), 3u << 20) << "2 MB when this was written";
}

}  // namespace
