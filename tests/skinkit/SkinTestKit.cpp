#include "skinkit/SkinTestKit.h"

#include <chrono>
#include <stdexcept>

#include "guikit/GuiKit.h"

namespace skinkit {

TSkinControlTypes WrapperControls()
{
    TSkinControlTypes types = DefaultSkinControls();
    types.Exclude(xcMainMenu);
    return types;
}

TSkinnedForm::TSkinnedForm(const skindatatest::Bytes& packed, const std::string& caption, TPlace place,
                           TSkinControlTypes controls, TForm* existing)
    : form(existing ? existing : new TForm(nullptr))
{
    if (!existing) {
        form->SetBounds(place.left, place.top, place.width, place.height);
        form->SetCaption(caption);
    }
    skin = new TSkinData(form.get());
    skindatatest::PutImage(*skin, packed);
    if (!skin->LoadSkin())
        throw std::runtime_error("test skin refused");
    skin->SetSkinControls(controls);
    skin->SetActive(true);
    skin->Loaded();
}

TSkinnedForm::~TSkinnedForm()
{
    form.reset();
    guikit::PumpMessages();
}

TSkinForm* TSkinnedForm::Show()
{
    form->Show();
    SetForegroundWindow(form->Handle());
    guikit::WaitUntil([&] {
        frame = FindSkinForm(form->Handle());
        return frame && frame->Activated;
    });
    guikit::PumpMessages();
    return frame;
}

TColor PixelAt(HWND window, int x, int y)
{
    UpdateWindow(window);
    GdiFlush();
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return static_cast<TColor>(c);
}

bool WaitForPixel(HWND window, int x, int y, TColor colour)
{
    return guikit::WaitUntil([&] { return PixelAt(window, x, y) == colour; }, std::chrono::seconds(5));
}

} // namespace skinkit
