#include "skin/data/SkinData.h"

#include <cstring>
#include <filesystem>

#include "classlib/FileStream.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/Unicode.h"
#include "classlib/controls/WinControl.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/Form.h"
#include "skin/SkinContainer.h"
#include "skin/SkinIni.h"
#include "skin/data/SkinColour.h"
#include "skin/data/SkinManagerApi.h"

TSkinControlTypes DefaultSkinControls()
{
    TSkinControlTypes all;
    for (int i = xcMainMenu; i <= xcSystemMenu; ++i)
        all.Include(static_cast<TSkinControlType>(i));
    return all.Exclude(xcMenuItem);
}

namespace {
// A bitmap resource of the program, or an empty bitmap when it has none of that name.
void LoadProgramBitmap(TBitmap& bitmap, const wchar_t* name)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (FindResourceW(instance, name, MAKEINTRESOURCEW(2)))
        bitmap.LoadFromResourceName(instance, name);
    else
        bitmap.SetSize(0, 0);
}
}

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner), skinControls_(DefaultSkinControls()), options_{xoPreview, xoToolbarBK},
      skin3rd_(std::make_unique<TStringList>())
{
    AppIcon.SetPixelFormat(pf24bit);
    skin3rd_->SetLines(DefaultSkin3rd());
    Buttons = std::make_unique<TDataSkinButton>("Buttons");
    BorderLeft = std::make_unique<TDataSkinBorder>("Left");
    BorderRight = std::make_unique<TDataSkinBorder>("Right");
    BorderTop = std::make_unique<TDataSkinBorder>("Top");
    BorderBottom = std::make_unique<TDataSkinBorder>("Bottom");
    Title = std::make_unique<TDataSkinTitle>("Title");
    CustomColors.fill(0xFFFFFF);
    MenuGlyphs = std::make_unique<TImageList>();
    TBitmap glyphs;
    LoadProgramBitmap(glyphs, L"TESSELMENU");
    if (!glyphs.Empty())
        MenuGlyphs->AddMasked(glyphs, 0xFFFFFF);
    MaxWidth = GetSystemMetrics(SM_CXMAXIMIZED);
    MaxHeight = GetSystemMetrics(SM_CYMAXIMIZED);
}

TSkinData::~TSkinData()
{
    MenuGlyphs.reset();
    skin3rd_.reset();
    if (TSkinManagerBase* manager = SkinManager())
        manager->RemoveSkinData(this);
    if (FaceBrush)
        DeleteObject(FaceBrush);
    FaceBrush = nullptr;
    // The records and bitmaps go with their owners.
}

bool TSkinData::ReadingOrDesigning() const
{
    return Designing() || Loading() || ComponentState().Contains(csReading);
}

// ---- Properties ---------------------------------------------------------------------------

void TSkinData::SetActive(bool value)
{
    if (value == active_)
        return;
    active_ = value;
    if (ReadingOrDesigning())
        return;
    TSkinManagerBase* manager = SkinManager();
    switch (skinFormtype_) {
    case sfMainform:
        if (!manager)
            return;
        if (value) {
            if (SkinEmpty == 1)
                return;
            manager->SetPendingSkin(this);
            manager->Command(TSkinCommand::scActivate, 250);
            manager->SetState(1);
        } else {
            manager->SetPendingSkin(this);
            manager->Command(TSkinCommand::scDeactivate, 250);
        }
        break;
    case sfOnlyThisForm:
        if (!manager)
            return;
        manager->SetPendingSkin(this);
        if (value && SkinEmpty == 1)
            return;
        manager->Command(value ? TSkinCommand::scActivate : TSkinCommand::scDeactivate, 250);
        break;
    case sfDialog:
    case sfDLL:
        break;
    }
}

void TSkinData::SetSkin3rd(TStrings* lines)
{
    if (lines)
        skin3rd_->SetLines(lines->Lines());
}

std::string TSkinData::SkinStore() const
{
    return Designing() && const_cast<TMemoryStream&>(SkinStream).Size() > 0 ? "(Good)" : "(none)";
}

void TSkinData::SetSkinFile(const std::string& path)
{
    SkinEmpty = 1;
    skinFile_ = path;
    if (Designing()) {
        if (!path.empty() && SkinStream.Size() > 0)
            SkinStream.Clear();
        return;
    }
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(std::filesystem::path(Utf8ToWide(path)), error))
        return;
    SkinStream.LoadFromFile(path);
    LoadSkin();
    if (skinFormtype_ == sfMainform)
        ApplySkin();
}

std::vector<std::uint8_t> TSkinData::StoredSkinStream() const
{
    const auto count = static_cast<std::uint32_t>(const_cast<TMemoryStream&>(SkinStream).Size());
    std::vector<std::uint8_t> data(4 + count);
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<std::uint8_t>(count >> (8 * i));
    if (count > 0)
        std::memcpy(data.data() + 4, SkinStream.Memory(), count);
    return data;
}

void TSkinData::ReadStoredSkinStream(const std::vector<std::uint8_t>& data)
{
    if (data.size() < 4)
        throw EReadError("Stream read error");
    std::uint32_t raw = 0;
    for (int i = 0; i < 4; ++i)
        raw |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    const auto count = static_cast<std::int32_t>(raw);
    if (count <= 0)
        return;
    if (data.size() - 4 < static_cast<std::size_t>(count))
        throw EReadError("Stream read error");
    SkinStream.Clear();
    SkinStream.Write(data.data() + 4, count);
    SkinStream.SetPosition(0);
    if (!Designing())
        LoadSkin();
}

// ---- Lifecycle ----------------------------------------------------------------------------

void TSkinData::Loaded()
{
    TComponent::Loaded();
    if (Designing())
        return;
    if (!ScrollBarInfoAvailable())
        skinControls_.Exclude(xcScrollbar);
    TSkinManagerBase* manager = EnsureSkinManager();
    if (manager)
        manager->AddSkinData(this);
    if (skinFormtype_ != sfMainform) {
        if (manager) {
            manager->SetEnabled(true);
            manager->SetState(manager->State() + 1);
            if (auto* form = dynamic_cast<TWinControl*>(Owner()); form && dynamic_cast<TCustomForm*>(Owner()))
                manager->SkinWindow(form->Handle());
        }
        return;
    }
    if (manager)
        manager->InstallHook();
    if (active_) {
        if (SkinEmpty == 1)
            active_ = false;
        else if (manager)
            manager->Command(TSkinCommand::scActivate, 250);
    }
    if (skinControls_.Contains(xcMainMenu))
        skinControls_.Exclude(xcMenuItem);
    else
        skinControls_.Exclude(xcSystemMenu);
    CaptureAppIcon();
}

void TSkinData::ApplySkin()
{
    if (ReadingOrDesigning())
        return;
    if (!SkinManager())
        Loaded();
    TSkinManagerBase* manager = SkinManager();
    if (!manager)
        return;
    manager->SetPendingSkin(this);
    manager->RefreshSkin(this);
    if (manager->State() == 1)
        manager->Command(TSkinCommand::scRefresh, 250);
}

void TSkinData::SkinChanged()
{
    if (OnSkinChanged)
        OnSkinChanged(this);
}

void TSkinData::DoFormSkin(const std::string& className, bool& doSkin)
{
    if (OnFormSkin) {
        OnFormSkin(this, className, doSkin);
        return;
    }
    if (className == "SysMonthCal32" || (skinControls_.Contains(xcFastReport) && className.rfind("Tfr", 0) == 0))
        doSkin = false;
}

void TSkinData::CaptureAppIcon()
{
    HWND window = nullptr;
    if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
        window = Application->MainForm()->Handle();
    if (!window)
        return;
    HICON icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    if (!icon)
        return;
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    TBitmap bitmap(cx, cy, pf24bit);
    HDC dc = bitmap.Canvas()->Handle();
    HBRUSH key = CreateSolidBrush(kSkinKeyColour);
    RECT all{0, 0, cx, cy};
    FillRect(dc, &all, key);
    DeleteObject(key);
    if (HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE))) {
        DrawIconEx(dc, 0, 0, copy, cx, cy, 0, nullptr, DI_NORMAL);
        DestroyIcon(copy);
    }
    AppIcon.Assign(bitmap);
    AppIcon.SetTransparentMode(tmFixed);
    AppIcon.SetTransparentColor(kSkinKeyColour);
}

// ---- Loading ------------------------------------------------------------------------------

bool TSkinData::LoadSkin()
{
    SkinEmpty = 1;
    if (Designing())
        return false;
    TSkinReader reader;
    if (ReaderMessage)
        reader.ShowMessage = ReaderMessage;
    if (!reader.Open(SkinStream))
        return false;
    TQuickIni ini;
    struct TParseScope {
        TSkinData& self;
        ~TParseScope()
        {
            self.reader_ = nullptr;
            self.ini_ = nullptr;
            self.scratch_.Clear();
            self.sections_.clear();
        }
    } scope{*this};
    std::string found;
    reader.ExtractEntryContaining(".ini", scratch_, found);
    scratch_.SetPosition(0);
    ini.LoadFromStream(&scratch_);
    reader_ = &reader;
    ini_ = &ini;
    ParseSkin();
    return true;
}

void TSkinData::LoadSkinBitmap(TBitmap& bitmap, const std::string& name)
{
    const std::size_t cut = name.find_last_of("\\:");
    const std::string file = cut == std::string::npos ? name : name.substr(cut + 1);
    const std::size_t dot = file.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : file.substr(dot);
    if (file.empty() || extension != ".bmp" || !reader_) {
        bitmap.SetSize(0, 0);
        return;
    }
    reader_->ExtractEntry(file, scratch_);
    if (scratch_.Size() < 1) {
        bitmap.SetSize(0, 0);
        return;
    }
    bitmap.LoadFromData(static_cast<const std::uint8_t*>(scratch_.Memory()), static_cast<std::size_t>(scratch_.Size()));
}

TColor TSkinData::ParseColour(const std::string& text, TColor fallback) { return ::ParseColour(text, fallback); }

void TSkinData::ReadColourTriple(const std::string& section, const std::string& name, TColor& colour)
{
    if (!ini_)
        return;
    const std::int32_t r = ini_->ReadInteger(section, name + "R", -1);
    const std::int32_t g = ini_->ReadInteger(section, name + "G", -1);
    const std::int32_t b = ini_->ReadInteger(section, name + "B", -1);
    if (r >= 0 && g >= 0 && b >= 0)
        colour = RGBColor(r % 256, g % 256, b % 256);
}
