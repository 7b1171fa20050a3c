#include "LAMEBinding.h"

#include <mutex>
#include <utility>

#define RESOLVE(entry) entry = library_.Function<decltype(entry)>(#entry)

TLAMEBinding::TLAMEBinding(TDynamicLibrary library) : library_(std::move(library))
{
    RESOLVE(lame_init);
    RESOLVE(lame_set_num_samples);
    RESOLVE(lame_set_in_samplerate);
    RESOLVE(lame_set_num_channels);
    RESOLVE(lame_set_brate);
    RESOLVE(lame_init_params);
    RESOLVE(lame_encode_buffer_interleaved);
    RESOLVE(lame_encode_buffer);
    RESOLVE(id3tag_init);
    RESOLVE(id3tag_set_title);
    RESOLVE(id3tag_set_artist);
    RESOLVE(id3tag_set_album);
    RESOLVE(id3tag_set_year);
    RESOLVE(id3tag_set_track);
    RESOLVE(id3tag_set_comment);
    RESOLVE(lame_encode_flush);
    RESOLVE(lame_close);
    RESOLVE(lame_get_lametag_frame);
    loaded_ = library_ && lame_init && lame_set_num_samples && lame_set_in_samplerate && lame_set_num_channels &&
              lame_set_brate && lame_init_params && lame_encode_buffer_interleaved && lame_encode_buffer &&
              id3tag_init && id3tag_set_title && id3tag_set_artist && id3tag_set_album && id3tag_set_year &&
              id3tag_set_track && id3tag_set_comment && lame_encode_flush && lame_close;
}

namespace {

std::mutex holdMutex;
std::weak_ptr<const TLAMEBinding> heldBinding;

} // namespace

std::shared_ptr<const TLAMEBinding> HoldLAMELibrary()
{
    std::lock_guard lock(holdMutex);
    std::shared_ptr<const TLAMEBinding> binding = heldBinding.lock();
    if (binding && binding->Loaded())
        return binding;
    binding = std::make_shared<const TLAMEBinding>(TDynamicLibrary::Open(TLAMEBinding::FileName));
    heldBinding = binding;
    return binding;
}

bool LAMELibraryHeld()
{
    std::lock_guard lock(holdMutex);
    std::shared_ptr<const TLAMEBinding> binding = heldBinding.lock();
    return binding && binding->Loaded();
}
