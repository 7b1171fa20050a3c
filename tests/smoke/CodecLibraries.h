#pragma once
// The codec libraries as the program loads them: by bare file name at run time.
#include <stdexcept>
#include <string>

#include "classlib/DynamicLibrary.h"

struct CodecLibrary {
    const char* windowsName;
    const char* nativeName;

    const char* FileName() const
    {
#ifdef _WIN32
        return windowsName;
#else
        return nativeName;
#endif
    }
};

inline constexpr CodecLibrary kOgg{"ogg.dll", "libogg.so.0"};
inline constexpr CodecLibrary kVorbis{"vorbis.dll", "libvorbis.so.0"};
inline constexpr CodecLibrary kVorbisEnc{"vorbisenc.dll", "libvorbisenc.so.2"};
inline constexpr CodecLibrary kVorbisFile{"vorbisfile.dll", "libvorbisfile.so.3"};
inline constexpr CodecLibrary kFlac{"libFLAC.dll", "libFLAC.so.12"};
inline constexpr CodecLibrary kLame{"lame_enc.dll", "libmp3lame.so.0"};
inline constexpr CodecLibrary kAllCodecLibraries[] = {kOgg, kVorbis, kVorbisEnc, kVorbisFile, kFlac, kLame};

inline TDynamicLibrary LoadCodecLibrary(const CodecLibrary& library)
{
    TDynamicLibrary loaded = TDynamicLibrary::Open(library.FileName());
    if (!loaded)
        throw std::runtime_error(std::string(library.windowsName) + " library could not be loaded.");
    return loaded;
}

template <typename F>
F RequireFunction(const TDynamicLibrary& library, const char* name)
{
    F function = library.Function<F>(name);
    if (!function)
        throw std::runtime_error(std::string("entry point ") + name + " not found");
    return function;
}

// Binds a local named like the library function, typed by its header's declaration.
#define BIND_CODEC_FUNCTION(library, function) \
    const auto function = RequireFunction<decltype(&::function)>(library, #function)
