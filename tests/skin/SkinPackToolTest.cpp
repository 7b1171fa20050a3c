#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "SkinTestKit.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinWriter.h"

using namespace skintest;
namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status;
    std::string output;
};

ToolRun Skinpack(const std::string& arguments)
{
    const fs::path log = fs::temp_directory_path() / ("skinpack-" + std::to_string(::getpid()) + ".log");
    const std::string command = std::string(KESTRIP_SKINPACK) + " " + arguments + " >" + log.string() + " 2>&1";
    const int raw = std::system(command.c_str());
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    fs::remove(log);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

class SkinpackTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("skinpack-test-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "in");
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(SkinpackTool, PackAndUnpackGiveTheSameFiles)
{
    const Bytes bitmap = RandomBytes(30000, 9, 6);
    skinpack::WriteFileBytes(dir / "in" / "Face.BMP", bitmap);
    skinpack::WriteFileBytes(dir / "in" / "skin.ini", ToBytes("[Buttons]\r\nBitmap=Face.BMP\r\n"));
    skinpack::WriteFileBytes(dir / "in" / "empty.bmp", {});

    const ToolRun pack = Skinpack("pack " + (dir / "in").string() + " " + (dir / "a.skn").string());
    ASSERT_EQ(pack.status, 0) << pack.output;
    EXPECT_NE(pack.output.find("3 entries"), std::string::npos) << pack.output;

    const ToolRun unpack = Skinpack("unpack " + (dir / "a.skn").string() + " " + (dir / "out").string());
    ASSERT_EQ(unpack.status, 0) << unpack.output;
    // Names come back in lower case, as the reader keeps them.
    EXPECT_EQ(skinpack::ReadFileBytes(dir / "out" / "face.bmp"), bitmap);
    EXPECT_EQ(skinpack::ReadFileBytes(dir / "out" / "skin.ini"), ToBytes("[Buttons]\r\nBitmap=Face.BMP\r\n"));
    EXPECT_TRUE(skinpack::ReadFileBytes(dir / "out" / "empty.bmp").empty());

    const ToolRun list = Skinpack("list " + (dir / "a.skn").string());
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.output.find("30000  face.bmp"), std::string::npos) << list.output;
}

TEST_F(SkinpackTool, RefusesBadFilesWithAClearMessage)
{
    struct Case {
        const char* name;
        Bytes image;
        const char* message;
    };
    const Case cases[] = {
        {"too short", {1, 2}, "shorter than its 4-byte size field"},
        {"old version", skinpack::PackImage(skinpack::BuildContainer({{"a.bmp", {1}}}, 19999)), "version 19999"},
        {"not compressed data", ToBytes("GIF89a, certainly not a skin"), "cannot hold"},
        {"an entry leaving the folder", skinpack::PackImage(skinpack::BuildContainer({{"../evil.bmp", {1}}})),
         "no plain file name"},
    };
    for (const auto& c : cases) {
        skinpack::WriteFileBytes(dir / "bad.skn", c.image);
        const ToolRun run = Skinpack("unpack " + (dir / "bad.skn").string() + " " + (dir / "out").string());
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.name << ": " << run.output;
        EXPECT_FALSE(fs::exists(dir / "out")) << c.name;
        EXPECT_FALSE(fs::exists(dir / "evil.bmp")) << c.name;
    }
    EXPECT_EQ(Skinpack("unpack").status, 2);
    EXPECT_EQ(Skinpack("pack " + (dir / "in").string() + " " + (dir / "x.skn").string()).status, 1); // empty folder
}

} // namespace
