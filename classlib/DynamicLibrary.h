#pragma once
#include <string>

// A shared library loaded at run time by its bare file name. The search covers the
// program's folder and the system folders only; the current directory is never searched,
// so a stray file there cannot be loaded in place of ours.
class TDynamicLibrary {
public:
    TDynamicLibrary() = default;
    ~TDynamicLibrary() { Close(); }
    TDynamicLibrary(TDynamicLibrary&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    TDynamicLibrary& operator=(TDynamicLibrary&& other) noexcept;
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

    static TDynamicLibrary Open(const std::string& fileName);
    // Loads from one folder only (ending with a separator); used where a caller names the place.
    static TDynamicLibrary OpenFromFolder(const std::string& folder, const std::string& fileName);

    explicit operator bool() const { return handle_ != nullptr; }
    void* Symbol(const char* name) const;
    template <typename F> F Function(const char* name) const { return reinterpret_cast<F>(Symbol(name)); }
    void Close();

private:
    explicit TDynamicLibrary(void* handle) : handle_(handle) {}
    void* handle_ = nullptr;
};
