#include "skin/ObjectWndProc.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace {
// One executable heap for every thunk of the program; thunks are tiny and short-lived.
HANDLE ThunkHeap()
{
    static HANDLE heap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
    return heap;
}

constexpr std::size_t kThunkSize = 32;
}

TObjectWndProc::TObjectWndProc(void* object, Handler handler)
{
    code_ = static_cast<unsigned char*>(HeapAlloc(ThunkHeap(), 0, kThunkSize));
    if (!code_)
        throw std::bad_alloc();
    // x64: mov rcx, object ; mov rax, handler ; jmp rax
    unsigned char* p = code_;
    const auto objectBits = reinterpret_cast<std::uint64_t>(object);
    const auto handlerBits = reinterpret_cast<std::uint64_t>(handler);
    *p++ = 0x48, *p++ = 0xB9;
    std::memcpy(p, &objectBits, 8), p += 8;
    *p++ = 0x48, *p++ = 0xB8;
    std::memcpy(p, &handlerBits, 8), p += 8;
    *p++ = 0xFF, *p++ = 0xE0;
    FlushInstructionCache(GetCurrentProcess(), code_, kThunkSize);
}

TObjectWndProc::~TObjectWndProc()
{
    if (code_)
        HeapFree(ThunkHeap(), 0, code_);
}

WNDPROC SwapWindowProc(HWND window, WNDPROC proc, bool unicode)
{
    const auto value = reinterpret_cast<LONG_PTR>(proc);
    return reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                                             : SetWindowLongPtrA(window, GWLP_WNDPROC, value));
}

LRESULT CallSavedProc(WNDPROC proc, bool unicode, HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!proc)
        return unicode ? DefWindowProcW(window, msg, wParam, lParam) : DefWindowProcA(window, msg, wParam, lParam);
    return unicode ? CallWindowProcW(proc, window, msg, wParam, lParam)
                   : CallWindowProcA(proc, window, msg, wParam, lParam);
}
