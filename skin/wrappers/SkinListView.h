#pragma once
// TSkinListView: a list view's scroll bars as for any scrolled control, and its column header
// drawn from the skin.
#include "skin/wrappers/SkinScrollbar.h"

class TSkinHeader;

class TSkinListView : public TSkinScrollbar {
public:
    using TSkinScrollbar::TSkinScrollbar;

    void AttachScrolled(TWinControl* control, TSkinData* skin, TSkinForm* form, TCanvas* canvas) override;

    // Listed with the form's wrappers, which frees it.
    TSkinHeader* Header = nullptr;
};
