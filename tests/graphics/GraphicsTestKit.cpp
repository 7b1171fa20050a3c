#include "GraphicsTestKit.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "classlib/graphics/BmpCodec.h"

std::unique_ptr<TBitmap> MakeBitmap(int width, int height, TPixelFormat format, std::uint32_t (*f)(int x, int y))
{
    auto b = std::make_unique<TBitmap>(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            PutPixel(*b, x, y, static_cast<TColor>(f(x, y)));
    return b;
}

void PutPixel(TBitmap& bitmap, int x, int y, TColor rgb)
{
    const std::vector<RGBQUAD> palette = bitmap.Palette();
    WritePixel(static_cast<std::uint8_t*>(bitmap.ScanLine(y)), x, bitmap.PixelFormat(), palette,
               static_cast<std::uint32_t>(rgb));
}

std::vector<std::uint8_t> MakeTwoColourJpeg(int width, int height, int components)
{
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * components);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            const bool left = x < width / 2;
            if (components == 1) {
                row[x] = left ? 40 : 200;
            } else {
                row[3 * x] = left ? 220 : 20;
                row[3 * x + 1] = 20;
                row[3 * x + 2] = left ? 20 : 220;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::string SourcePath(const std::string& relative) { return std::string("Z:") + KESTRIP_SOURCE_DIR + "/" + relative; }

bool Near(TColor a, TColor b, int tolerance)
{
    for (int shift : {0, 8, 16})
        if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}
