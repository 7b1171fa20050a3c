#include "VorbisBinding.h"

#include <utility>

#define RESOLVE(entry) entry = library_.Function<decltype(entry)>(#entry)

TVorbisBinding::TVorbisBinding(TDynamicLibrary library) : library_(std::move(library))
{
    RESOLVE(vorbis_info_init);
    RESOLVE(vorbis_info_clear);
    RESOLVE(vorbis_comment_init);
    RESOLVE(vorbis_comment_add_tag);
    RESOLVE(vorbis_comment_clear);
    RESOLVE(vorbis_analysis_init);
    RESOLVE(vorbis_dsp_clear);
    RESOLVE(vorbis_block_init);
    RESOLVE(vorbis_block_clear);
    RESOLVE(vorbis_analysis_headerout);
    RESOLVE(vorbis_analysis_buffer);
    RESOLVE(vorbis_analysis_wrote);
    RESOLVE(vorbis_analysis_blockout);
    RESOLVE(vorbis_analysis);
    RESOLVE(vorbis_bitrate_addblock);
    RESOLVE(vorbis_bitrate_flushpacket);
}

const TVorbisBinding& VorbisLibrary()
{
    static const TVorbisBinding binding(TDynamicLibrary::Open(TVorbisBinding::FileName));
    return binding;
}

namespace {
// Loaded when the program starts rather than at first use.
[[maybe_unused]] const TVorbisBinding& loadedAtStart = VorbisLibrary();
}
