#pragma once
// libogg, loaded at run time by its bare file name; nothing links against it.
#include <ogg/ogg.h>

#include "classlib/DynamicLibrary.h"

class TOggBinding {
public:
    static constexpr const char* WindowsFileName = "ogg.dll";
#ifdef _WIN32
    static constexpr const char* FileName = "ogg.dll";
#else
    static constexpr const char* FileName = "libogg.so.0";
#endif

    // Resolves the entry points by name; each one the library lacks stays null.
    explicit TOggBinding(TDynamicLibrary library);
    bool Loaded() const { return static_cast<bool>(library_); }

    decltype(&::ogg_stream_init) ogg_stream_init = nullptr;
    decltype(&::ogg_stream_clear) ogg_stream_clear = nullptr;
    decltype(&::ogg_stream_packetin) ogg_stream_packetin = nullptr;
    decltype(&::ogg_stream_pageout) ogg_stream_pageout = nullptr;
    decltype(&::ogg_stream_flush) ogg_stream_flush = nullptr;
    decltype(&::ogg_page_eos) ogg_page_eos = nullptr;

private:
    TDynamicLibrary library_;
};

// The program's libogg: loaded when the program starts, released when it ends.
const TOggBinding& OggLibrary();
