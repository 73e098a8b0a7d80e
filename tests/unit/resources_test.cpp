// The compiled resources, found by id and by explicit language as the program finds them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "resources/resource.h"

namespace {

const WORD kEnglish = 1033, kJapanese = 1041;
const HMODULE self = GetModuleHandleA(nullptr);

std::string Bytes(int type, int id, WORD lang)
{
    HRSRC found = FindResourceExA(self, MAKEINTRESOURCEA(type), MAKEINTRESOURCEA(id), lang);
    const char* data = found ? static_cast<const char*>(LockResource(LoadResource(self, found))) : "";
    return std::string(data, found ? SizeofResource(self, found) : 0);
}

// A string in one language, "" when absent: block id/16+1 holds 16 counted UTF-16 strings.
std::wstring Text(UINT id, WORD lang)
{
    const std::string block = Bytes(6, id / 16 + 1, lang);
    const std::wstring units(reinterpret_cast<const wchar_t*>(block.data()), block.size() / 2);
    size_t at = 0;
    for (UINT i = 0; i < id % 16 && at < units.size(); ++i)
        at += 1 + units[at];
    return at < units.size() ? units.substr(at + 1, units[at]) : L"";
}

// "&File[32771 &Config|-|32772 E&xit]": labels and ids by position, "-" a separator.
std::wstring Describe(HMENU menu)
{
    std::wstring out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t label[64] = {};
        GetMenuStringW(menu, i, label, 64, MF_BYPOSITION);
        HMENU sub = GetSubMenu(menu, i);
        out += (i ? L"|" : L"") + (sub ? label + (L"[" + Describe(sub) + L"]")
                                   : GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR ? L"-"
                                   : std::to_wstring(GetMenuItemID(menu, i)) + L" " + label);
    }
    return out;
}

TEST(Texts, BothLanguagesHaveStrings111To123AndTheTrayMenu)
{
    const wchar_t* const english[] = {L"Stand-by in TaskTray", L"Register HotKey", L"Delayed Launching", L"Select Pen by",
        L"Remember Palette", L"Reset", L"Remember Last Pen", L"Remember Pen Size", L"Include Cursor", L"Via Clipboard",
        L"Enable Mouse Hook", L"To modify options, remove the config file \"Scrivane.cfg\".", L"Failed to register HotKey."};
    for (UINT id = 96; id < 128; ++id) {
        const bool defined = id >= IDS_TASKTRAY && id <= IDS_HOTKEY_FAILED;
        EXPECT_EQ(Text(id, kEnglish), defined ? english[id - IDS_TASKTRAY] : L"") << id;
        EXPECT_EQ(Text(id, kJapanese).empty(), !defined) << id;
    }
    EXPECT_EQ(Text(IDS_TASKTRAY, kJapanese), L"タスクトレイに格納");
    EXPECT_EQ(Text(IDS_NON_TRAY_NOTICE, kJapanese), L"設定を変更するには、設定ファイル (Scrivane.cfg) を削除してください。");
    for (const auto& [lang, want] : {std::pair{kEnglish, L"&File[32771 &Config|-|32772 E&xit]"},
                                     {kJapanese, L"ファイル(&F)[32771 設定(&C)|-|32772 終了(&X)]"}}) {
        HMENU menu = LoadMenuIndirectW(Bytes(4, IDM_TRAY, lang).data());
        EXPECT_EQ(Describe(menu), want) << lang;
        DestroyMenu(menu);
    }
}

// "48x48x24 32x32x24": each image of an icon group, read from the image itself.
std::string IconImages(int id)
{
    const std::string dir = Bytes(14, id, LANG_NEUTRAL);
    std::string out;
    for (size_t e = 6; e + 14 <= dir.size(); e += 14) {
        const std::string image = Bytes(3, *reinterpret_cast<const WORD*>(&dir[e + 12]), LANG_NEUTRAL);
        BITMAPINFOHEADER h = {};
        std::memcpy(&h, image.data(), std::min(image.size(), sizeof(h)));
        out += std::to_string(h.biWidth) + "x" + std::to_string(h.biHeight / 2) + "x" + std::to_string(h.biBitCount) + " ";
    }
    return out;
}

// A cursor as the system loads it: "hot X,Y" and the pixel there (. transparent, i inverted, #
// opaque), then how many pixels are inverted and their bounding box.
std::string Cursor(int id)
{
    HCURSOR cursor = static_cast<HCURSOR>(LoadImageA(self, MAKEINTRESOURCEA(id), IMAGE_CURSOR, 32, 32, 0));
    ICONINFO info = {};
    BYTE bits[64 * 4] = {};  // 32 rows of the AND plane, then 32 of the XOR plane
    if (!cursor || !GetIconInfo(cursor, &info) || info.hbmColor || !GetBitmapBits(info.hbmMask, sizeof bits, bits))
        return "not a monochrome cursor";
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
    std::string out = "hot " + std::to_string(info.xHotspot) + "," + std::to_string(info.yHotspot) + " ";
    int inverted = 0;
    RECT box = {}, dot;
    for (int i = 0; i < 32 * 32; ++i) {
        const bool andBit = bits[i / 8] >> (7 - i % 8) & 1, xorBit = bits[128 + i / 8] >> (7 - i % 8) & 1;
        if (i == int(info.yHotspot * 32 + info.xHotspot))
            out += andBit ? (xorBit ? 'i' : '.') : '#';
        SetRect(&dot, i % 32, i / 32, i % 32 + 1, i / 32 + 1);
        if (andBit && xorBit && ++inverted)
            UnionRect(&box, &box, &dot);
    }
    return out + ", " + std::to_string(inverted) + " inverted in " + std::to_string(box.left) + "," +
           std::to_string(box.top) + "-" + std::to_string(box.right) + "," + std::to_string(box.bottom);
}

TEST(IconsAndCursors, HaveTheirSizesAndShowWhereEachToolActs)
{
    EXPECT_EQ(IconImages(IDI_APP_LARGE), "48x48x24 32x32x24 ");
    EXPECT_EQ(IconImages(IDI_APP_SMALL), "16x16x8 ");
    EXPECT_EQ(Cursor(IDC_ERASER), "hot 16,16 ., 76 inverted in 6,6-26,26")
        << "the outline of the 20x20 square it clears, centred on the pointer";
    EXPECT_EQ(Cursor(IDC_HIGHLIGHTER), "hot 1,30 i, 26 inverted in 0,11-4,31")
        << "a bar over the 20 rows its band covers, ending at the pointer";
    EXPECT_EQ(Cursor(IDC_PEN), "hot 1,30 #, 0 inverted in 0,0-0,0") << "the pencil's tip at the pointer";
}

}  // namespace
