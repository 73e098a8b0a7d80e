// A paint window created the way a session creates it, owned by a test window that records what the
// paint window posts to its owner.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

class PaintWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Creates the hidden paint window over the virtual screen; null when creation failed.
    HWND OpenPaintWindow();
    void ClosePaintWindow();
    // Whether the owner has a TWM_SESSION_ENDED waiting (and takes it).
    bool OwnerGotSessionEnded();

    HWND owner = nullptr;
    HWND paint = nullptr;
};

// Fills the whole of a surface with one colour.
void FillSurface(HDC dc, COLORREF color);
