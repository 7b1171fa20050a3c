#include "classlib/graphics/JPEGImage.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "classlib/graphics/Canvas.h"

namespace {
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    err->base.format_message(info, err->message);
    std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr, int) {} // warnings of damaged files are not shown

constexpr long long kMaxPixels = 1LL << 26;

struct Decoded {
    int width = 0, height = 0;
    bool grayscale = false;
};

// Plain C state only between setjmp and longjmp; rows are written through `rowAt`.
// Returns an empty message on success.
std::string Decode(const std::uint8_t* data, std::size_t size, Decoded& out, TBitmap& bitmap)
{
    jpeg_decompress_struct info;
    ErrorManager err;
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    err.base.emit_message = OnMessage;
    err.message[0] = '\0';
    volatile bool allocateFailed = false;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return allocateFailed ? "Out of system resources" : std::string("JPEG error: ") + err.message;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = info.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.grayscale = info.out_color_space == JCS_GRAYSCALE;
    if (static_cast<long long>(out.width) * out.height > kMaxPixels) {
        std::strcpy(err.message, "picture too large");
        jpeg_destroy_decompress(&info);
        return std::string("JPEG error: ") + err.message;
    }
    try {
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetSize(out.width, out.height);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        return "Out of system resources";
    }
    const int components = static_cast<int>(info.output_components);
    JSAMPARRAY line = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.output_width * components, 1);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, line, 1);
        auto* row = static_cast<std::uint8_t*>(bitmap.ScanLine(y));
        const JSAMPLE* in = line[0];
        for (int x = 0; x < out.width; ++x) {
            if (components == 1) {
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = in[x];
            } else { // RGB in, blue-green-red out
                row[3 * x] = in[3 * x + 2];
                row[3 * x + 1] = in[3 * x + 1];
                row[3 * x + 2] = in[3 * x];
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return {};
}
} // namespace

TJPEGImage::TJPEGImage() : bitmap_(std::make_unique<TBitmap>()) {}

TJPEGImage::~TJPEGImage() = default;

std::unique_ptr<TGraphic> TJPEGImage::Clone() const
{
    auto copy = std::make_unique<TJPEGImage>();
    copy->data_ = data_;
    copy->bitmap_->Assign(*bitmap_);
    copy->grayscale_ = grayscale_;
    copy->SetTransparent(Transparent());
    return copy;
}

int TJPEGImage::Width() const { return bitmap_->Width(); }
int TJPEGImage::Height() const { return bitmap_->Height(); }

void TJPEGImage::Draw(TCanvas& canvas, const RECT& r)
{
    bitmap_->SetTransparent(Transparent());
    bitmap_->Draw(canvas, r);
}

void TJPEGImage::LoadFromData(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        data_.clear();
        bitmap_ = std::make_unique<TBitmap>();
        Changed();
        return;
    }
    auto bitmap = std::make_unique<TBitmap>();
    Decoded decoded;
    const std::string error = Decode(data, size, decoded, *bitmap);
    if (!error.empty())
        throw EInvalidGraphic(error);
    data_.assign(data, data + size);
    bitmap_ = std::move(bitmap);
    grayscale_ = decoded.grayscale;
    Changed();
}
