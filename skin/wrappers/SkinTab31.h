#pragma once
// TSkinTab31: a tab set (a row of tabs hanging from the top edge, no pages) drawn from the
// skin's "Tabs" picture turned upside down; the tabs, selection and margins are read from
// the control by name.
#include <string>
#include <vector>

#include "classlib/graphics/Bitmap.h"
#include "skin/wrappers/SkinControl.h"

class TSkinTab31 : public TSkinControl {
public:
    using TSkinControl::TSkinControl;

    void AttachWindow(HWND handle, TSkinData* skin, TSkinForm* form, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void Draw(HDC dc, const RECT& rect) override;
    void Refresh() override;

    TBitmap TabImage;
    RECT TabMargins{};
    TBitmap Buffer;

private:
    void BuildImage();
    // The tab set's own object (a class-library control behind the window), or nullptr.
    TPersistent* Source() const;
    std::int64_t Ordinal(const char* name, std::int64_t fallback) const;
    std::vector<std::string> Tabs() const;
};
