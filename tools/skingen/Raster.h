#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace skingen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

// Pixels of this colour are transparent wherever the skin engine asks for transparency.
constexpr Rgb kKey{255, 0, 255};

constexpr Rgb Hex(std::uint32_t rgb)
{
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb)};
}
Rgb Mix(Rgb a, Rgb b, double t); // t = 0 gives a, 1 gives b
Rgb Lighter(Rgb c, double t);    // towards white
Rgb Darker(Rgb c, double t);     // towards black

struct Rect {
    int x0, y0, x1, y1; // x1, y1 exclusive
    int Width() const { return x1 - x0; }
    int Height() const { return y1 - y0; }
};

// Inside test of a shape in continuous coordinates; pixel (x, y) covers [x, x+1) × [y, y+1).
using Shape = std::function<bool(double x, double y)>;
using Paint = std::function<Rgb(int x, int y)>;

class Image {
public:
    Image() = default;
    Image(int width, int height, Rgb fill = kKey);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb Get(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    void Set(int x, int y, Rgb c) { pixels_[static_cast<std::size_t>(y) * width_ + x] = c; }

    // The colour a soft edge is mixed with where it falls on a key pixel: what the engine
    // will have drawn behind this image. Edges covering less than half stay transparent.
    void SetMatte(Paint matte) { matte_ = std::move(matte); }

    void Blend(int x, int y, Rgb c, double alpha);
    void Fill(Rect r, Rgb c);
    void FillVertical(Rect r, Rgb top, Rgb bottom);
    void FillHorizontal(Rect r, Rgb left, Rgb right);
    // Anti-aliased shape (4 × 4 samples per pixel) in a solid colour or a paint.
    void Draw(const Shape& shape, Rgb c, double opacity = 1.0);
    void Draw(const Shape& shape, const Paint& paint, double opacity = 1.0);

    void Paste(const Image& source, int x, int y);
    Image Crop(Rect r) const;
    // Images of equal height side by side, or of equal width stacked.
    static Image Row(const std::vector<Image>& frames);
    static Image Column(const std::vector<Image>& frames);
    // Nearest-neighbour enlargement, for looking at small images.
    Image Scaled(int factor) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<Rgb> pixels_;
    Paint matte_;
};

// Shapes.
Shape RoundRect(double x0, double y0, double x1, double y1, double radius);
Shape RoundRect4(double x0, double y0, double x1, double y1, double topLeft, double topRight, double bottomRight,
                 double bottomLeft);
Shape Circle(double cx, double cy, double radius);
Shape Capsule(double x0, double y0, double x1, double y1, double width); // thick segment, round ends
Shape Polyline(std::vector<std::pair<double, double>> points, double width);
Shape Polygon(std::vector<std::pair<double, double>> points);
Shape Arc(double cx, double cy, double radius, double width, double fromDegrees, double toDegrees);
Shape Minus(Shape a, Shape b);
Shape Union(Shape a, Shape b);
Shape Clip(Shape a, double x0, double y0, double x1, double y1);

// A 24-bit bottom-up Windows bitmap file.
std::vector<std::uint8_t> EncodeBmp(const Image& image);

// Nine-slice drawing as the skin engine does it (corners kept, edges stretched, centre
// stretched), for previews.
Image NineSlice(const Image& source, Rect frame, int width, int height, int left, int top, int right, int bottom);
// Draws `source` onto `target` at (x, y), skipping key pixels.
void DrawKeyed(Image& target, const Image& source, int x, int y);

} // namespace skingen
