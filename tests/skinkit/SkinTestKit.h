#pragma once
// What the skin engine's GUI tests share: a form with a skin component of its own that the
// skin manager skins when it is shown, as the program's windows are, and reading its pixels.
#include <memory>
#include <string>

#include <windows.h>

#include "classlib/forms/Form.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "skindata/SkinDataTestKit.h"

namespace skinkit {

// Every kind of control but the frame itself: the wrappers are what is tested.
TSkinControlTypes WrapperControls();

struct TPlace {
    int left, top, width, height;
};

class TSkinnedForm {
public:
    // `existing` (owned from now on) is used instead of a new form, keeping its own place.
    TSkinnedForm(const skindatatest::Bytes& packedSkin, const std::string& caption, TPlace place,
                 TSkinControlTypes controls = WrapperControls(), TForm* existing = nullptr);
    TSkinnedForm(const skindatatest::TTestSkin& skin, const std::string& caption, TPlace place,
                 TSkinControlTypes controls = WrapperControls(), TForm* existing = nullptr)
        : TSkinnedForm(skin.Pack(), caption, place, controls, existing)
    {
    }
    ~TSkinnedForm();
    TSkinnedForm(const TSkinnedForm&) = delete;
    TSkinnedForm& operator=(const TSkinnedForm&) = delete;

    template <class T>
    T* Add(int left, int top, int width, int height, TWinControl* parent = nullptr)
    {
        auto* control = new T(form.get());
        control->SetParent(parent ? parent : form.get());
        control->SetBounds(left, top, width, height);
        return control;
    }
    // Shows the form and waits for the manager to have skinned it and its children.
    TSkinForm* Show();

    std::unique_ptr<TForm> form;
    TSkinData* skin = nullptr;
    TSkinForm* frame = nullptr;
};

// The colour at a client point of a window, as on the screen.
TColor PixelAt(HWND window, int x, int y);
// Waits until the client point shows `colour`.
bool WaitForPixel(HWND window, int x, int y, TColor colour);

} // namespace skinkit
