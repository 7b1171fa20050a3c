#pragma once
// Notifications of the class library, sent through a control's window method. Their numbers
// are fixed: wrappers that hook a control's window method recognise them by value.
#include <windows.h>

#include <cstdint>

enum : UINT {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0x00,
    CM_DEACTIVATE = CM_BASE + 0x01,
    CM_DIALOGKEY = CM_BASE + 0x05,       // wParam virtual key; result non-zero: handled
    CM_DIALOGCHAR = CM_BASE + 0x06,      // wParam character; result non-zero: handled
    CM_FOCUSCHANGED = CM_BASE + 0x07,    // lParam the control that now has the focus
    CM_PARENTFONTCHANGED = CM_BASE + 0x08,
    CM_PARENTCOLORCHANGED = CM_BASE + 0x09,
    CM_VISIBLECHANGED = CM_BASE + 0x0B,  // wParam the new visibility
    CM_ENABLEDCHANGED = CM_BASE + 0x0C,
    CM_COLORCHANGED = CM_BASE + 0x0D,
    CM_FONTCHANGED = CM_BASE + 0x0E,
    CM_TEXTCHANGED = CM_BASE + 0x12,
    CM_MOUSEENTER = CM_BASE + 0x13,
    CM_MOUSELEAVE = CM_BASE + 0x14,
    CM_MENUCHANGED = CM_BASE + 0x15,     // to a form whose menu's items changed
    CM_ENTER = CM_BASE + 0x1A,           // the control became its form's active control
    CM_EXIT = CM_BASE + 0x1B,            // the control stopped being it
    CM_DESTROYING = CM_BASE + 0x21,      // the control object is being destroyed
    CM_HINTSHOW = CM_BASE + 0x30,
    CM_RECREATEWND = CM_BASE + 0x33,     // after the window was destroyed and created again
    CM_STATECHANGED = CM_BASE + 0xD0,    // a two-state control's check state changed

    // A parent reflects these notifications of a child window to the child's own window
    // method as CN_BASE + the original message.
    CN_BASE = 0xBC00,
    CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM,
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM,
    CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
    CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG,
    CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
    CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
    CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX,
    CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR,
    CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
    CN_DELETEITEM = CN_BASE + WM_DELETEITEM,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
    CN_HSCROLL = CN_BASE + WM_HSCROLL,
    CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
    CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY,
    CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM,
    CN_VSCROLL = CN_BASE + WM_VSCROLL,
    CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
    CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
    CN_NOTIFY = CN_BASE + WM_NOTIFY,
};

// One message on its way through a control's window method.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};
