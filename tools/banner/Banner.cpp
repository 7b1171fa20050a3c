#include "Banner.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <jpeglib.h>

#include "tools/skingen/Theme.h"

namespace banner {

using namespace skingen;

namespace {

// Text set with FreeType into coverage, then blended in one colour.
class TextSetter {
public:
    TextSetter(const std::string& fontPath, int pixelHeight)
    {
        if (FT_Init_FreeType(&library_))
            throw std::runtime_error("FreeType does not start");
        if (FT_New_Face(library_, fontPath.c_str(), 0, &face_))
            throw std::runtime_error("cannot load the font " + fontPath);
        FT_Set_Pixel_Sizes(face_, 0, pixelHeight);
    }
    ~TextSetter()
    {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    TextSetter(const TextSetter&) = delete;
    TextSetter& operator=(const TextSetter&) = delete;

    // Pen advance of the text in pixels, with kerning and extra letter spacing.
    int Measure(const std::string& text, double tracking = 0) { return Run(text, nullptr, 0, 0, {}, tracking); }
    void Draw(Image& image, const std::string& text, int x, int baseline, Rgb colour, double tracking = 0)
    {
        Run(text, &image, x, baseline, colour, tracking);
    }

private:
    int Run(const std::string& text, Image* image, int x, int baseline, Rgb colour, double tracking)
    {
        double pen = x;
        FT_UInt previous = 0;
        for (unsigned char ch : text) {
            const FT_UInt glyph = FT_Get_Char_Index(face_, ch);
            if (previous && glyph) {
                FT_Vector kern;
                FT_Get_Kerning(face_, previous, glyph, FT_KERNING_DEFAULT, &kern);
                pen += kern.x / 64.0;
            }
            // Glyphs are placed at their fractional pen position, so spacing stays even.
            const double whole = std::floor(pen);
            FT_Vector shift{static_cast<FT_Pos>(std::lround((pen - whole) * 64)), 0};
            FT_Set_Transform(face_, nullptr, &shift);
            if (FT_Load_Glyph(face_, glyph, FT_LOAD_RENDER | FT_LOAD_NO_HINTING))
                continue;
            const FT_GlyphSlot slot = face_->glyph;
            if (image) {
                const FT_Bitmap& bm = slot->bitmap;
                const int left = static_cast<int>(whole) + slot->bitmap_left;
                const int top = baseline - slot->bitmap_top;
                for (unsigned row = 0; row < bm.rows; ++row)
                    for (unsigned col = 0; col < bm.width; ++col) {
                        const int a = bm.buffer[row * bm.pitch + col];
                        if (a)
                            image->Blend(left + static_cast<int>(col), top + static_cast<int>(row), colour, a / 255.0);
                    }
            }
            pen += slot->linearHoriAdvance / 65536.0 + tracking;
            previous = glyph;
        }
        return static_cast<int>(std::lround(pen - x));
    }

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

// A disc seen flat: silver rings, a warm highlight sweeping over it, the centre hole.
void DrawDisc(Image& image, double cx, double cy, double r)
{
    image.Draw(Circle(cx, cy, r), [&](int x, int y) {
        const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
        const double angle = std::atan2(dy, dx);
        const double shine = 0.5 + 0.5 * std::cos(2 * (angle + 0.6));
        const Rgb silver = Mix(Hex(0x9AA3AF), Hex(0xE9EDF2), shine);
        const double warm = std::max(0.0, std::cos(angle + 2.2)) * 0.55;
        return Mix(silver, theme::AccentLight, warm);
    });
    image.Draw(Minus(Circle(cx, cy, r), Circle(cx, cy, r - 1)), Hex(0x1C2128), 0.45);
    image.Draw(Circle(cx, cy, r * 0.42), Hex(0xC9CFD7));
    image.Draw(Minus(Circle(cx, cy, r * 0.42), Circle(cx, cy, r * 0.42 - 0.9)), Hex(0x6E7681), 0.6);
    image.Draw(Circle(cx, cy, r * 0.16), [&](int, int y) { return theme::TitleAt(theme::Active, y); });
    // The grooves: faint rings.
    for (double k : {0.55, 0.68, 0.81})
        image.Draw(Minus(Circle(cx, cy, r * k + 0.35), Circle(cx, cy, r * k - 0.35)), Hex(0xFFFFFF), 0.18);
}

} // namespace

Image MakeBanner(const std::string& fontFolder)
{
    Image image(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            // The title bar's slate, lifted a little towards the left where the name sits.
            const Rgb base = theme::TitleAt(theme::Active, y * (theme::TitleHeight - 1) / (kHeight - 1));
            image.Set(x, y, Mix(base, Lighter(base, 0.10), std::max(0.0, 1.0 - x / 220.0)));
        }
    // A warm stroke along the bottom that fades out to the right.
    for (int x = 0; x < kWidth; ++x) {
        const double fade = std::max(0.0, 1.0 - x / 300.0);
        image.Blend(x, kHeight - 1, theme::Accent, 0.35 + 0.65 * fade);
        image.Blend(x, kHeight - 2, theme::Accent, 0.25 * fade);
    }
    DrawDisc(image, kVisibleLeft + 15.5, 13.5, 10.5);

    TextSetter name(fontFolder + "/DejaVuSans-Bold.ttf", 17);
    name.Draw(image, "Kestrip", kVisibleLeft + 33, 20, Hex(0xF3F5F8), 0.4);
    const int nameWidth = name.Measure("Kestrip", 0.4);

    TextSetter small(fontFolder + "/DejaVuSans.ttf", 10);
    const std::string formats = "MP3 \xB7 Ogg \xB7 Wav \xB7 Ape \xB7 FLAC";
    const int formatsWidth = small.Measure(formats);
    small.Draw(image, formats, kVisibleRight - 8 - formatsWidth, 18, Hex(0xAEB6C1));
    small.Draw(image, "CD ripper", kVisibleLeft + 33 + nameWidth + 8, 19, theme::AccentLight);
    return image;
}

void WriteJpeg(const Image& image, const std::string& path, int quality)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file)
        throw std::runtime_error("cannot write " + path);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = static_cast<JDIMENSION>(image.Width());
    info.image_height = static_cast<JDIMENSION>(image.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int c = 0; c < 3; ++c) // thin coloured strokes keep their colour
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    info.optimize_coding = FALSE;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(image.Width()) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < image.Width(); ++x) {
            const Rgb c = image.Get(x, y);
            row[3 * x] = c.r;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.b;
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
}

} // namespace banner
