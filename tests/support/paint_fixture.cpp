#include "support/paint_fixture.h"

#include "session/paint_window.h"
#include "shell/messages.h"
#include "shell/settings.h"

void PaintWindowTest::SetUpTestSuite()
{
    WNDCLASSEXA owner = {};
    owner.cbSize = sizeof(owner);
    owner.lpfnWndProc = DefWindowProcA;
    owner.hInstance = GetModuleHandleA(nullptr);
    owner.lpszClassName = "ScrivaneTestOwner";
    RegisterClassExA(&owner);
}

void PaintWindowTest::SetUp()
{
    Settings = SettingsRecord();
    owner = CreateWindowExA(0, "ScrivaneTestOwner", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
}

void PaintWindowTest::TearDown()
{
    ClosePaintWindow();
    DestroyWindow(owner);
}

HWND PaintWindowTest::OpenPaintWindow()
{
    paint = CreatePaintWindow(owner, GetModuleHandleA(nullptr));
    return paint;
}

void PaintWindowTest::ClosePaintWindow()
{
    if (paint != nullptr)
        DestroyWindow(paint);
    paint = nullptr;
}

bool PaintWindowTest::OwnerGotSessionEnded()
{
    MSG msg;
    return PeekMessageA(&msg, owner, TWM_SESSION_ENDED, TWM_SESSION_ENDED, PM_REMOVE) != FALSE;
}

void FillSurface(HDC dc, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    const RECT all = {0, 0, 32767, 32767};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}
