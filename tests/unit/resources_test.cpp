// The compiled resources as the program finds them. What they say and draw is theirs; what must hold is
// that both languages offer the same ids, the icons the sizes the shell asks for, the cursors their size
// and their hot spots.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

TEST(Resources, BothLanguagesTheSameIdsAndTheIconsTheirSizes)
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
}

// Loaded at 200 % and then at 100 %: the system's size each time, the hot spot on a pixel the cursor
// shows (the pencil's tip, the highlighter's band) or amid the hollow square it shows (the eraser).
TEST(ToolCursors, AtTheSystemsSizeForTheMonitorsDpiEachTimeActingWhereTheyPoint)
{
    for (const int n : {64, 32}) {  // the system's size at 192 and at 96 DPI
        LoadToolCursors(GetModuleHandleA(nullptr), n * 3);
        for (HCURSOR cursor : {penCursor, eraserCursor, highlighterCursor}) {
            ICONINFO info = {};
            BITMAP mask = {};
            std::vector<BYTE> bits(n * n / 4);  // n rows of AND then n of XOR, n / 8 bytes a row
            ASSERT_TRUE(GetIconInfo(cursor, &info) && !info.hbmColor && GetObjectA(info.hbmMask, sizeof mask, &mask) &&
                        GetBitmapBits(info.hbmMask, LONG(bits.size()), bits.data()) == LONG(bits.size()));
            DeleteObject(info.hbmMask);
            EXPECT_EQ(mask.bmWidth, n) << "not the system's size at " << n * 3 << " DPI";
            auto bit = [&](int row, int x) { return bits[row * n / 8 + x / 8] >> (7 - x % 8) & 1; };
            auto shown = [&](int x, int y) { return !bit(y, x) || bit(y + n, x); };  // AND 1, XOR 0: see-through
            int left = n, top = n, right = -1, bottom = -1;  // of what it shows
            for (int i = 0; i < n * n; ++i)
                if (shown(i % n, i / n))
                    left = std::min(left, i % n), right = std::max(right, i % n), top = std::min(top, i / n), bottom = i / n;
            const int x = info.xHotspot, y = info.yHotspot, slack = n / 64;  // a pixel of rounding, stretched
            EXPECT_TRUE(shown(x, y) || (std::abs(x - (left + right + 1) / 2) <= slack && std::abs(y - (top + bottom + 1) / 2) <= slack))
                << n << ": " << x << "," << y;
        }
    }
}

}  // namespace
