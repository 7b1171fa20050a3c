#include "VorbisEncBinding.h"

#include <utility>

#define RESOLVE(entry) entry = library_.Function<decltype(entry)>(#entry)

TVorbisEncBinding::TVorbisEncBinding(TDynamicLibrary library) : library_(std::move(library))
{
    RESOLVE(vorbis_encode_init);
    RESOLVE(vorbis_encode_init_vbr);
}

const TVorbisEncBinding& VorbisEncLibrary()
{
    static const TVorbisEncBinding binding(TDynamicLibrary::Open(TVorbisEncBinding::FileName));
    return binding;
}

namespace {
// Loaded when the program starts rather than at first use.
[[maybe_unused]] const TVorbisEncBinding& loadedAtStart = VorbisEncLibrary();
}
