#pragma once
// libvorbis (the codec core), loaded at run time by its bare file name.
#include <vorbis/codec.h>

#include "classlib/DynamicLibrary.h"

class TVorbisBinding {
public:
    static constexpr const char* WindowsFileName = "vorbis.dll";
#ifdef _WIN32
    static constexpr const char* FileName = "vorbis.dll";
#else
    static constexpr const char* FileName = "libvorbis.so.0";
#endif

    // Resolves the entry points by name; each one the library lacks stays null.
    explicit TVorbisBinding(TDynamicLibrary library);
    bool Loaded() const { return static_cast<bool>(library_); }

    decltype(&::vorbis_info_init) vorbis_info_init = nullptr;
    decltype(&::vorbis_info_clear) vorbis_info_clear = nullptr;
    decltype(&::vorbis_comment_init) vorbis_comment_init = nullptr;
    decltype(&::vorbis_comment_add_tag) vorbis_comment_add_tag = nullptr;
    decltype(&::vorbis_comment_clear) vorbis_comment_clear = nullptr;
    decltype(&::vorbis_analysis_init) vorbis_analysis_init = nullptr;
    decltype(&::vorbis_dsp_clear) vorbis_dsp_clear = nullptr;
    decltype(&::vorbis_block_init) vorbis_block_init = nullptr;
    decltype(&::vorbis_block_clear) vorbis_block_clear = nullptr;
    decltype(&::vorbis_analysis_headerout) vorbis_analysis_headerout = nullptr;
    decltype(&::vorbis_analysis_buffer) vorbis_analysis_buffer = nullptr;
    decltype(&::vorbis_analysis_wrote) vorbis_analysis_wrote = nullptr;
    decltype(&::vorbis_analysis_blockout) vorbis_analysis_blockout = nullptr;
    decltype(&::vorbis_analysis) vorbis_analysis = nullptr;
    decltype(&::vorbis_bitrate_addblock) vorbis_bitrate_addblock = nullptr;
    decltype(&::vorbis_bitrate_flushpacket) vorbis_bitrate_flushpacket = nullptr;

private:
    TDynamicLibrary library_;
};

// The program's libvorbis: loaded when the program starts, released when it ends.
const TVorbisBinding& VorbisLibrary();
