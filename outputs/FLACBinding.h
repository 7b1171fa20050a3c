#pragma once
// libFLAC's stream encoder, loaded at run time by its bare file name; nothing links against it.
#include <FLAC/stream_encoder.h>

#include "classlib/DynamicLibrary.h"

// The encoder entry points the FLAC output calls. A plain table, so that a copy can be
// handed to a component.
struct TFLACEncoderApi {
    // The library was found and has every entry point below.
    bool Loaded = false;

    decltype(&::FLAC__stream_encoder_new) stream_encoder_new = nullptr;
    decltype(&::FLAC__stream_encoder_delete) stream_encoder_delete = nullptr;
    decltype(&::FLAC__stream_encoder_set_verify) stream_encoder_set_verify = nullptr;
    decltype(&::FLAC__stream_encoder_set_channels) stream_encoder_set_channels = nullptr;
    decltype(&::FLAC__stream_encoder_set_bits_per_sample) stream_encoder_set_bits_per_sample = nullptr;
    decltype(&::FLAC__stream_encoder_set_sample_rate) stream_encoder_set_sample_rate = nullptr;
    decltype(&::FLAC__stream_encoder_set_do_mid_side_stereo) stream_encoder_set_do_mid_side_stereo = nullptr;
    decltype(&::FLAC__stream_encoder_set_loose_mid_side_stereo) stream_encoder_set_loose_mid_side_stereo = nullptr;
    decltype(&::FLAC__stream_encoder_set_blocksize) stream_encoder_set_blocksize = nullptr;
    decltype(&::FLAC__stream_encoder_set_max_lpc_order) stream_encoder_set_max_lpc_order = nullptr;
    decltype(&::FLAC__stream_encoder_set_qlp_coeff_precision) stream_encoder_set_qlp_coeff_precision = nullptr;
    decltype(&::FLAC__stream_encoder_set_do_qlp_coeff_prec_search) stream_encoder_set_do_qlp_coeff_prec_search = nullptr;
    decltype(&::FLAC__stream_encoder_set_min_residual_partition_order)
        stream_encoder_set_min_residual_partition_order = nullptr;
    decltype(&::FLAC__stream_encoder_set_max_residual_partition_order)
        stream_encoder_set_max_residual_partition_order = nullptr;
    decltype(&::FLAC__stream_encoder_set_do_exhaustive_model_search)
        stream_encoder_set_do_exhaustive_model_search = nullptr;
    decltype(&::FLAC__stream_encoder_set_total_samples_estimate) stream_encoder_set_total_samples_estimate = nullptr;
    decltype(&::FLAC__stream_encoder_init_stream) stream_encoder_init_stream = nullptr;
    decltype(&::FLAC__stream_encoder_get_blocksize) stream_encoder_get_blocksize = nullptr;
    decltype(&::FLAC__stream_encoder_process_interleaved) stream_encoder_process_interleaved = nullptr;
    decltype(&::FLAC__stream_encoder_finish) stream_encoder_finish = nullptr;
};

class TFLACBinding {
public:
    static constexpr const char* WindowsFileName = "libFLAC.dll";
#ifdef _WIN32
    static constexpr const char* FileName = "libFLAC.dll";
#else
    static constexpr const char* FileName = "libFLAC.so.12";
#endif

    // Resolves the entry points by name.
    explicit TFLACBinding(TDynamicLibrary library);
    const TFLACEncoderApi& Api() const { return api_; }

private:
    TDynamicLibrary library_;
    TFLACEncoderApi api_;
};

// The program's libFLAC: loaded when the program starts, released when it ends.
const TFLACBinding& FLACLibrary();
