#pragma once
#include "Raster.h"

namespace skingen {

Image MakePushButtons();  // 5: normal, pressed, disabled, hot or focused, default
Image MakeCheckBoxes();   // 4: unchecked, checked, unchecked disabled, checked disabled
Image MakeRadioButtons(); // 4: off, on, off disabled, on disabled
Image MakeProgress();     // 2: track, filled part
Image MakeProgressChunk();
Image MakeGroupBoxEdge(); // 2: enabled, disabled
Image MakeGroupBoxLabel();
Image MakeTabs();         // 5: normal, selected, disabled, hot, pressed
Image MakeTabBorder();
Image MakeStatusPanel();  // 3
Image MakeToolButtons();  // 5: normal, pressed, disabled, hot, checked
Image MakeComboButton();  // 4: normal, pressed, disabled, hot
Image MakeComboArrow();   // 5 arrow glyphs
Image MakeSunkenEdge();   // 4: normal, pressed, disabled, focused
Image MakeHeader();       // 5: normal, hot, pressed, disabled, sorted
Image MakeMenuItem();     // 5: normal, pressed, disabled, selected, selected disabled
Image MakeMenuBackground();
Image MakeScrollArrows(); // 23
Image MakeScrollTrack(bool vertical);  // 4
Image MakeScrollThumb(bool vertical);  // 3: normal, pressed, hot

} // namespace skingen
