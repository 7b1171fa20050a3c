// Functions of user32 that older systems lack, looked up once.
#include "skin/manager/SkinManager.h"

namespace {
struct TUser32Extras {
    using GetScrollBarInfoFn = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
    using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
    using GetComboBoxInfoFn = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);

    TUser32Extras()
    {
        library = LoadLibraryA("user32.dll");
        if (!library)
            return;
        getScrollBarInfo = reinterpret_cast<GetScrollBarInfoFn>(
            reinterpret_cast<void*>(GetProcAddress(library, "GetScrollBarInfo")));
        trackMouseEvent = reinterpret_cast<TrackMouseEventFn>(
            reinterpret_cast<void*>(GetProcAddress(library, "TrackMouseEvent")));
        getComboBoxInfo = reinterpret_cast<GetComboBoxInfoFn>(
            reinterpret_cast<void*>(GetProcAddress(library, "GetComboBoxInfo")));
    }
    ~TUser32Extras()
    {
        if (library)
            FreeLibrary(library);
    }

    HMODULE library = nullptr;
    GetScrollBarInfoFn getScrollBarInfo = nullptr;
    TrackMouseEventFn trackMouseEvent = nullptr;
    GetComboBoxInfoFn getComboBoxInfo = nullptr;
};

const TUser32Extras& Extras()
{
    static const TUser32Extras extras;
    return extras;
}
}

bool ScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info)
{
    if (!Extras().getScrollBarInfo)
        return false;
    info.cbSize = sizeof info;
    return Extras().getScrollBarInfo(window, objectId, &info) != FALSE;
}

void TrackMouseLeave(HWND window)
{
    if (!Extras().trackMouseEvent)
        return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    Extras().trackMouseEvent(&track);
}

bool ComboBoxInfo(HWND window, COMBOBOXINFO& info)
{
    if (!Extras().getComboBoxInfo)
        return false;
    info.cbSize = sizeof info;
    return Extras().getComboBoxInfo(window, &info) != FALSE;
}
