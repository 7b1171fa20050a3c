#pragma once
// Memory inside another process, for the messages whose lParam is a pointer that the receiving
// window reads in its own address space (the folder browser's selection, tree-view queries).
#include <windows.h>

#include <stdexcept>

class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T size) : process_(process), size_(size)
    {
        address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!address_)
            throw std::runtime_error("VirtualAllocEx failed");
    }
    ~RemoteBuffer() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void Write(const void* data, SIZE_T size, SIZE_T offset = 0)
    {
        SIZE_T done = 0;
        if (offset + size > size_ || !WriteProcessMemory(process_, At(offset), data, size, &done) || done != size)
            throw std::runtime_error("WriteProcessMemory failed");
    }
    void Read(void* data, SIZE_T size, SIZE_T offset = 0) const
    {
        SIZE_T done = 0;
        if (offset + size > size_ || !ReadProcessMemory(process_, At(offset), data, size, &done) || done != size)
            throw std::runtime_error("ReadProcessMemory failed");
    }
    LPARAM Address(SIZE_T offset = 0) const { return reinterpret_cast<LPARAM>(At(offset)); }

private:
    char* At(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }

    HANDLE process_;
    SIZE_T size_;
    void* address_ = nullptr;
};
