// The compiled resources as the program finds them, by id and by explicit language. What they say
// and draw is theirs; what must hold is that both languages offer the same ids, that the icons have
// the sizes the shell asks for, and that each cursor acts where it points.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

std::string Bytes(LPCSTR type, UINT id, WORD lang)
{
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(self, type, MAKEINTRESOURCEA(id), lang);
    return found ? std::string(static_cast<const char*>(LockResource(LoadResource(self, found))), SizeofResource(self, found))
                 : std::string();
}

// A language's string ids (block id/16+1 holds 16 counted UTF-16 strings; RT_STRING is 6), then its
// tray menu's ids by position, 0 for a separator and -1 around a submenu; every label non-empty.
std::vector<int> Ids(HMENU menu)
{
    std::vector<int> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const bool separator = GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR, sub = GetSubMenu(menu, i);
        EXPECT_TRUE(separator || GetMenuStringW(menu, i, nullptr, 0, MF_BYPOSITION) > 0) << "item " << i;
        const std::vector<int> inner = sub ? Ids(GetSubMenu(menu, i)) : std::vector<int>();
        ids.push_back(sub ? -1 : separator ? 0 : int(GetMenuItemID(menu, i)));
        ids.insert(ids.end(), inner.begin(), inner.end());
        if (sub)
            ids.push_back(-1);
    }
    return ids;
}

std::vector<int> Ids(WORD lang)
{
    std::vector<int> ids;
    for (UINT block = 1; block < 64; ++block) {
        const std::string bytes = Bytes(MAKEINTRESOURCEA(6), block, lang);
        const std::wstring units(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
        for (size_t at = 0, i = 0; at < units.size() && i < 16; at += 1 + units[at], ++i)
            if (units[at] != 0)
                ids.push_back(int((block - 1) * 16 + i));
    }
    const std::string menu = Bytes(MAKEINTRESOURCEA(4), IDM_TRAY, lang);  // RT_MENU
    HMENU loaded = menu.empty() ? nullptr : LoadMenuIndirectW(menu.data());
    const std::vector<int> items = loaded ? Ids(loaded) : std::vector<int>();
    ids.insert(ids.end(), items.begin(), items.end());
    DestroyMenu(loaded);
    return ids;
}

TEST(Resources, BothLanguagesTheSameIdsAndTheIconsTheirSizes)
{
    std::vector<int> want;
    for (int id = IDS_TASKTRAY; id <= IDS_CREATE_FAILED; ++id)
        want.push_back(id);
    want.insert(want.end(), {-1, IDM_CONFIG, 0, IDM_EXIT, -1});
    EXPECT_EQ(Ids(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), want);
    EXPECT_EQ(Ids(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)), want);
    // The large icon serves the 48 and 32 pixel views, the small one the title bars and the tray.
    const struct { UINT id; std::vector<int> sizes; } icons[] = {{IDI_APP_LARGE, {48, 32}}, {IDI_APP_SMALL, {16}}};
    for (const auto& c : icons) {
        const std::string dir = Bytes(MAKEINTRESOURCEA(14), c.id, LANG_NEUTRAL);  // RT_GROUP_ICON
        std::vector<int> sizes;
        for (size_t e = 6; e + 14 <= dir.size(); e += 14)
            sizes.push_back(static_cast<unsigned char>(dir[e]));
        EXPECT_EQ(sizes, c.sizes) << c.id;
    }
}

// The hot spot is on a pixel the cursor shows (the pencil's tip, the highlighter's band), or in the
// middle of the hollow outline it shows (the eraser's square).
TEST(Resources, EachCursorActsWhereItPoints)
{
    for (int id : {IDC_PEN, IDC_ERASER, IDC_HIGHLIGHTER}) {
        HCURSOR cursor = HCURSOR(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_CURSOR, 32, 32, 0));
        ICONINFO info = {};
        BYTE bits[64 * 4] = {};  // 32 rows of AND then 32 of XOR, 4 bytes a row
        ASSERT_TRUE(cursor && GetIconInfo(cursor, &info) && !info.hbmColor &&
                    GetBitmapBits(info.hbmMask, sizeof bits, bits) == sizeof bits) << id;
        DeleteObject(info.hbmMask);
        DestroyCursor(cursor);
        auto bit = [&](int row, int x) { return bits[row * 4 + x / 8] >> (7 - x % 8) & 1; };
        auto shown = [&](int x, int y) { return !bit(y, x) || bit(y + 32, x); };  // AND 1, XOR 0: see-through
        RECT box = {32, 32, -1, -1};
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (shown(x, y))
                    box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
                           std::max<LONG>(box.bottom, y)};
        const int x = info.xHotspot, y = info.yHotspot;
        EXPECT_TRUE(shown(x, y) || (x == (box.left + box.right + 1) / 2 && y == (box.top + box.bottom + 1) / 2))
            << id << ": hot spot " << x << "," << y << ", shown " << box.left << "," << box.top << "-" << box.right << ","
            << box.bottom;
    }
}

}  // namespace
