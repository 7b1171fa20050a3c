// Window regions from pictures: every run of non-key pixels of a row is one rectangle.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/draw/SkinDraw.h"

namespace {
constexpr int kGrowBy = 500;
constexpr int kJoinEvery = 2000;

// Rectangles waiting to become a region, with their bounding box.
class TRectBuffer {
public:
    void Add(const RECT& r)
    {
        if (rects_.empty())
            bounds_ = r;
        else
            UnionRect(&bounds_, &bounds_, &r);
        if (rects_.size() == rects_.capacity())
            rects_.reserve(rects_.capacity() + kGrowBy);
        rects_.push_back(r);
    }
    int Count() const { return static_cast<int>(rects_.size()); }
    // Joins the gathered rectangles into `result` and starts again.
    void JoinInto(HRGN result)
    {
        std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + rects_.size() * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = static_cast<DWORD>(rects_.size());
        header->nRgnSize = static_cast<DWORD>(rects_.size() * sizeof(RECT));
        header->rcBound = bounds_;
        std::copy(rects_.begin(), rects_.end(), reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER)));
        if (HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()))) {
            CombineRgn(result, result, part, RGN_OR);
            DeleteObject(part);
        }
        rects_.clear();
    }

private:
    std::vector<RECT> rects_ = [] {
        std::vector<RECT> v;
        v.reserve(kGrowBy);
        return v;
    }();
    RECT bounds_{};
};
}

HRGN RegionFromBitmap(TBitmap& bitmap, int dx, int dy, int blueTolerance, int greenTolerance, int redTolerance,
                      TColor key, int* joins)
{
    if (joins)
        *joins = 0;
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    if (bitmap.Empty())
        return result;
    TBitmap pixels;
    pixels.Assign(bitmap);
    pixels.SetPixelFormat(pf32bit);
    const int r0 = GetRValue32(key), g0 = GetGValue32(key), b0 = GetBValue32(key);
    const int r1 = std::min(255, r0 + redTolerance), g1 = std::min(255, g0 + greenTolerance),
              b1 = std::min(255, b0 + blueTolerance);
    auto isKey = [&](const std::uint8_t* p) {
        return p[2] >= r0 && p[2] <= r1 && p[1] >= g0 && p[1] <= g1 && p[0] >= b0 && p[0] <= b1;
    };
    TRectBuffer buffer;
    const int w = pixels.Width(), h = pixels.Height();
    for (int y = 0; y < h; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(pixels.ScanLine(y));
        int x = 0;
        while (x < w) {
            while (x < w && isKey(row + 4 * x))
                ++x;
            const int start = x;
            while (x < w && !isKey(row + 4 * x))
                ++x;
            if (x > start) {
                buffer.Add({start + dx, y + dy, x + dx, y + dy + 1});
                if (buffer.Count() == kJoinEvery) {
                    buffer.JoinInto(result);
                    if (joins)
                        ++*joins;
                }
            }
        }
    }
    if (buffer.Count() > 0) {
        buffer.JoinInto(result);
        if (joins)
            ++*joins;
    }
    return result;
}
