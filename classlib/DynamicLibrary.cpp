#include "DynamicLibrary.h"

#include "FileStream.h"
#include "Program.h"

#ifdef _WIN32
#include <windows.h>

#include "Unicode.h"
#else
#include <dlfcn.h>
#endif

TDynamicLibrary& TDynamicLibrary::operator=(TDynamicLibrary&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

#ifdef _WIN32

TDynamicLibrary TDynamicLibrary::Open(const std::string& fileName)
{
    // Dependencies of the library are searched the same way.
    return TDynamicLibrary(LoadLibraryExW(Utf8ToWide(fileName).c_str(), nullptr,
                                          LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
}

TDynamicLibrary TDynamicLibrary::OpenFromFolder(const std::string& folder, const std::string& fileName)
{
    return TDynamicLibrary(LoadLibraryExW(Utf8ToWide(folder + fileName).c_str(), nullptr,
                                          LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
}

void* TDynamicLibrary::Symbol(const char* name) const
{
    return handle_ ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name)) : nullptr;
}

void TDynamicLibrary::Close()
{
    if (handle_)
        FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = nullptr;
}

#else

TDynamicLibrary TDynamicLibrary::Open(const std::string& fileName)
{
    // A bare name makes dlopen search the system paths only, never the current directory.
    std::string local = ProgramFolder() + fileName;
    if (FileExists(local))
        return TDynamicLibrary(dlopen(local.c_str(), RTLD_NOW | RTLD_LOCAL));
    return TDynamicLibrary(dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL));
}

TDynamicLibrary TDynamicLibrary::OpenFromFolder(const std::string& folder, const std::string& fileName)
{
    std::string path = folder + fileName;
    return TDynamicLibrary(FileExists(path) ? dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr);
}

void* TDynamicLibrary::Symbol(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

void TDynamicLibrary::Close()
{
    if (handle_)
        dlclose(handle_);
    handle_ = nullptr;
}

#endif
