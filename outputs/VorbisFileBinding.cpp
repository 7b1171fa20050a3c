#include "VorbisFileBinding.h"

#include <utility>

#define RESOLVE(entry) entry = library_.Function<decltype(entry)>(#entry)

TVorbisFileBinding::TVorbisFileBinding(TDynamicLibrary library) : library_(std::move(library))
{
    RESOLVE(ov_open_callbacks);
    RESOLVE(ov_clear);
    RESOLVE(ov_streams);
    RESOLVE(ov_serialnumber);
    RESOLVE(ov_info);
    RESOLVE(ov_comment);
    RESOLVE(ov_pcm_total);
    RESOLVE(ov_read);
}

const TVorbisFileBinding& VorbisFileLibrary()
{
    static const TVorbisFileBinding binding(TDynamicLibrary::Open(TVorbisFileBinding::FileName));
    return binding;
}

namespace {
// Loaded when the program starts rather than at first use.
[[maybe_unused]] const TVorbisFileBinding& loadedAtStart = VorbisFileLibrary();
}
