#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "render/bmp_export.h"
#include "render/bmp_layout.h"
#include "support/temp_dir.h"

using Names = std::vector<std::string>;

// What the folder holds, sorted: a save must leave nothing beside the picture.
static Names Listing(const TempDir& dir)
{
    Names names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(dir.file("*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if (found.cFileName[0] != '.')
            names.push_back(found.cFileName);
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WriteBmp, ReplacesAnOldPictureWithExactlyTheHeadersAndRows)
{
    TempDir dir;
    const std::string path = dir.file("pic.bmp");
    WriteWholeFile(path, std::string(200, 'x'));  // longer than the new file: none of it may remain
    std::string rows(2 * 12, '\0');                 // 3 x 2: rows of 9 bytes and 3 of pad
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<char>(i + 1);

    ASSERT_EQ(WriteBmp(3, path.c_str(), 2, rows.data()), 1);
    BmpLayout layout = {};
    BmpLayoutFor(3, 2, layout);
    uint8_t headers[kBmpHeadersSize];
    FillBmpHeaders(3, 2, layout, headers);
    EXPECT_EQ(ReadWholeFile(path), std::string(headers, headers + sizeof(headers)) + rows);
    EXPECT_EQ(Listing(dir), Names({"pic.bmp"})) << "the temporary file is gone";
}

TEST(WriteBmp, AnythingButASuccessLeavesNoFileAndTheOldPictureAsItWas)
{
    // The second row of these pixels runs into memory that cannot be read: WriteFile fails part
    // way, as on a full disk, after writing in place would already have truncated the old picture.
    const SIZE_T page = 4096;
    auto* memory = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT, PAGE_READWRITE));
    DWORD was;
    ASSERT_TRUE(VirtualProtect(memory + page, page, PAGE_NOACCESS, &was));
    const char* faulting = memory + page - 3000;  // 1000 x 2: only the first row of 3000 bytes reads
    struct Case {
        const char* target;
        const char* folder;  // made first, if any
        int width;
        const char* pixels;
        Names leaves;
        const char* why;
    } cases[] = {
        {"pic.bmp", "", 0, memory, {"pic.bmp"}, "no columns: refused before any file is made"},
        {"pic.bmp", "", 1, nullptr, {"pic.bmp"}, "no pixels: the DIB section could not be made"},
        {"shots", "shots", 1, memory, {"pic.bmp", "shots"}, "the name is a folder's"},
        {"gone\\pic.bmp", "", 1, memory, {"pic.bmp"}, "the folder does not exist (any more)"},
        {"pic.bmp", "", 1000, faulting, {"pic.bmp"}, "a write fails over an old picture"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        WriteWholeFile(dir.file("pic.bmp"), "old picture");
        if (*c.folder)
            CreateDirectoryA(dir.file(c.folder).c_str(), nullptr);
        EXPECT_EQ(WriteBmp(c.width, dir.file(c.target).c_str(), 2, c.pixels), 0) << c.why;
        EXPECT_EQ(Listing(dir), c.leaves) << c.why;
        EXPECT_EQ(ReadWholeFile(dir.file("pic.bmp")), "old picture") << c.why;
    }
    VirtualFree(memory, 0, MEM_RELEASE);
}
