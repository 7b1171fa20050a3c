#pragma once
// TSkinData: the component that carries one skin (the packed file image, parsed into element
// records and colours) and switches skinning on and off through the skin manager.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "classlib/Component.h"
#include "classlib/MemoryStream.h"
#include "classlib/Set.h"
#include "classlib/Strings.h"
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/ImageList.h"
#include "skin/data/DataSkinBorder.h"
#include "skin/data/DataSkinBoxLabel.h"
#include "skin/data/DataSkinButton.h"
#include "skin/data/DataSkinSysButton.h"
#include "skin/data/DataSkinTitle.h"
#include "skin/data/SkinElements.h"

class TControl;
class TClassRegistry;
class TQuickIni;
class TSkinReader;

enum TSkinControlType {
    xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = TSet<TSkinControlType>;
enum TSkinOption { xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK };
using TSkinOptions = TSet<TSkinOption>;
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

class TSkinData;
using TOnFormSkin = std::function<void(TComponent* sender, const std::string& aName, bool& doSkin)>;
using TOnSkinControl = std::function<void(TComponent* sender, TSkinData* skinData, TControl* form, TControl* control,
                                          const std::string& controlClass, TComponent*& skinnedControl)>;
using TSkinNotifyEvent = std::function<void(TComponent* sender)>;

constexpr const char* kSkinDataVersion = "3.64.10.19";
constexpr TColor kSkinKeyColour = 0xFF00FF;

// Every control kind but xcMenuItem and xcFastReport.
TSkinControlTypes DefaultSkinControls();

class TSkinData : public TComponent {
public:
    explicit TSkinData(TComponent* owner = nullptr);
    ~TSkinData() override;

    // ---- Published ----
    bool Active() const { return active_; }
    void SetActive(bool value);
    int DisableTag() const { return disableTag_; }
    void SetDisableTag(int value) { disableTag_ = value; }
    TSkinControlTypes SkinControls() const { return skinControls_; }
    void SetSkinControls(TSkinControlTypes value) { skinControls_ = value; }
    TSkinOptions Options() const { return options_; }
    void SetOptions(TSkinOptions value) { options_ = value; }
    TStrings* Skin3rd() const { return skin3rd_.get(); }
    // Copies the lines of `lines` (nothing for null).
    void SetSkin3rd(TStrings* lines);
    const std::string& SkinFile() const { return skinFile_; }
    void SetSkinFile(const std::string& path);
    std::string SkinStore() const;
    void SetSkinStore(const std::string&) {}
    TSkinFormType SkinFormtype() const { return skinFormtype_; }
    void SetSkinFormtype(TSkinFormType value) { skinFormtype_ = value; }
    std::string Version() const { return kSkinDataVersion; }
    void SetVersion(const std::string&) {}
    bool MenuUpdate() const { return menuUpdate_; }
    void SetMenuUpdate(bool value) { menuUpdate_ = value; }
    bool MenuMerge() const { return menuMerge_; }
    void SetMenuMerge(bool value) { menuMerge_ = value; }
    TOnFormSkin OnFormSkin;
    TSkinNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;
    // Shows why a skin file image was refused; the reader's own message box when empty.
    std::function<void(const std::string&)> ReaderMessage;

    // The stored form of the skin: a little-endian int32 byte count, then the bytes.
    std::vector<std::uint8_t> StoredSkinStream() const;
    void ReadStoredSkinStream(const std::vector<std::uint8_t>& data);

    // ---- Operations ----
    // Unpacks SkinStream and parses it; false when the image could not be opened.
    bool LoadSkin();
    // Loads the skin entry named by `name` (folder parts dropped, ".bmp" only) or empties.
    void LoadSkinBitmap(TBitmap& bitmap, const std::string& name);
    static TColor ParseColour(const std::string& text, TColor fallback);
    // Overwrites `colour` only when name+"R", name+"G" and name+"B" are all present.
    void ReadColourTriple(const std::string& section, const std::string& name, TColor& colour);
    void DoFormSkin(const std::string& className, bool& doSkin);
    void SkinChanged();
    void ApplySkin();
    void CaptureAppIcon();
    void Loaded() override;

    // ---- Inner state ----
    TMemoryStream SkinStream;
    std::uint8_t SkinEmpty = 1;
    std::uint8_t FramePainting = 1;
    TColor WindowTextColour = SystemColor(COLOR_WINDOWTEXT);
    TColor TitleTextActiveColour = SystemColor(COLOR_CAPTIONTEXT);
    TColor TitleTextNoActiveColour = SystemColor(COLOR_INACTIVECAPTIONTEXT);
    TColor ButtonFaceColour = SystemColor(COLOR_BTNFACE);
    TColor ButtonTextColour = SystemColor(COLOR_BTNTEXT);
    TColor ButtonHilightColour = SystemColor(COLOR_BTNHIGHLIGHT);
    TColor ButtonlightColour = SystemColor(COLOR_BTNHIGHLIGHT);
    TColor ButtonShadowColour = SystemColor(COLOR_BTNSHADOW);
    TColor ButtonDkShadowColour = SystemColor(COLOR_3DDKSHADOW);
    TColor HilightTextColour = SystemColor(COLOR_HIGHLIGHTTEXT);
    TColor HilightColour = SystemColor(COLOR_HIGHLIGHT);
    TColor MenubarColour = SystemColor(COLOR_BTNFACE);
    TColor MenuBarTextColour = SystemColor(COLOR_MENUTEXT);
    TColor MenuTextColour = SystemColor(COLOR_MENUTEXT);
    TColor MenuColour = SystemColor(COLOR_MENU);
    TColor ScrollbarColour = SystemColor(COLOR_SCROLLBAR);
    std::vector<TColor> ColourTable;
    std::array<TColor, 10> CustomColors{};
    HBRUSH FaceBrush = nullptr;
    TBitmap AppIcon;
    std::unique_ptr<TImageList> MenuGlyphs;
    std::string SkinName;
    int MaxWidth = 0, MaxHeight = 0;

    // ---- Element slots ----
    std::unique_ptr<TDataSkinBorder> BorderLeft, BorderRight, BorderTop, BorderBottom;
    std::unique_ptr<TDataSkinTitle> Title;
    std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
    std::unique_ptr<TDataSkinButton> Buttons;
    std::unique_ptr<TDataSkinBorder> Progress;
    std::unique_ptr<TDataSkinObject> MenuBarSkin;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinObject> ToolBars;
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;
    std::unique_ptr<TDataSkinObject> HorzScroll, VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb, VertScrollThumb;
    std::unique_ptr<TDataSkinObject> TrackThumbHorz, TrackThumbVert, TrackThumbLeft, TrackThumbRight, TrackThumbUp,
        TrackThumbDown;
    std::unique_ptr<TDataSkinBorder> UpDownHorz, UpDownVert;
    std::unique_ptr<TDataSkinObject> Track, TrackVert;
    std::unique_ptr<TDataSkinObject> ToolbarGradient;

private:
    void ParseSkin();
    void ReadBorders();
    void ReadColours();
    void ReadCaptionButtons();
    void ReadButtons();
    void ReadTitle();
    void ReadProgress();
    void ReadMenuBar();
    std::unique_ptr<TDataSkinObject> ReadGeneric(const std::string& section);
    std::unique_ptr<TDataSkinBoxLabel> ReadGroupBox();
    std::unique_ptr<TDataSkinBorder> ReadTwoImage(const std::string& section, const std::string& secondKey);
    std::unique_ptr<TDataSkinObject> ReadResource(const std::string& name);
    void FixFrameCounts();
    void BuildComboImages();
    void BuildToolbarGradient();
    bool ReadingOrDesigning() const;

    bool active_ = false;
    int disableTag_ = 99;
    TSkinControlTypes skinControls_;
    TSkinOptions options_;
    std::unique_ptr<TStringList> skin3rd_;
    std::string skinFile_;
    TSkinFormType skinFormtype_ = sfMainform;
    bool menuUpdate_ = true;
    bool menuMerge_ = false;

    // Only set while a parse runs.
    TSkinReader* reader_ = nullptr;
    TQuickIni* ini_ = nullptr;
    TMemoryStream scratch_;
    std::vector<std::string> sections_;
};

void RegisterSkinDataClasses(TClassRegistry& registry);
