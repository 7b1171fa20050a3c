#pragma once
// A CD input over disc images registered in the program folder's cdr.ini.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DiscImageKit.h"
#include "cdrom/AudioCDROM.h"
#include "classlib/Program.h"
#include "common/PipelineTestKit.h"

class CDInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = testkit::TestFolder(std::string("CDIn") +
                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    static std::string IniPath() { return ProgramFolder() + "cdr.ini"; }

    // Lists the images in cdr.ini (after `before`, text kept at the head of the file) and creates
    // a CD input on the first of them, with the main window's stored range 1 .. 1.
    std::unique_ptr<TCDIn> Open(const std::vector<std::string>& cuePaths, const std::string& before = {})
    {
        std::string ini = before + "[Images]\r\n";
        for (std::size_t i = 0; i < cuePaths.size(); ++i)
            ini += "Image" + std::to_string(i + 1) + "=" + cuePaths[i] + "\r\n";
        disckit::WriteText(IniPath(), ini);
        auto cd = std::make_unique<TCDIn>();
        base_ = cd->DriveCount() - static_cast<int>(cuePaths.size());
        cd->SetCurrentDrive(base_);
        cd->SetStartTrack(1);
        cd->SetEndTrack(1);
        return cd;
    }

    std::unique_ptr<TCDIn> OpenImage(const disckit::Image& image) { return Open(std::vector<std::string>{image.CuePath}); }

    // The message of the EAudioException the call raises.
    template <typename F> static std::string ErrorOf(F call)
    {
        try {
            call();
        } catch (const EAudioException& e) {
            return e.Message();
        }
        return "(no error)";
    }

    // Reads to the end in pieces of `piece` bytes.
    static std::vector<std::uint8_t> ReadAll(TCDIn& cd, std::int32_t piece)
    {
        std::vector<std::uint8_t> all, buffer(static_cast<std::size_t>(piece));
        for (;;) {
            std::int32_t n = cd.ReadData(buffer.data(), piece);
            if (n == 0)
                break;
            all.insert(all.end(), buffer.begin(), buffer.begin() + n);
        }
        return all;
    }

    std::string folder_;
    int base_ = 0;  // index of the first image drive
};
