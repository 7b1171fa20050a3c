#include "classlib/graphics/Icon.h"

#include <cstdlib>

#include "classlib/graphics/Canvas.h"

namespace {
[[noreturn]] void Invalid() { throw EInvalidGraphic("Icon image is not valid"); }
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
} // namespace

TIcon::~TIcon() { Release(); }

void TIcon::Release()
{
    if (handle_)
        DestroyIcon(handle_);
    handle_ = nullptr;
    width_ = height_ = 0;
}

std::unique_ptr<TGraphic> TIcon::Clone() const
{
    auto copy = std::make_unique<TIcon>();
    if (handle_) {
        copy->handle_ = CopyIcon(handle_);
        copy->width_ = width_;
        copy->height_ = height_;
    }
    copy->data_ = data_;
    return copy;
}

void TIcon::Draw(TCanvas& canvas, const RECT& r)
{
    if (handle_)
        DrawIconEx(canvas.Handle(), r.left, r.top, handle_, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
}

void TIcon::LoadFromData(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) { // what an empty icon saves
        Release();
        data_.clear();
        Changed();
        return;
    }
    if (size < 6 || U16(data) != 0 || U16(data + 2) != 1)
        Invalid();
    const unsigned count = U16(data + 4);
    if (count == 0 || 6 + std::size_t{16} * count > size)
        Invalid();
    // The entry nearest to 32 x 32, the deeper colour on a tie.
    int best = -1, bestScore = 0;
    for (unsigned i = 0; i < count; ++i) {
        const std::uint8_t* e = data + 6 + 16 * i;
        const int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
        const std::uint32_t bytes = U32(e + 8), offset = U32(e + 12);
        if (offset > size || bytes > size - offset || bytes < 40)
            continue;
        const int score = std::abs(w - 32) * 1000 + std::abs(h - 32) * 1000 - U16(e + 6);
        if (best < 0 || score < bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    if (best < 0)
        Invalid();
    const std::uint8_t* e = data + 6 + 16 * best;
    const int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
    HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(data + U32(e + 12)), U32(e + 8), TRUE, 0x00030000, w, h,
                                          LR_DEFAULTCOLOR);
    if (!icon)
        Invalid();
    Release();
    handle_ = icon;
    width_ = w;
    height_ = h;
    data_.assign(data, data + size);
    Changed();
}

void TIcon::SetHandle(HICON icon)
{
    if (icon == handle_)
        return;
    Release();
    data_.clear();
    handle_ = icon;
    ICONINFO ii{};
    if (icon && GetIconInfo(icon, &ii)) {
        BITMAP bm{};
        if (ii.hbmColor && GetObjectW(ii.hbmColor, sizeof bm, &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight;
        } else if (ii.hbmMask && GetObjectW(ii.hbmMask, sizeof bm, &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight / 2; // mask and image stacked
        }
        if (ii.hbmColor)
            DeleteObject(ii.hbmColor);
        if (ii.hbmMask)
            DeleteObject(ii.hbmMask);
    }
    Changed();
}
