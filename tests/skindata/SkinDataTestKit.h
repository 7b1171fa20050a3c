#pragma once
// Hand-made skins for the skin component's tests: bitmaps and ini text packed the way the
// program's skins are, and a skin manager that records what it is asked to do.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinManagerApi.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinWriter.h"

namespace skindatatest {

using Bytes = std::vector<std::uint8_t>;

inline std::string SourcePath(const std::string& relative)
{
    return std::string("Z:") + KESTRIP_SOURCE_DIR + "/" + relative;
}

// A 24-bit bitmap of one colour.
inline void FillBitmap(TBitmap& b, int w, int h, TColor colour)
{
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.Canvas()->SetPixel(x, y, colour);
}

inline Bytes BmpFile(int w, int h, TColor colour)
{
    TBitmap b;
    FillBitmap(b, w, h, colour);
    return b.SaveToData();
}

class TTestSkin {
public:
    TTestSkin& Bitmap(const std::string& entry, int w, int h, TColor colour = 0x336699)
    {
        entries_.push_back({entry, BmpFile(w, h, colour)});
        return *this;
    }
    TTestSkin& Entry(const std::string& entry, Bytes data)
    {
        entries_.push_back({entry, std::move(data)});
        return *this;
    }
    TTestSkin& Ini(const std::string& text)
    {
        ini_ = text;
        return *this;
    }
    Bytes Pack(std::uint32_t version = 20000) const
    {
        auto entries = entries_;
        entries.push_back({"skin.ini", Bytes(ini_.begin(), ini_.end())});
        return skinpack::PackImage(skinpack::BuildContainer(entries, version));
    }

private:
    std::vector<skinpack::SkinEntry> entries_;
    std::string ini_;
};

inline void PutImage(TSkinData& skin, const Bytes& image)
{
    skin.SkinStream.Clear();
    if (!image.empty())
        skin.SkinStream.Write(image.data(), static_cast<std::int64_t>(image.size()));
    skin.SkinStream.SetPosition(0);
}

// Parses `ini` with the given pictures into a fresh component.
inline std::unique_ptr<TSkinData> Parsed(const TTestSkin& skin)
{
    auto data = std::make_unique<TSkinData>();
    PutImage(*data, skin.Pack());
    if (!data->LoadSkin())
        throw std::runtime_error("test skin refused");
    return data;
}

// Records every call as a line of text.
class TRecordingManager : public TSkinManagerBase {
public:
    explicit TRecordingManager(std::vector<std::string>& log) : log_(log) {}
    ~TRecordingManager() override { log_.push_back("destroyed"); }
    void AddSkinData(TSkinData*) override { log_.push_back("add"); }
    void RemoveSkinData(TSkinData*) override { log_.push_back("remove"); }
    void SetPendingSkin(TSkinData*) override { log_.push_back("pending"); }
    void Command(TSkinCommand command, int delayMs) override
    {
        const char* names[] = {"activate", "deactivate", "refresh"};
        log_.push_back(std::string(names[static_cast<int>(command)]) + " " + std::to_string(delayMs));
    }
    int State() const override { return state_; }
    void SetState(int state) override
    {
        state_ = state;
        log_.push_back("state " + std::to_string(state));
    }
    void SetEnabled(bool enabled) override { log_.push_back(enabled ? "enabled" : "disabled"); }
    void InstallHook() override { log_.push_back("hook"); }
    void SkinWindow(HWND) override { log_.push_back("skinwindow"); }
    void RefreshSkin(TSkinData*) override { log_.push_back("refreshskin"); }

private:
    std::vector<std::string>& log_;
    int state_ = 0;
};

// Installs a recording manager factory for one test; removes manager and factory after.
class TManagerScope {
public:
    TManagerScope()
    {
        DestroySkinManager();
        SetSkinManagerFactory([this] { return std::make_unique<TRecordingManager>(log); });
    }
    ~TManagerScope()
    {
        DestroySkinManager();
        SetSkinManagerFactory(nullptr);
    }
    std::vector<std::string> log;
};

} // namespace skindatatest
