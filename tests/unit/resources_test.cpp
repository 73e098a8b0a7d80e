// Checks the compiled resources the way the program finds them: by id and by
// explicit language, so the result does not depend on the user's UI language.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

// The RT_* macros follow UNICODE; these stay ANSI whatever the build defines.
const LPCSTR kRtMenu = MAKEINTRESOURCEA(4);
const LPCSTR kRtString = MAKEINTRESOURCEA(6);
const LPCSTR kRtGroupCursor = MAKEINTRESOURCEA(12);
const LPCSTR kRtGroupIcon = MAKEINTRESOURCEA(14);
const LPCSTR kRtManifest = MAKEINTRESOURCEA(24);

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 1033
const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);   // 1041

HMODULE Self() { return GetModuleHandleA(nullptr); }

// Returns the bytes of a resource, or an empty vector when it is missing.
std::vector<unsigned char> ResourceBytes(LPCSTR type, LPCSTR name, WORD lang) {
  HRSRC found = FindResourceExA(Self(), type, name, lang);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(Self(), found);
  const auto* data = static_cast<const unsigned char*>(LockResource(loaded));
  return std::vector<unsigned char>(data, data + SizeofResource(Self(), found));
}

// A string table block holds 16 counted UTF-16 strings; id n is entry n%16 of
// block n/16+1.  Fails (rather than returning "") when the text is absent.
::testing::AssertionResult LoadText(UINT id, WORD lang, std::wstring* text) {
  std::vector<unsigned char> block =
      ResourceBytes(kRtString, MAKEINTRESOURCEA(id / 16 + 1), lang);
  if (block.empty()) return ::testing::AssertionFailure() << "no block for id " << id;
  std::vector<wchar_t> units(block.size() / 2);
  std::memcpy(units.data(), block.data(), units.size() * 2);
  size_t at = 0;
  for (UINT i = 0; i < id % 16 && at < units.size(); ++i) at += 1 + units[at];
  if (at >= units.size() || at + 1 + units[at] > units.size())
    return ::testing::AssertionFailure() << "block for id " << id << " is truncated";
  if (units[at] == 0) return ::testing::AssertionFailure() << "id " << id << " is empty";
  text->assign(&units[at + 1], units[at]);
  return ::testing::AssertionSuccess();
}

struct Text {
  UINT id;
  const wchar_t* english;
  const wchar_t* japanese;
};

const Text kTexts[] = {
    {IDS_TASKTRAY, L"Stand-by in TaskTray", L"タスクトレイに格納"},
    {IDS_HOTKEY, L"Register HotKey", L"ホットキーに登録"},
    {IDS_DELAYED_LAUNCH, L"Delayed Launching", L"待機時間"},
    {IDS_SELECT_PEN_BY, L"Select Pen by", L"色選択のショートカット"},
    {IDS_REMEMBER_PALETTE, L"Remember Palette", L"パレットを記憶"},
    {IDS_RESET, L"Reset", L"リセット"},
    {IDS_REMEMBER_LAST_PEN, L"Remember Last Pen", L"直前のペンを記憶"},
    {IDS_REMEMBER_PEN_SIZE, L"Remember Pen Size", L"ペンの太さを記憶"},
    {IDS_INCLUDE_CURSOR, L"Include Cursor", L"マウスカーソルを含める"},
    {IDS_VIA_CLIPBOARD, L"Via Clipboard", L"クリップボード経由"},
    {IDS_MOUSE_HOOK, L"Enable Mouse Hook", L"中＋右クリックで開始"},
    {IDS_NON_TRAY_NOTICE, L"To modify options, remove the config file \"Scrivane.cfg\".",
     L"設定を変更するには、設定ファイル (Scrivane.cfg) を削除してください。"},
    {IDS_HOTKEY_FAILED, L"Failed to register HotKey.", L"ホットキーの登録に失敗しました。"},
};

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD lang, LONG_PTR out) {
  reinterpret_cast<std::vector<WORD>*>(out)->push_back(lang);
  return TRUE;
}

// Exactly the languages present, with no fallback to a neighbour.
std::vector<WORD> Languages(LPCSTR type, LPCSTR name) {
  std::vector<WORD> langs;
  EnumResourceLanguagesA(Self(), type, name, CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&langs));
  return langs;
}

TEST(StringTable, CoversEveryIdInBothLanguages) {
  // The ids are contiguous so nothing in between can be forgotten.
  ASSERT_EQ(sizeof(kTexts) / sizeof(kTexts[0]), 123u - 111u + 1u);
  for (UINT id = 111; id <= 123; ++id) {
    EXPECT_EQ(kTexts[id - 111].id, id);
    EXPECT_NE(FindResourceExA(Self(), kRtString, MAKEINTRESOURCEA(id / 16 + 1), kEnglish), nullptr)
        << id;
    EXPECT_NE(FindResourceExA(Self(), kRtString, MAKEINTRESOURCEA(id / 16 + 1), kJapanese), nullptr)
        << id;
  }
  const std::vector<WORD> both = {kEnglish, kJapanese};
  EXPECT_EQ(Languages(kRtString, MAKEINTRESOURCEA(111 / 16 + 1)), both);
  EXPECT_EQ(Languages(kRtString, MAKEINTRESOURCEA(123 / 16 + 1)), both);
  EXPECT_EQ(Languages(kRtMenu, MAKEINTRESOURCEA(IDM_TRAY)), both);
}

TEST(StringTable, TextsAreExactInEachLanguage) {
  for (const Text& t : kTexts) {
    std::wstring english, japanese;
    ASSERT_TRUE(LoadText(t.id, kEnglish, &english));
    EXPECT_EQ(english, t.english) << t.id;
    ASSERT_TRUE(LoadText(t.id, kJapanese, &japanese));
    EXPECT_EQ(japanese, t.japanese) << t.id;
  }
}

TEST(TrayMenu, EachLanguageHasFileWithConfigAndExit) {
  struct {
    WORD lang;
    const wchar_t* popup;
    const wchar_t* config;
    const wchar_t* exit;
  } const menus[] = {
      {kEnglish, L"&File", L"&Config", L"E&xit"},
      {kJapanese, L"ファイル(&F)", L"設定(&C)", L"終了(&X)"},
  };
  for (const auto& m : menus) {
    SCOPED_TRACE(m.lang);
    std::vector<unsigned char> data = ResourceBytes(kRtMenu, MAKEINTRESOURCEA(IDM_TRAY), m.lang);
    ASSERT_FALSE(data.empty());
    HMENU menu = LoadMenuIndirectW(data.data());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    wchar_t label[64] = {};
    GetMenuStringW(menu, 0, label, 64, MF_BYPOSITION);
    EXPECT_STREQ(label, m.popup);

    HMENU file = GetSubMenu(menu, 0);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(IDM_CONFIG));
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(file, 2), static_cast<UINT>(IDM_EXIT));
    GetMenuStringW(file, IDM_CONFIG, label, 64, MF_BYCOMMAND);
    EXPECT_STREQ(label, m.config);
    GetMenuStringW(file, IDM_EXIT, label, 64, MF_BYCOMMAND);
    EXPECT_STREQ(label, m.exit);
    DestroyMenu(menu);
  }
}

// Width, height and bit count of each image listed in an icon or cursor group.
struct GroupEntry {
  int width, height, bits;
};

std::vector<GroupEntry> GroupEntries(LPCSTR type, int id, bool cursor) {
  std::vector<unsigned char> dir = ResourceBytes(type, MAKEINTRESOURCEA(id), LANG_NEUTRAL);
  std::vector<GroupEntry> entries;
  if (dir.size() < 6) return entries;
  const int count = dir[4] | dir[5] << 8;
  for (int i = 0; i < count && 6 + 14 * (i + 1) <= static_cast<int>(dir.size()); ++i) {
    const unsigned char* e = &dir[6 + 14 * i];
    // Cursor groups store width and doubled height as words; icons as bytes.
    GroupEntry g;
    if (cursor) {
      g = {e[0] | e[1] << 8, (e[2] | e[3] << 8) / 2, e[6] | e[7] << 8};
    } else {
      g = {e[0] ? e[0] : 256, e[1] ? e[1] : 256, e[6] | e[7] << 8};
    }
    entries.push_back(g);
  }
  return entries;
}

SIZE ColourSize(HICON icon) {
  ICONINFO info = {};
  SIZE size = {0, 0};
  if (!GetIconInfo(icon, &info)) return size;
  BITMAP bm = {};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  size.cx = bm.bmWidth;
  size.cy = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return size;
}

TEST(Icons, AppIconHasTheListedImagesAndLoadsAtEachSize) {
  std::vector<GroupEntry> large = GroupEntries(kRtGroupIcon, IDI_APP_LARGE, false);
  ASSERT_EQ(large.size(), 2u);
  EXPECT_EQ(large[0].width, 48);
  EXPECT_EQ(large[0].height, 48);
  EXPECT_EQ(large[0].bits, 24);
  EXPECT_EQ(large[1].width, 32);
  EXPECT_EQ(large[1].height, 32);
  EXPECT_EQ(large[1].bits, 24);

  std::vector<GroupEntry> small = GroupEntries(kRtGroupIcon, IDI_APP_SMALL, false);
  ASSERT_EQ(small.size(), 1u);
  EXPECT_EQ(small[0].width, 16);
  EXPECT_EQ(small[0].height, 16);
  EXPECT_EQ(small[0].bits, 8);

  const struct {
    int id, size;
  } loads[] = {{IDI_APP_LARGE, 48}, {IDI_APP_LARGE, 32}, {IDI_APP_SMALL, 16}};
  for (const auto& l : loads) {
    HICON icon = static_cast<HICON>(
        LoadImageA(Self(), MAKEINTRESOURCEA(l.id), IMAGE_ICON, l.size, l.size, 0));
    ASSERT_NE(icon, nullptr) << l.id << " at " << l.size;
    SIZE s = ColourSize(icon);
    EXPECT_EQ(s.cx, l.size);
    EXPECT_EQ(s.cy, l.size);
    DestroyIcon(icon);
  }
}

// The AND and XOR bits of a monochrome cursor, top-down: mask[y][x] and
// (mask rows 32..63) the XOR plane, read back from the loaded cursor.
struct CursorPlanes {
  POINT hotspot;
  bool and_bit[32][32];
  bool xor_bit[32][32];
};

bool ReadCursor(int id, CursorPlanes* out) {
  HCURSOR cursor = static_cast<HCURSOR>(
      LoadImageA(Self(), MAKEINTRESOURCEA(id), IMAGE_CURSOR, 32, 32, 0));
  if (cursor == nullptr) return false;
  ICONINFO info = {};
  bool ok = GetIconInfo(cursor, &info) && !info.fIcon && info.hbmColor == nullptr;
  if (ok) {
    out->hotspot = {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
    struct {
      BITMAPINFOHEADER h;
      RGBQUAD colours[2];
    } bi = {};
    bi.h.biSize = sizeof bi.h;
    bi.h.biWidth = 32;
    bi.h.biHeight = -64;
    bi.h.biPlanes = 1;
    bi.h.biBitCount = 1;
    DWORD rows[64] = {};  // 32 pixels of 1 bit fill exactly one DWORD per row
    HDC dc = GetDC(nullptr);
    ok = GetDIBits(dc, info.hbmMask, 0, 64, rows, reinterpret_cast<BITMAPINFO*>(&bi),
                   DIB_RGB_COLORS) == 64;
    ReleaseDC(nullptr, dc);
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const unsigned char* and_row = reinterpret_cast<unsigned char*>(&rows[y]);
        const unsigned char* xor_row = reinterpret_cast<unsigned char*>(&rows[y + 32]);
        out->and_bit[y][x] = (and_row[x / 8] >> (7 - x % 8)) & 1;
        out->xor_bit[y][x] = (xor_row[x / 8] >> (7 - x % 8)) & 1;
      }
    }
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  DestroyCursor(cursor);
  return ok;
}

TEST(Cursors, AreMonochrome32WithHotSpotsWhereThePenActs) {
  const struct {
    int id, x, y;
  } cursors[] = {{IDC_PEN, 1, 30}, {IDC_ERASER, 16, 16}, {IDC_HIGHLIGHTER, 1, 30}};
  for (const auto& c : cursors) {
    SCOPED_TRACE(c.id);
    std::vector<GroupEntry> group = GroupEntries(kRtGroupCursor, c.id, true);
    ASSERT_EQ(group.size(), 1u);
    EXPECT_EQ(group[0].width, 32);
    EXPECT_EQ(group[0].height, 32);
    EXPECT_EQ(group[0].bits, 1);
    CursorPlanes planes;
    ASSERT_TRUE(ReadCursor(c.id, &planes));
    EXPECT_EQ(planes.hotspot.x, c.x);
    EXPECT_EQ(planes.hotspot.y, c.y);
  }
}

TEST(Cursors, ShapesMatchWhatTheToolsTouch) {
  CursorPlanes pen, eraser, highlighter;
  ASSERT_TRUE(ReadCursor(IDC_PEN, &pen));
  ASSERT_TRUE(ReadCursor(IDC_ERASER, &eraser));
  ASSERT_TRUE(ReadCursor(IDC_HIGHLIGHTER, &highlighter));

  // The pencil's tip is a visible (opaque) pixel at the hot spot.
  EXPECT_FALSE(pen.and_bit[30][1]);

  // The eraser outline is the 20x20 square it clears, and nothing else shows.
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const bool inside = x >= 6 && x <= 25 && y >= 6 && y <= 25;
      const bool edge = inside && (x == 6 || x == 25 || y == 6 || y == 25);
      if (!edge) {
        EXPECT_TRUE(eraser.and_bit[y][x] && !eraser.xor_bit[y][x]) << x << "," << y;
      } else {
        EXPECT_TRUE(!eraser.and_bit[y][x] || eraser.xor_bit[y][x]) << x << "," << y;
      }
    }
  }

  // The highlighter bar inverts exactly the 20 rows the band covers.
  for (int y = 0; y < 32; ++y) {
    const bool in_band = y >= 11 && y <= 30;
    EXPECT_EQ(highlighter.and_bit[y][1] && highlighter.xor_bit[y][1], in_band) << y;
  }
  for (int y = 0; y < 32; ++y) {
    for (int x = 4; x < 32; ++x) {
      EXPECT_TRUE(highlighter.and_bit[y][x] && !highlighter.xor_bit[y][x]) << x << "," << y;
    }
  }
}

TEST(PanelIcons, PicturesSitOnWhiteOverAnExactMask) {
  HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(Self(), MAKEINTRESOURCEA(IDB_PANEL_ICONS),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(bmp, nullptr);
  DIBSECTION dib = {};
  ASSERT_EQ(GetObjectW(bmp, sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 60);
  EXPECT_EQ(dib.dsBm.bmHeight, 40);
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 4);

  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
  int opaque[3] = {};
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 60; ++x) {
      const COLORREF picture = GetPixel(dc, x, y), mask = GetPixel(dc, x, y + 20);
      // SRCPAINT of the mask then SRCAND of the picture only leaves the
      // screen intact where the mask is black and the picture white.
      ASSERT_TRUE(mask == white || mask == black) << x << "," << y + 20;
      if (mask == black) {
        EXPECT_EQ(picture, white) << x << "," << y;
      } else {
        ++opaque[x / 20];
      }
    }
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bmp);
  for (int i = 0; i < 3; ++i) EXPECT_GT(opaque[i], 100) << "icon " << i << " is nearly empty";
}

TEST(Version, ReportsProductAndFileVersion101) {
  char path[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
  const DWORD high = MAKELONG(0, 1), low = MAKELONG(0, 1);  // 1.0 and 1.0
  EXPECT_EQ(fixed->dwFileVersionMS, high);
  EXPECT_EQ(fixed->dwFileVersionLS, low);
  EXPECT_EQ(fixed->dwProductVersionMS, high);
  EXPECT_EQ(fixed->dwProductVersionLS, low);

  const struct {
    const char* key;
    const char* value;
  } strings[] = {{"FileVersion", "1.0.1"},
                 {"ProductVersion", "1.0.1"},
                 {"ProductName", "Scrivane"},
                 {"OriginalFilename", "Scrivane.exe"}};
  for (const auto& s : strings) {
    char* value = nullptr;
    const std::string key = std::string("\\StringFileInfo\\040904B0\\") + s.key;
    ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &len))
        << s.key;
    EXPECT_STREQ(value, s.value);
  }
}

TEST(Manifest, AsksForCommonControls6) {
  std::vector<unsigned char> data = ResourceBytes(kRtManifest, MAKEINTRESOURCEA(1), LANG_NEUTRAL);
  const std::string text(data.begin(), data.end());
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(text.find("asInvoker"), std::string::npos);
}

}  // namespace
