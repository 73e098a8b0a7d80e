// The compiled resources as the program finds them. What they say and draw is theirs; what must hold is
// that both languages offer the same ids, the icons the sizes the shell asks for, each cursor acts where it points.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "canvas/tool_state.h"
#include "resources/resource.h"

namespace {

std::string Bytes(LPCSTR type, UINT id, WORD lang)
{
    HRSRC found = FindResourceExA(nullptr, type, MAKEINTRESOURCEA(id), lang);
    const char* bytes = found ? static_cast<const char*>(LockResource(LoadResource(nullptr, found))) : "";
    return std::string(bytes, found ? SizeofResource(nullptr, found) : 0);
}

// A menu's ids in order, 0 for a separator and -1 for a submenu before its own; every label non-empty.
void MenuIds(HMENU menu, std::vector<int>& ids)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const bool separator = GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR;
        EXPECT_TRUE(separator || GetMenuStringW(menu, i, nullptr, 0, MF_BYPOSITION) > 0) << "item " << i;
        ids.push_back(GetSubMenu(menu, i) ? -1 : separator ? 0 : int(GetMenuItemID(menu, i)));
        if (GetSubMenu(menu, i))
            MenuIds(GetSubMenu(menu, i), ids);
    }
}

TEST(Resources, BothLanguagesTheSameIdsTheIconsTheirSizesAndEachCursorActsWhereItPoints)
{
    std::vector<int> want;
    for (int id = IDS_TASKTRAY; id <= IDS_CREATE_FAILED; ++id)
        want.push_back(id);
    want.insert(want.end(), {-1, IDM_CONFIG, 0, IDM_EXIT});
    for (WORD lang : {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)}) {
        std::vector<int> ids;  // RT_STRING block n holds ids 16(n-1)..16n-1 as counted UTF-16 strings
        for (UINT block = 1; block < 64; ++block) {
            const std::string text = Bytes(RT_STRING, block, lang);
            const std::wstring units(reinterpret_cast<const wchar_t*>(text.data()), text.size() / 2);
            for (size_t at = 0, i = 0; at < units.size() && i < 16; at += 1 + units[at], ++i)
                if (units[at] != 0)
                    ids.push_back(int((block - 1) * 16 + i));
        }
        const std::string bytes = Bytes(RT_MENU, IDM_TRAY, lang);
        HMENU menu = bytes.empty() ? nullptr : LoadMenuIndirectW(bytes.data());
        MenuIds(menu, ids);
        DestroyMenu(menu);
        EXPECT_EQ(ids, want) << lang;
    }
    // The large icon serves the 48 and 32 pixel views, the small one the title bars and the tray.
    for (const auto& [id, sizes] : {std::pair<UINT, std::string>{IDI_APP_LARGE, "\x30\x20"}, {IDI_APP_SMALL, "\x10"}}) {
        const std::string dir = Bytes(RT_GROUP_ICON, id, LANG_NEUTRAL);
        std::string got;
        for (size_t e = 6; e + 14 <= dir.size(); e += 14)
            got += dir[e];
        EXPECT_EQ(got, sizes) << id;
    }
    // The hot spot is on a pixel the cursor shows (the pencil's tip, the highlighter's band), or in the
    // middle of the hollow outline it shows (the eraser's square).
    for (int id : {IDC_PEN, IDC_ERASER, IDC_HIGHLIGHTER}) {
        HCURSOR cursor = HCURSOR(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_CURSOR, 32, 32, 0));
        ICONINFO info = {};
        BYTE bits[64 * 4] = {};  // 32 rows of AND then 32 of XOR, 4 bytes a row
        ASSERT_TRUE(cursor && GetIconInfo(cursor, &info) && !info.hbmColor &&
                    GetBitmapBits(info.hbmMask, sizeof bits, bits) == sizeof bits) << id;
        DeleteObject(info.hbmMask), DestroyCursor(cursor);
        auto bit = [&](int row, int x) { return bits[row * 4 + x / 8] >> (7 - x % 8) & 1; };
        auto shown = [&](int x, int y) { return !bit(y, x) || bit(y + 32, x); };  // AND 1, XOR 0: see-through
        int left = 32, top = 32, right = -1, bottom = -1;  // of what it shows
        for (int i = 0; i < 32 * 32; ++i)
            if (shown(i % 32, i / 32))
                left = std::min(left, i % 32), right = std::max(right, i % 32), top = std::min(top, i / 32), bottom = i / 32;
        const int x = info.xHotspot, y = info.yHotspot;
        EXPECT_TRUE(shown(x, y) || (x == (left + right + 1) / 2 && y == (top + bottom + 1) / 2)) << id << ": " << x;
    }
}

// The tool cursors at 200 %, and at 100 % after that: a session loads them at its monitor's scale.
TEST(ToolCursors, AtTheSystemsSizeForTheMonitorsDpiEachTime)
{
    for (const auto& [dpi, want] : {std::pair<UINT, const char*>{192, "64 2,60"}, {96, "32 1,30"}}) {
        LoadToolCursors(GetModuleHandleA(nullptr), dpi);
        ICONINFO info = {};
        BITMAP mask = {};
        ASSERT_TRUE(GetIconInfo(penCursor, &info) && GetObjectA(info.hbmMask, sizeof mask, &mask));
        DeleteObject(info.hbmMask), DeleteObject(info.hbmColor);  // no colour bitmap: a monochrome cursor
        EXPECT_EQ(std::to_string(mask.bmWidth) + " " + std::to_string(info.xHotspot) + "," + std::to_string(info.yHotspot), want)
            << dpi << " DPI: the system's size, the pencil's tip at the hot spot, also when a session before had another";
    }
}

}  // namespace
