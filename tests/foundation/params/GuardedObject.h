// One object in pages of its own. Destroy() ends the object and makes its
// pages inaccessible, so any later touch of the dead object faults and the
// test process dies, instead of quietly reading memory that was freed.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <new>
#include <utility>

namespace guarded_detail {

// A fault otherwise starts Wine's debugger, which holds the test until its
// timeout; report it and let the process end with the fault's code at once.
inline LONG WINAPI ReportFault(EXCEPTION_POINTERS* info)
{
    std::fprintf(stderr, "fault 0x%08lX: a destroyed object was touched\n",
                 static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    return EXCEPTION_EXECUTE_HANDLER;
}

inline void EndProcessOnFault()
{
    static const bool installed = (SetUnhandledExceptionFilter(ReportFault), true);
    (void)installed;
}

} // namespace guarded_detail

template <class T>
class GuardedObject {
public:
    template <class... Args>
    explicit GuardedObject(Args&&... args)
    {
        guarded_detail::EndProcessOnFault();
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const std::size_t page = info.dwPageSize;
        size = (sizeof(T) + page - 1) / page * page;
        memory = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!memory)
            throw std::bad_alloc();
        object = new (memory) T(std::forward<Args>(args)...);
    }
    GuardedObject(const GuardedObject&) = delete;
    GuardedObject& operator=(const GuardedObject&) = delete;
    ~GuardedObject()
    {
        if (object)
            object->~T();
        VirtualFree(memory, 0, MEM_RELEASE);
    }

    T& operator*() const { return *object; }
    T* operator->() const { return object; }
    T* get() const { return object; }

    void Destroy()
    {
        object->~T();
        object = nullptr;
        DWORD previous = 0;
        VirtualProtect(memory, size, PAGE_NOACCESS, &previous);
    }

    // True once the dead object's pages refuse every access.
    bool Guarded() const { return !object && IsBadReadPtr(memory, 1) && IsBadWritePtr(memory, 1); }
    const void* Address() const { return memory; }

private:
    void* memory = nullptr;
    std::size_t size = 0;
    T* object = nullptr;
};
