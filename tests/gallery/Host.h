#pragma once
// A shown form to put controls on in tests.
#include <memory>

#include "classlib/forms/Form.h"
#include "guikit/GuiKit.h"

struct Host {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    Host()
    {
        form->SetBounds(40, 40, 420, 320);
        form->SetCaption("Gallery host");
        form->Show();
        guikit::PumpMessages();
    }
    template <class T>
    T* Add(int x, int y, int w, int h, TWinControl* parent = nullptr)
    {
        T* c = new T(form.get());
        c->SetParent(parent ? parent : form.get());
        c->SetBounds(x, y, w, h);
        return c;
    }
};

// The colour of a window's pixel as the screen shows it (client coordinates).
inline COLORREF ScreenPixel(HWND window, int x, int y)
{
    UpdateWindow(window);
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}
