#include "classlib/extctrls/StatusBar.h"

#include <commctrl.h>

#include <vector>

#include "classlib/Unicode.h"

void TStatusPanel::SetText(std::string value)
{
    text_ = std::move(value);
    Changed();
}

void TStatusPanel::SetWidth(int value)
{
    width_ = value < 0 ? 0 : value;
    Changed();
}

void TStatusPanel::SetAlignment(TAlignment value)
{
    alignment_ = value;
    Changed();
}

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner), panels_(std::make_unique<TCollectionOf<TStatusPanel>>())
{
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
    panels_->OnUpdate = [this](TCollection&, TCollectionItem*) { UpdatePanels(); };
}

TStatusBar::~TStatusBar() { panels_->OnUpdate = nullptr; }

void TStatusBar::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = STATUSCLASSNAMEW;
    // Placed by Align, not by the bar itself.
    p.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;
    if (sizeGrip_)
        p.style |= SBARS_SIZEGRIP;
}

void TStatusBar::InitializeWnd()
{
    TWinControl::InitializeWnd();
    UpdatePanels();
}

void TStatusBar::BoundsChanged()
{
    TWinControl::BoundsChanged();
    UpdatePanels();
}

void TStatusBar::SetSimplePanel(bool value)
{
    simplePanel_ = value;
    UpdatePanels();
}

void TStatusBar::SetSimpleText(std::string value)
{
    simpleText_ = std::move(value);
    UpdatePanels();
}

void TStatusBar::SetSizeGrip(bool value)
{
    if (value == sizeGrip_)
        return;
    sizeGrip_ = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TStatusBar::UpdatePanels()
{
    if (!HandleAllocated())
        return;
    HWND h = Handle();
    SendMessageW(h, SB_SIMPLE, simplePanel_ ? TRUE : FALSE, 0);
    if (simplePanel_) {
        const std::wstring text = Utf8ToWide(simpleText_);
        SendMessageW(h, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    // Right edges; the last panel runs to the end of the bar.
    const int count = panels_->Count();
    std::vector<int> edges;
    int x = 0;
    for (int i = 0; i < count; ++i) {
        x += panels_->Items(i)->Width();
        edges.push_back(i + 1 == count ? -1 : x);
    }
    if (edges.empty())
        edges.push_back(-1);
    SendMessageW(h, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < count; ++i) {
        const TStatusPanel* panel = panels_->Items(i);
        // The control centres text after one tab and right-aligns it after two.
        std::wstring text = Utf8ToWide(panel->Text());
        if (panel->Alignment() == taCenter)
            text = L"\t" + text;
        else if (panel->Alignment() == taRightJustify)
            text = L"\t\t" + text;
        SendMessageW(h, SB_SETTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (count == 0)
        SendMessageW(h, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
}
