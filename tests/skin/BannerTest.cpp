#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace {

// The committed banner, decoded by libjpeg: a 350 × 28 baseline picture in three
// components, dark like the title bar, with the warm stroke along its bottom.
TEST(Banner, IsABaselineColourPictureThatFitsTheWindow)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(KESTRIP_SOURCE_DIR "/assets/banner.jpg", "rb"), &std::fclose);
    ASSERT_TRUE(file);
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file.get());
    ASSERT_EQ(jpeg_read_header(&info, TRUE), JPEG_HEADER_OK);
    EXPECT_EQ(info.image_width, 350u);
    EXPECT_EQ(info.image_height, 28u);
    EXPECT_EQ(info.num_components, 3);
    EXPECT_FALSE(jpeg_has_multiple_scans(&info));
    EXPECT_FALSE(info.progressive_mode);
    EXPECT_FALSE(info.arith_code);

    jpeg_start_decompress(&info);
    std::vector<std::vector<JSAMPLE>> rows(info.output_height, std::vector<JSAMPLE>(info.output_width * 3));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rows[info.output_scanline].data();
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);

    auto pixel = [&](int x, int y, int c) { return rows[y][3 * x + c]; };
    // Background at the right end, mid height: slate, blue above red.
    EXPECT_LT(pixel(345, 3, 0), 90);
    EXPECT_GT(pixel(345, 3, 2), pixel(345, 3, 0));
    // The bottom row at the left: the accent, red well above blue.
    EXPECT_GT(pixel(40, 27, 0), 150);
    EXPECT_GT(pixel(40, 27, 0), pixel(40, 27, 2) + 60);
    // Light text somewhere in the name's box.
    int bright = 0;
    for (int y = 6; y < 22; ++y)
        for (int x = 33; x < 110; ++x)
            bright += pixel(x, y, 0) > 200 && pixel(x, y, 1) > 200 && pixel(x, y, 2) > 200;
    EXPECT_GT(bright, 60);
}

} // namespace
