#include "Formats.h"

#include <algorithm>
#include <cctype>

#include "RawOut.h"
// Each output adds its header here and one line to the table below.

namespace {

template <typename T> std::unique_ptr<TAudioFileOut> Make(TComponent* owner)
{
    return std::make_unique<T>(owner);
}

} // namespace

const std::vector<TRipFormat>& RipFormats()
{
    static const std::vector<TRipFormat> formats = {
        {"raw", Make<TRawOut>},
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
