#include "DefaultSkin.h"

#include <algorithm>

#include "Controls.h"
#include "Frame.h"

namespace skingen {

std::vector<SkinBitmap> MakeBitmaps()
{
    const FramePieces frame = MakeFrame();
    std::vector<SkinBitmap> bitmaps = {
        {"frame-left.bmp", frame.left},
        {"frame-right.bmp", frame.right},
        {"frame-top.bmp", frame.top},
        {"frame-bottom.bmp", frame.bottom},
        {"caption-close.bmp", MakeCaptionButton(CaptionGlyph::Close)},
        {"caption-maximise.bmp", MakeCaptionButton(CaptionGlyph::Maximise)},
        {"caption-restore.bmp", MakeCaptionButton(CaptionGlyph::Restore)},
        {"caption-minimise.bmp", MakeCaptionButton(CaptionGlyph::Minimise)},
        {"caption-help.bmp", MakeCaptionButton(CaptionGlyph::Help)},
        {"menubar.bmp", MakeMenuBar()},
        {"mdi-buttons.bmp", MakeMdiButtons()},
        {"button.bmp", MakePushButtons()},
        {"checkbox.bmp", MakeCheckBoxes()},
        {"radio.bmp", MakeRadioButtons()},
        {"progress.bmp", MakeProgress()},
        {"progress-chunk.bmp", MakeProgressChunk()},
        {"groupbox-edge.bmp", MakeGroupBoxEdge()},
        {"groupbox-label.bmp", MakeGroupBoxLabel()},
        {"tabs.bmp", MakeTabs()},
        {"tabs-border.bmp", MakeTabBorder()},
        {"statusbar.bmp", MakeStatusPanel()},
        {"toolbar.bmp", MakeToolButtons()},
        {"combo-button.bmp", MakeComboButton()},
        {"combo-arrow.bmp", MakeComboArrow()},
        {"sunken-edge.bmp", MakeSunkenEdge()},
        {"header.bmp", MakeHeader()},
        {"menu-item.bmp", MakeMenuItem()},
        {"menu-border.bmp", MakeMenuBackground()},
        {"scroll-arrows.bmp", MakeScrollArrows()},
        {"scroll-track-horz.bmp", MakeScrollTrack(false)},
        {"scroll-track-vert.bmp", MakeScrollTrack(true)},
        {"scroll-thumb-horz.bmp", MakeScrollThumb(false)},
        {"scroll-thumb-vert.bmp", MakeScrollThumb(true)},
    };
    std::sort(bitmaps.begin(), bitmaps.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return bitmaps;
}

std::vector<skinpack::SkinEntry> MakeDefaultSkin()
{
    std::vector<skinpack::SkinEntry> entries;
    for (const auto& b : MakeBitmaps())
        entries.push_back({b.name, EncodeBmp(b.image)});
    const std::string ini = MakeIniText();
    entries.push_back({kIniName, std::vector<std::uint8_t>(ini.begin(), ini.end())});
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return entries;
}

} // namespace skingen
