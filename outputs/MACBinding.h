#pragma once
// Our Monkey's Audio compressor library, loaded at run time by its bare file name.
#include "classlib/DynamicLibrary.h"
#include "mac/MACDll.h"

// The library's entry points. A plain table, so that a copy can be handed to a component.
struct TMACApi {
    // The library was found and has every entry point below.
    bool Loaded = false;

    TAPECompressCreate Create = nullptr;
    TAPECompressDestroy Destroy = nullptr;
    TAPECompressStart Start = nullptr;
    TAPECompressLockBuffer LockBuffer = nullptr;
    TAPECompressUnlockBuffer UnlockBuffer = nullptr;
    TAPECompressFinish Finish = nullptr;
    TFillWaveFormatEx FillWaveFormatEx = nullptr;
};

class TMACBinding {
public:
    static constexpr const char* WindowsFileName = "MACDll.dll";
#ifdef _WIN32
    static constexpr const char* FileName = "MACDll.dll";
#else
    static constexpr const char* FileName = "libMACDll.so";
#endif

    // Resolves the entry points by name.
    explicit TMACBinding(TDynamicLibrary library);
    const TMACApi& Api() const { return api_; }

private:
    TDynamicLibrary library_;
    TMACApi api_;
};

// The program's MACDll: loaded when the program starts, released when it ends.
const TMACBinding& MACLibrary();
