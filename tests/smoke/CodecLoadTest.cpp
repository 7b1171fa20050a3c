#include <gtest/gtest.h>

#include "smoke/CodecLibraries.h"

// Every codec library loads by its bare name, with the other codec libraries it needs.
TEST(CodecLibraries, EachLoadsByBareNameAndHasItsEntryPoint)
{
    const struct {
        CodecLibrary library;
        const char* entryPoint;
    } expected[] = {
        {kOgg, "ogg_stream_init"},
        {kVorbis, "vorbis_analysis_init"},
        {kVorbisEnc, "vorbis_encode_init_vbr"},
        {kVorbisFile, "ov_open_callbacks"},
        {kFlac, "FLAC__stream_encoder_new"},
        {kLame, "lame_init"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.library.FileName());
        TDynamicLibrary library = TDynamicLibrary::Open(e.library.FileName());
        ASSERT_TRUE(library);
        EXPECT_NE(library.Symbol(e.entryPoint), nullptr);
    }
}

// Guards the check above against a loader that succeeds on anything.
TEST(CodecLibraries, AnUnknownNameDoesNotLoad)
{
    EXPECT_FALSE(TDynamicLibrary::Open("kestrip-no-such-codec.dll"));
}
