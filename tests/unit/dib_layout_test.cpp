#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "session/dib_layout.h"

namespace {

struct Header {
    uint32_t size = 40;
    int32_t width = 4;
    int32_t height = 2;
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPerMeter = 0, yPerMeter = 0;
    uint32_t colorsUsed = 0, colorsImportant = 0;
};
static_assert(sizeof(Header) == 40, "BITMAPINFOHEADER layout");

// A clipboard block: the header, `extra` bytes (masks, colour table), then `pixels` bytes.
std::vector<unsigned char> Block(const Header& h, size_t extra, size_t pixels)
{
    std::vector<unsigned char> block(sizeof(Header) + extra + pixels, 0xCC);
    std::memcpy(block.data(), &h, sizeof(h));
    return block;
}

TEST(DibLayout, FindsThePixelsOfEachClipboardLayout)
{
    struct Case {
        Header h;
        size_t extra, pixels;
        size_t wantOffset, wantSize;
        const char* why;
    };
    Header rgb24;
    rgb24.width = 3;  // 9 bytes a row, padded to 12
    Header bitfields32;
    bitfields32.bitCount = 32;
    bitfields32.compression = 3;
    Header indexed8;
    indexed8.bitCount = 8;
    indexed8.width = 5;
    Header indexed8Used = indexed8;
    indexed8Used.colorsUsed = 16;
    Header rgb32Palette;
    rgb32Palette.bitCount = 32;
    rgb32Palette.colorsUsed = 2;
    Header mono;
    mono.bitCount = 1;
    mono.width = 33;
    const Case cases[] = {
        {rgb24, 0, 24, 40, 24, "24 bits, no colour table, rows padded to 4 bytes"},
        {bitfields32, 12, 32, 52, 32, "32 bits with bit fields: pixels 12 bytes after the header"},
        {indexed8, 1024, 16, 1064, 16, "8 bits, colorsUsed 0: a 256-entry table"},
        {indexed8Used, 64, 16, 104, 16, "8 bits, 16 colours used"},
        {rgb32Palette, 8, 32, 48, 32, "32 bits with an optimisation palette"},
        {mono, 8, 16, 48, 16, "1 bit, two colours, 33 pixels need 8 bytes a row"},
    };
    for (const Case& c : cases) {
        const auto block = Block(c.h, c.extra, c.pixels);
        DibLayout layout{};
        ASSERT_TRUE(ReadDibLayout(block.data(), block.size(), layout)) << c.why;
        EXPECT_EQ(layout.bitsOffset, c.wantOffset) << c.why;
        EXPECT_EQ(layout.bitsSize, c.wantSize) << c.why;
        EXPECT_EQ(layout.width, c.h.width) << c.why;
        EXPECT_EQ(layout.height, 2) << c.why;
        EXPECT_FALSE(layout.topDown) << c.why;
    }
}

TEST(DibLayout, TopDownBitmapHasAPositiveHeight)
{
    Header h;
    h.height = -2;
    const auto block = Block(h, 0, 24);
    DibLayout layout{};
    ASSERT_TRUE(ReadDibLayout(block.data(), block.size(), layout));
    EXPECT_TRUE(layout.topDown);
    EXPECT_EQ(layout.height, 2);
}

TEST(DibLayout, MasksInsideALargerHeaderAreNotCountedTwice)
{
    Header h;
    h.size = 124;  // BITMAPV5HEADER
    h.bitCount = 32;
    h.compression = 3;
    auto block = Block(h, 124 - 40, 32);
    DibLayout layout{};
    ASSERT_TRUE(ReadDibLayout(block.data(), block.size(), layout));
    EXPECT_EQ(layout.bitsOffset, 124u);
}

TEST(DibLayout, RejectsBlocksThatDoNotHoldWhatTheHeaderClaims)
{
    Header good;
    const size_t goodPixels = 24;
    struct Case {
        Header h;
        size_t extra, pixels;
        const char* why;
    };
    Header bigWidth = good;
    bigWidth.width = 40000;
    Header zeroWidth = good;
    zeroWidth.width = 0;
    Header negativeWidth = good;
    negativeWidth.width = -4;
    Header zeroHeight = good;
    zeroHeight.height = 0;
    Header minHeight = good;
    minHeight.height = INT32_MIN;
    Header bigHeight = good;
    bigHeight.height = 40000;
    Header bits7 = good;
    bits7.bitCount = 7;
    Header bits0 = good;
    bits0.bitCount = 0;  // JPEG or PNG inside a DIB
    Header rle8 = good;
    rle8.bitCount = 8;
    rle8.compression = 1;
    Header bitfields24 = good;
    bitfields24.compression = 3;
    Header planes2 = good;
    planes2.planes = 2;
    Header tinyHeader = good;
    tinyHeader.size = 12;  // an OS/2 core header is not what CF_DIB holds
    Header hugeHeader = good;
    hugeHeader.size = 0x7FFFFFFF;
    Header tooManyColours = good;
    tooManyColours.bitCount = 8;
    tooManyColours.colorsUsed = 257;
    Header hugeColourCount = good;
    hugeColourCount.bitCount = 24;
    hugeColourCount.colorsUsed = 0xFFFFFFFF;
    Header indexedNoTable = good;
    indexedNoTable.bitCount = 8;
    const Case cases[] = {
        {good, 0, goodPixels - 1, "pixel area one byte short"},
        {bigWidth, 0, goodPixels, "absurd width"},
        {zeroWidth, 0, goodPixels, "zero width"},
        {negativeWidth, 0, goodPixels, "negative width"},
        {zeroHeight, 0, goodPixels, "zero height"},
        {minHeight, 0, goodPixels, "most negative height cannot be negated"},
        {bigHeight, 0, goodPixels, "absurd height"},
        {bits7, 0, goodPixels, "unknown bit count"},
        {bits0, 0, goodPixels, "compressed image formats"},
        {rle8, 1024, 100, "run-length compression"},
        {bitfields24, 12, goodPixels, "bit fields need 16 or 32 bits"},
        {planes2, 0, goodPixels, "planes must be 1"},
        {tinyHeader, 0, goodPixels, "header smaller than BITMAPINFOHEADER"},
        {hugeHeader, 0, goodPixels, "header larger than the block"},
        {tooManyColours, 1028, 16, "more table entries than 8 bits can index"},
        {hugeColourCount, 0, goodPixels, "colour count that would overflow the offset"},
        {indexedNoTable, 0, 16, "8 bits without room for its 256-entry table"},
    };
    for (const Case& c : cases) {
        const auto block = Block(c.h, c.extra, c.pixels);
        DibLayout layout{};
        EXPECT_FALSE(ReadDibLayout(block.data(), block.size(), layout)) << c.why;
    }
    DibLayout layout{};
    EXPECT_FALSE(ReadDibLayout(nullptr, 100, layout)) << "no block";
    const auto block = Block(good, 0, goodPixels);
    EXPECT_FALSE(ReadDibLayout(block.data(), 39, layout)) << "block smaller than a header";
}

}  // namespace
