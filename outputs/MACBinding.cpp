#include "MACBinding.h"

#include <utility>

namespace {

template <typename F>
void Resolve(const TDynamicLibrary& library, F& entryPoint, const char* name, bool& all)
{
    entryPoint = library.Function<F>(name);
    all = all && entryPoint != nullptr;
}

} // namespace

TMACBinding::TMACBinding(TDynamicLibrary library) : library_(std::move(library))
{
    // A library that lacks one of them counts as missing: calling a null entry point would
    // crash the run instead of reporting it.
    bool all = static_cast<bool>(library_);
    Resolve(library_, api_.Create, "c_APECompress_Create", all);
    Resolve(library_, api_.Destroy, "c_APECompress_Destroy", all);
    Resolve(library_, api_.Start, "c_APECompress_Start", all);
    Resolve(library_, api_.LockBuffer, "c_APECompress_LockBuffer", all);
    Resolve(library_, api_.UnlockBuffer, "c_APECompress_UnlockBuffer", all);
    Resolve(library_, api_.Finish, "c_APECompress_Finish", all);
    Resolve(library_, api_.FillWaveFormatEx, "FillWaveFormatEx", all);
    api_.Loaded = all;
}

const TMACBinding& MACLibrary()
{
    static const TMACBinding binding(TDynamicLibrary::Open(TMACBinding::FileName));
    return binding;
}

namespace {
// Load at program start rather than at first use.
[[maybe_unused]] const TMACBinding& loadedAtStart = MACLibrary();
}
