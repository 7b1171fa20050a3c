#pragma once
// The skin engine's private window messages, answered by every skinned window and wrapper.
#include <windows.h>

enum : UINT {
    SKM_RESKIN = 0x3401,         // re-apply colours and child skins
    SKM_REPAINTFRAME = 0x3502,   // repaint a frame now
    SKM_ACTIVATE = 0x3503,       // start skinning a window; posted by the manager, lParam 1000
    SKM_ENABLESKIN = 0x3506,     // wParam > 0: a wrapper's skinning on, else off
    SKM_TABCLOSE = 0x3507,       // wParam tab control, lParam tab index; 0 lets the wrapper free the page
    SKM_BUTTONCLICK = 0x3514,    // an application-defined caption button; wParam its Action
    SKM_BUTTONVISIBLE = 0x3515,  // wParam Visibility code, lParam Action; > 0 shows the button
    SKM_REDRAWMDI = 0x3516,      // the MDI client redraws the window in wParam
    SKM_ISSKINNED = 0x3523,      // every skinned window and wrapped control answers 1
};

// Texts the engine would trace; nothing listens.
inline void SkinTrace(const char*) {}
