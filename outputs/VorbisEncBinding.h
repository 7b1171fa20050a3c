#pragma once
// libvorbisenc (the encoder set-up), loaded at run time by its bare file name.
#include <vorbis/vorbisenc.h>

#include "classlib/DynamicLibrary.h"

class TVorbisEncBinding {
public:
    static constexpr const char* WindowsFileName = "vorbisenc.dll";
#ifdef _WIN32
    static constexpr const char* FileName = "vorbisenc.dll";
#else
    static constexpr const char* FileName = "libvorbisenc.so.2";
#endif

    // Resolves the entry points by name; each one the library lacks stays null.
    explicit TVorbisEncBinding(TDynamicLibrary library);
    bool Loaded() const { return static_cast<bool>(library_); }

    decltype(&::vorbis_encode_init) vorbis_encode_init = nullptr;
    decltype(&::vorbis_encode_init_vbr) vorbis_encode_init_vbr = nullptr;

private:
    TDynamicLibrary library_;
};

// The program's libvorbisenc: loaded when the program starts, released when it ends.
const TVorbisEncBinding& VorbisEncLibrary();
