#pragma once
// libvorbisfile (the decoder front end), loaded at run time by its bare file name. The
// encoder needs it present but calls none of it; the decoding entries serve readers of
// finished files.
#ifndef OV_EXCLUDE_STATIC_CALLBACKS
#define OV_EXCLUDE_STATIC_CALLBACKS
#endif
#include <vorbis/vorbisfile.h>

#include "classlib/DynamicLibrary.h"

class TVorbisFileBinding {
public:
    static constexpr const char* WindowsFileName = "vorbisfile.dll";
#ifdef _WIN32
    static constexpr const char* FileName = "vorbisfile.dll";
#else
    static constexpr const char* FileName = "libvorbisfile.so.3";
#endif

    // Resolves the entry points by name; each one the library lacks stays null.
    explicit TVorbisFileBinding(TDynamicLibrary library);
    bool Loaded() const { return static_cast<bool>(library_); }

    decltype(&::ov_open_callbacks) ov_open_callbacks = nullptr;
    decltype(&::ov_clear) ov_clear = nullptr;
    decltype(&::ov_streams) ov_streams = nullptr;
    decltype(&::ov_serialnumber) ov_serialnumber = nullptr;
    decltype(&::ov_info) ov_info = nullptr;
    decltype(&::ov_comment) ov_comment = nullptr;
    decltype(&::ov_pcm_total) ov_pcm_total = nullptr;
    decltype(&::ov_read) ov_read = nullptr;

private:
    TDynamicLibrary library_;
};

// The program's libvorbisfile: loaded when the program starts, released when it ends.
const TVorbisFileBinding& VorbisFileLibrary();
