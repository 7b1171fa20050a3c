#include "OggBinding.h"

#include <utility>

#define RESOLVE(entry) entry = library_.Function<decltype(entry)>(#entry)

TOggBinding::TOggBinding(TDynamicLibrary library) : library_(std::move(library))
{
    RESOLVE(ogg_stream_init);
    RESOLVE(ogg_stream_clear);
    RESOLVE(ogg_stream_packetin);
    RESOLVE(ogg_stream_pageout);
    RESOLVE(ogg_stream_flush);
    RESOLVE(ogg_page_eos);
}

const TOggBinding& OggLibrary()
{
    static const TOggBinding binding(TDynamicLibrary::Open(TOggBinding::FileName));
    return binding;
}

namespace {
// Loaded when the program starts rather than at first use.
[[maybe_unused]] const TOggBinding& loadedAtStart = OggLibrary();
}
