#include "FLACBinding.h"

#include <utility>

namespace {

template <typename F>
void Resolve(const TDynamicLibrary& library, F& entryPoint, const char* name, bool& all)
{
    entryPoint = library.Function<F>(name);
    all = all && entryPoint != nullptr;
}

} // namespace

#define KESTRIP_RESOLVE_FLAC(member) Resolve(library_, api_.member, "FLAC__" #member, all)

TFLACBinding::TFLACBinding(TDynamicLibrary library) : library_(std::move(library))
{
    // A library of another version that lacks one of them counts as missing: calling a
    // null entry point would crash the run instead of reporting it.
    bool all = static_cast<bool>(library_);
    KESTRIP_RESOLVE_FLAC(stream_encoder_new);
    KESTRIP_RESOLVE_FLAC(stream_encoder_delete);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_verify);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_channels);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_bits_per_sample);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_sample_rate);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_do_mid_side_stereo);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_loose_mid_side_stereo);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_blocksize);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_max_lpc_order);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_qlp_coeff_precision);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_do_qlp_coeff_prec_search);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_min_residual_partition_order);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_max_residual_partition_order);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_do_exhaustive_model_search);
    KESTRIP_RESOLVE_FLAC(stream_encoder_set_total_samples_estimate);
    KESTRIP_RESOLVE_FLAC(stream_encoder_init_stream);
    KESTRIP_RESOLVE_FLAC(stream_encoder_get_blocksize);
    KESTRIP_RESOLVE_FLAC(stream_encoder_process_interleaved);
    KESTRIP_RESOLVE_FLAC(stream_encoder_finish);
    api_.Loaded = all;
}

#undef KESTRIP_RESOLVE_FLAC

const TFLACBinding& FLACLibrary()
{
    static const TFLACBinding binding(TDynamicLibrary::Open(TFLACBinding::FileName));
    return binding;
}

namespace {
// Load at program start rather than at first use.
[[maybe_unused]] const TFLACBinding& loadedAtStart = FLACLibrary();
}
