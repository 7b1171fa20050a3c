#include "Raster.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {

std::uint8_t Channel(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

double SegmentDistance(double px, double py, double x0, double y0, double x1, double y1)
{
    const double dx = x1 - x0, dy = y1 - y0;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}

} // namespace

Rgb Mix(Rgb a, Rgb b, double t)
{
    return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t), Channel(a.b + (b.b - a.b) * t)};
}
Rgb Lighter(Rgb c, double t) { return Mix(c, {255, 255, 255}, t); }
Rgb Darker(Rgb c, double t) { return Mix(c, {0, 0, 0}, t); }

Image::Image(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill)
{
}

void Image::Blend(int x, int y, Rgb c, double alpha)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0)
        return;
    const Rgb under = Get(x, y);
    if (under == kKey) {
        if (alpha < 0.5)
            return;
        Set(x, y, alpha >= 1 ? c : Mix(matte_ ? matte_(x, y) : c, c, alpha));
        return;
    }
    Rgb out = Mix(under, c, std::min(alpha, 1.0));
    if (out == kKey)
        out.g = 1; // never turn a drawn pixel transparent by accident
    Set(x, y, out);
}

void Image::Fill(Rect r, Rgb c)
{
    for (int y = std::max(0, r.y0); y < std::min(height_, r.y1); ++y)
        for (int x = std::max(0, r.x0); x < std::min(width_, r.x1); ++x)
            Set(x, y, c);
}

void Image::FillVertical(Rect r, Rgb top, Rgb bottom)
{
    for (int y = std::max(0, r.y0); y < std::min(height_, r.y1); ++y) {
        const double t = r.Height() > 1 ? double(y - r.y0) / (r.Height() - 1) : 0;
        Fill({r.x0, y, r.x1, y + 1}, Mix(top, bottom, t));
    }
}

void Image::FillHorizontal(Rect r, Rgb left, Rgb right)
{
    for (int x = std::max(0, r.x0); x < std::min(width_, r.x1); ++x) {
        const double t = r.Width() > 1 ? double(x - r.x0) / (r.Width() - 1) : 0;
        Fill({x, r.y0, x + 1, r.y1}, Mix(left, right, t));
    }
}

void Image::Draw(const Shape& shape, Rgb c, double opacity)
{
    Draw(shape, [c](int, int) { return c; }, opacity);
}

void Image::Draw(const Shape& shape, const Paint& paint, double opacity)
{
    constexpr int n = 4;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            int hits = 0;
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx)
                    hits += shape(x + (sx + 0.5) / n, y + (sy + 0.5) / n) ? 1 : 0;
            if (hits)
                Blend(x, y, paint(x, y), opacity * hits / (n * n));
        }
}

void Image::Paste(const Image& source, int x, int y)
{
    for (int sy = 0; sy < source.height_; ++sy)
        for (int sx = 0; sx < source.width_; ++sx)
            if (x + sx >= 0 && y + sy >= 0 && x + sx < width_ && y + sy < height_)
                Set(x + sx, y + sy, source.Get(sx, sy));
}

Image Image::Crop(Rect r) const
{
    Image out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            out.Set(x, y, Get(r.x0 + x, r.y0 + y));
    return out;
}

Image Image::Row(const std::vector<Image>& frames)
{
    int width = 0;
    for (const auto& f : frames)
        width += f.Width();
    Image out(width, frames.front().Height());
    int x = 0;
    for (const auto& f : frames) {
        out.Paste(f, x, 0);
        x += f.Width();
    }
    return out;
}

Image Image::Column(const std::vector<Image>& frames)
{
    int height = 0;
    for (const auto& f : frames)
        height += f.Height();
    Image out(frames.front().Width(), height);
    int y = 0;
    for (const auto& f : frames) {
        out.Paste(f, 0, y);
        y += f.Height();
    }
    return out;
}

Image Image::Scaled(int factor) const
{
    Image out(width_ * factor, height_ * factor);
    for (int y = 0; y < out.height_; ++y)
        for (int x = 0; x < out.width_; ++x)
            out.Set(x, y, Get(x / factor, y / factor));
    return out;
}

Shape RoundRect(double x0, double y0, double x1, double y1, double radius)
{
    return RoundRect4(x0, y0, x1, y1, radius, radius, radius, radius);
}

Shape RoundRect4(double x0, double y0, double x1, double y1, double tl, double tr, double br, double bl)
{
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1)
            return false;
        auto corner = [&](double cx, double cy, double r) { return std::hypot(x - cx, y - cy) <= r; };
        if (x < x0 + tl && y < y0 + tl)
            return corner(x0 + tl, y0 + tl, tl);
        if (x > x1 - tr && y < y0 + tr)
            return corner(x1 - tr, y0 + tr, tr);
        if (x > x1 - br && y > y1 - br)
            return corner(x1 - br, y1 - br, br);
        if (x < x0 + bl && y > y1 - bl)
            return corner(x0 + bl, y1 - bl, bl);
        return true;
    };
}

Shape Circle(double cx, double cy, double radius)
{
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) <= radius; };
}

Shape Capsule(double x0, double y0, double x1, double y1, double width)
{
    return [=](double x, double y) { return SegmentDistance(x, y, x0, y0, x1, y1) <= width / 2; };
}

Shape Polyline(std::vector<std::pair<double, double>> points, double width)
{
    return [points = std::move(points), width](double x, double y) {
        for (std::size_t i = 1; i < points.size(); ++i)
            if (SegmentDistance(x, y, points[i - 1].first, points[i - 1].second, points[i].first, points[i].second) <=
                width / 2)
                return true;
        return false;
    };
}

Shape Polygon(std::vector<std::pair<double, double>> points)
{
    return [points = std::move(points)](double x, double y) {
        bool inside = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const auto [xi, yi] = points[i];
            const auto [xj, yj] = points[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
                inside = !inside;
        }
        return inside;
    };
}

Shape Arc(double cx, double cy, double radius, double width, double fromDegrees, double toDegrees)
{
    return [=](double x, double y) {
        if (std::abs(std::hypot(x - cx, y - cy) - radius) > width / 2)
            return false;
        double a = std::atan2(y - cy, x - cx) * 180 / M_PI; // screen coordinates: clockwise
        while (a < fromDegrees)
            a += 360;
        return a <= toDegrees;
    };
}

Shape Minus(Shape a, Shape b)
{
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

Shape Union(Shape a, Shape b)
{
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) || b(x, y); };
}

Shape Clip(Shape a, double x0, double y0, double x1, double y1)
{
    return [=, a = std::move(a)](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1 && a(x, y); };
}

std::vector<std::uint8_t> EncodeBmp(const Image& image)
{
    const int w = image.Width(), h = image.Height();
    const int stride = (w * 3 + 3) & ~3;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(stride) * h;
    std::vector<std::uint8_t> out;
    auto put16 = [&](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    out.push_back('B');
    out.push_back('M');
    put32(14 + 40 + dataSize);
    put32(0);
    put32(14 + 40);
    put32(40); // BITMAPINFOHEADER
    put32(static_cast<std::uint32_t>(w));
    put32(static_cast<std::uint32_t>(h));
    put16(1);
    put16(24);
    put32(0); // BI_RGB
    put32(dataSize);
    put32(2835); // 72 dpi
    put32(2835);
    put32(0);
    put32(0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgb c = image.Get(x, y);
            out.insert(out.end(), {c.b, c.g, c.r});
        }
        out.insert(out.end(), stride - w * 3, 0);
    }
    return out;
}

Image NineSlice(const Image& source, Rect frame, int width, int height, int left, int top, int right, int bottom)
{
    if (width < left + right)
        left = right = 0;
    if (height < top + bottom)
        top = bottom = 0;
    const int w = frame.Width(), h = frame.Height();
    Image out(std::max(width, 0), std::max(height, 0));
    // Maps a target coordinate to the source along one axis: fixed caps, stretched middle.
    auto map = [](int t, int size, int target, int a, int b) {
        if (t < a)
            return t;
        if (t >= target - b)
            return size - (target - t);
        const int middle = target - a - b, sourceMiddle = size - a - b;
        return middle > 0 && sourceMiddle > 0 ? a + (t - a) * sourceMiddle / middle : a;
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.Set(x, y, source.Get(frame.x0 + map(x, w, width, left, right), frame.y0 + map(y, h, height, top, bottom)));
    return out;
}

void DrawKeyed(Image& target, const Image& source, int x, int y)
{
    for (int sy = 0; sy < source.Height(); ++sy)
        for (int sx = 0; sx < source.Width(); ++sx) {
            const Rgb c = source.Get(sx, sy);
            if (c != kKey && x + sx >= 0 && y + sy >= 0 && x + sx < target.Width() && y + sy < target.Height())
                target.Set(x + sx, y + sy, c);
        }
}

} // namespace skingen
