#pragma once
// The LAME MP3 encoder, loaded at run time by its bare file name; nothing links against it.
#include <lame/lame.h>

#include <memory>

#include "classlib/DynamicLibrary.h"

class TLAMEBinding {
public:
    static constexpr const char* WindowsFileName = "lame_enc.dll";
#ifdef _WIN32
    static constexpr const char* FileName = "lame_enc.dll";
#else
    static constexpr const char* FileName = "libmp3lame.so.0";
#endif

    // Resolves the entry points by name; each one the library lacks stays null.
    explicit TLAMEBinding(TDynamicLibrary library);
    // The library is loaded and has every entry point below: a stray file of the same name
    // that lacks one would otherwise crash the first run that calls it.
    bool Loaded() const { return loaded_; }

    decltype(&::lame_init) lame_init = nullptr;
    decltype(&::lame_set_num_samples) lame_set_num_samples = nullptr;
    decltype(&::lame_set_in_samplerate) lame_set_in_samplerate = nullptr;
    decltype(&::lame_set_num_channels) lame_set_num_channels = nullptr;
    decltype(&::lame_set_brate) lame_set_brate = nullptr;
    decltype(&::lame_init_params) lame_init_params = nullptr;
    decltype(&::lame_encode_buffer_interleaved) lame_encode_buffer_interleaved = nullptr;
    decltype(&::lame_encode_buffer) lame_encode_buffer = nullptr;
    decltype(&::id3tag_init) id3tag_init = nullptr;
    decltype(&::id3tag_set_title) id3tag_set_title = nullptr;
    decltype(&::id3tag_set_artist) id3tag_set_artist = nullptr;
    decltype(&::id3tag_set_album) id3tag_set_album = nullptr;
    decltype(&::id3tag_set_year) id3tag_set_year = nullptr;
    decltype(&::id3tag_set_track) id3tag_set_track = nullptr;
    decltype(&::id3tag_set_comment) id3tag_set_comment = nullptr;
    decltype(&::lame_encode_flush) lame_encode_flush = nullptr;
    decltype(&::lame_close) lame_close = nullptr;
    // Optional: fills in the tag frame that lets decoders drop the encoder's delay and padding.
    decltype(&::lame_get_lametag_frame) lame_get_lametag_frame = nullptr;

private:
    TDynamicLibrary library_;
    bool loaded_ = false;
};

// The program's lame_enc.dll. The first holder loads it and the library stays loaded while
// any holder keeps its reference, so destroying one MP3 output never unloads the encoder
// from under another. A failed load is tried again by the next caller.
std::shared_ptr<const TLAMEBinding> HoldLAMELibrary();

// True while some holder keeps the program's lame_enc.dll loaded.
bool LAMELibraryHeld();
