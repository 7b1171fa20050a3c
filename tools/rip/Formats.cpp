#include "Formats.h"

#include <algorithm>
#include <cctype>

#include "RawOut.h"
#include "outputs/AudioVorbis.h"
// Each output adds its header here and one line to the table below.

namespace {

template <typename T> std::unique_ptr<TAudioFileOut> Make(TComponent* owner)
{
    return std::make_unique<T>(owner);
}

// The main window's VorbisOut1.
std::unique_ptr<TAudioFileOut> MakeOgg(TComponent* owner)
{
    auto ogg = std::make_unique<TVorbisOut>(owner);
    ogg->SetFileMode(foRewrite);
    ogg->SetCompression(0.6f);
    ogg->SetDesiredNominalBitrate(brAutoSelect);
    ogg->SetDesiredMaximumBitrate(brAutoSelect);
    ogg->SetMinimumBitrate(brAutoSelect);
    ogg->SetSerial(0);
    return ogg;
}

} // namespace

const std::vector<TRipFormat>& RipFormats()
{
    static const std::vector<TRipFormat> formats = {
        {"raw", Make<TRawOut>},
        {"Ogg", MakeOgg},
    };
    return formats;
}

const TRipFormat* FindRipFormat(const std::string& name)
{
    auto same = [&](const TRipFormat& f) {
        return std::equal(f.Name.begin(), f.Name.end(), name.begin(), name.end(), [](unsigned char a, unsigned char b) {
            return std::tolower(a) == std::tolower(b);
        });
    };
    auto it = std::find_if(RipFormats().begin(), RipFormats().end(), same);
    return it == RipFormats().end() ? nullptr : &*it;
}
