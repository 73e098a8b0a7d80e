// Checks the compiled resources the way the program finds them: by id and by
// explicit language, so the result does not depend on the user's UI language.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

// The RT_* macros follow UNICODE; these stay ANSI whatever the build defines.
const LPCSTR kRtMenu = MAKEINTRESOURCEA(4), kRtString = MAKEINTRESOURCEA(6);
const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 1033
const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);   // 1041

HMODULE Self() { return GetModuleHandleA(nullptr); }

std::string ResourceBytes(LPCSTR type, LPCSTR name, WORD lang) {
  HRSRC found = FindResourceExA(Self(), type, name, lang);
  if (found == nullptr) return {};
  const char* data = static_cast<const char*>(LockResource(LoadResource(Self(), found)));
  return std::string(data, SizeofResource(Self(), found));
}

// Each (name, language) the module holds for a resource type, as it lists
// them: unlike a lookup, this never falls back to another language.
using Listed = std::vector<std::pair<UINT, WORD>>;

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR name, WORD lang, LONG_PTR out) {
  reinterpret_cast<Listed*>(out)->push_back({static_cast<UINT>(reinterpret_cast<UINT_PTR>(name)), lang});
  return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR out) {
  return EnumResourceLanguagesA(module, type, name, AddLanguage, out);
}

Listed List(LPCSTR type) {
  Listed listed;
  EnumResourceNamesA(Self(), type, AddName, reinterpret_cast<LONG_PTR>(&listed));
  return listed;
}

// String id in one language, "" when absent: block id/16+1 holds 16 counted UTF-16 strings.
std::wstring Text(UINT id, WORD lang) {
  const std::string block = ResourceBytes(kRtString, MAKEINTRESOURCEA(id / 16 + 1), lang);
  const std::wstring units(reinterpret_cast<const wchar_t*>(block.data()), block.size() / 2);
  size_t at = 0;
  for (UINT i = 0; i < id % 16 && at < units.size(); ++i) at += 1 + units[at];
  return at < units.size() ? units.substr(at + 1, units[at]) : L"";
}

TEST(StringTable, BothLanguagesDefineIds111To125AndNothingElse) {
  // Ids 96 to 127 are blocks 7 and 8: the only blocks, in no other language.
  EXPECT_EQ(List(kRtString), (Listed{{7, kEnglish}, {7, kJapanese}, {8, kEnglish}, {8, kJapanese}}));
  const wchar_t* const english[] = {
      L"Stand-by in TaskTray", L"Register HotKey", L"Delayed Launching", L"Select Pen by",
      L"Remember Palette", L"Reset", L"Remember Last Pen", L"Remember Pen Size", L"Include Cursor",
      L"Via Clipboard", L"Enable Mouse Hook",
      L"To modify options, remove the config file \"Scrivane.cfg\".", L"Failed to register HotKey.",
      L"The picture was not saved.", L"Failed to create main window"};
  static_assert(std::size(english) == IDS_CREATE_FAILED - IDS_TASKTRAY + 1, "one text per id");
  for (UINT id = 96; id < 128; ++id) {
    const bool defined = id >= IDS_TASKTRAY && id <= IDS_CREATE_FAILED;
    EXPECT_EQ(Text(id, kEnglish), defined ? english[id - IDS_TASKTRAY] : L"") << id;
    EXPECT_EQ(Text(id, kJapanese).empty(), !defined) << id;
  }
  EXPECT_EQ(Text(IDS_TASKTRAY, kJapanese), L"タスクトレイに格納");
  EXPECT_EQ(Text(IDS_SAVE_FAILED, kJapanese), L"画像は保存されませんでした。");
  EXPECT_EQ(Text(IDS_NON_TRAY_NOTICE, kJapanese), L"設定を変更するには、設定ファイル (Scrivane.cfg) を削除してください。");
}

// "&File[32771 &Config|-|32772 E&xit]": labels and ids by position, "-" a separator.
std::wstring Describe(HMENU menu) {
  std::wstring out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t label[64] = {};
    GetMenuStringW(menu, i, label, 64, MF_BYPOSITION);
    HMENU sub = GetSubMenu(menu, i);
    out += (i ? L"|" : L"") + (sub ? label + (L"[" + Describe(sub) + L"]")
                               : GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR
                                   ? L"-"
                                   : std::to_wstring(GetMenuItemID(menu, i)) + L" " + label);
  }
  return out;
}

TEST(TrayMenu, EachLanguageHasFileWithConfigSeparatorAndExit) {
  EXPECT_EQ(List(kRtMenu), (Listed{{IDM_TRAY, kEnglish}, {IDM_TRAY, kJapanese}}));
  for (const auto& [lang, expected] : {std::pair{kEnglish, L"&File[32771 &Config|-|32772 E&xit]"},
                                       {kJapanese, L"ファイル(&F)[32771 設定(&C)|-|32772 終了(&X)]"}}) {
    const std::string data = ResourceBytes(kRtMenu, MAKEINTRESOURCEA(IDM_TRAY), lang);
    HMENU menu = data.empty() ? nullptr : LoadMenuIndirectW(data.data());
    ASSERT_NE(menu, nullptr) << lang;
    EXPECT_EQ(Describe(menu), expected) << lang;
    DestroyMenu(menu);
  }
}

// "48x48x24 32x32x24": size and bits per pixel of each image in an icon or
// cursor group, read from the image itself (a cursor's starts with its hot spot).
std::string GroupImages(bool cursor, int id) {
  const std::string dir = ResourceBytes(MAKEINTRESOURCEA(cursor ? 12 : 14), MAKEINTRESOURCEA(id), LANG_NEUTRAL);
  std::string out;
  for (size_t e = 6; e + 14 <= dir.size(); e += 14) {
    WORD image_id = 0;
    BITMAPINFOHEADER h = {};
    std::memcpy(&image_id, &dir[e + 12], 2);
    const std::string image =
        ResourceBytes(MAKEINTRESOURCEA(cursor ? 1 : 3), MAKEINTRESOURCEA(image_id), LANG_NEUTRAL);
    if (image.size() >= (cursor ? 4 : 0) + sizeof h) std::memcpy(&h, &image[cursor ? 4 : 0], sizeof h);
    out += (e > 6 ? " " : "") + std::to_string(h.biWidth) + "x" + std::to_string(h.biHeight / 2) + "x" +
           std::to_string(h.biBitCount);
  }
  return out;
}

TEST(Icons, AppIconsHaveTheirSizesAndDepths) {
  EXPECT_EQ(GroupImages(false, IDI_APP_LARGE), "48x48x24 32x32x24");
  EXPECT_EQ(GroupImages(false, IDI_APP_SMALL), "16x16x8");
}

// A cursor's mask as the system loads it: transparent where AND is 1 and XOR 0, inverted where both
// are 1, opaque where AND is 0. Lists the pixels whose state is not among those `wanted` answers.
template <class Wanted> std::string WrongCursorPixels(int id, POINT hot, Wanted wanted) {
  HCURSOR cursor = static_cast<HCURSOR>(LoadImageA(Self(), MAKEINTRESOURCEA(id), IMAGE_CURSOR, 32, 32, 0));
  ICONINFO info = {};
  BYTE bits[64 * 4] = {};  // 32 rows of AND then 32 of XOR, 4 bytes a row
  if (!cursor || !GetIconInfo(cursor, &info) || info.hbmColor || GetBitmapBits(info.hbmMask, sizeof bits, bits) != sizeof bits)
    return "not a monochrome cursor";
  DeleteObject(info.hbmMask);
  DestroyCursor(cursor);
  std::string wrong = info.xHotspot == DWORD(hot.x) && info.yHotspot == DWORD(hot.y) ? "" : "hot spot ";
  auto bit = [&](int row, int x) { return bits[row * 4 + x / 8] >> (7 - x % 8) & 1; };
  for (int y = 0; y < 32 && wrong.size() < 80; ++y)
    for (int x = 0; x < 32; ++x) {
      const char is = !bit(y, x) ? 'o' : bit(y + 32, x) ? 'i' : 't';
      if (!std::strchr(wanted(x, y), is)) wrong += std::to_string(x) + "," + std::to_string(y) + " ";
    }
  return wrong;
}

TEST(Cursors, HotSpotsAndShapesMatchWhereEachToolActs) {
  EXPECT_EQ(WrongCursorPixels(IDC_PEN, {1, 30}, [](int x, int y) { return x == 1 && y == 30 ? "o" : "oit"; }), "")
      << "the pencil's tip is at the hot spot";
  EXPECT_EQ(WrongCursorPixels(IDC_ERASER, {16, 16}, [](int x, int y) {
    const bool edge = ((x == 6 || x == 25) && y >= 6 && y <= 25) || ((y == 6 || y == 25) && x >= 6 && x <= 25);
    return edge ? "oi" : "t";
  }), "") << "the eraser shows exactly the outline of the 20x20 square it clears";
  EXPECT_EQ(WrongCursorPixels(IDC_HIGHLIGHTER, {1, 30}, [](int x, int y) {
    return x == 1 ? (y >= 11 && y <= 30 ? "i" : "ot") : x < 4 ? "oit" : "t";
  }), "") << "the highlighter inverts column 1 over exactly the 20 rows its band covers, and nothing else";
}

// The panel draws each picture with SRCPAINT of its mask then SRCAND of the
// picture, which leaves the screen intact only where the mask is black and the
// picture white.
TEST(PanelIcons, PicturesSitOnWhiteWhereverTheMaskIsBlack) {
  HBITMAP bmp = static_cast<HBITMAP>(
      LoadImageA(Self(), MAKEINTRESOURCEA(IDB_PANEL_ICONS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP bm = {};
  ASSERT_TRUE(bmp && GetObjectW(bmp, sizeof bm, &bm));
  ASSERT_TRUE(bm.bmWidth == 60 && bm.bmHeight == 40) << bm.bmWidth << "x" << bm.bmHeight;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
  int opaque[3] = {}, wrong = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      const COLORREF mask = GetPixel(dc, x, y + 20);
      opaque[x / 20] += mask == white;
      wrong += !(mask == white || (mask == black && GetPixel(dc, x, y) == white));
    }
  EXPECT_EQ(wrong, 0) << "pixels whose mask is neither black nor white, or black under a picture that is not white";
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bmp);
  for (int i = 0; i < 3; ++i) EXPECT_GT(opaque[i], 100) << "picture " << i << " is nearly empty";
}

}  // namespace
