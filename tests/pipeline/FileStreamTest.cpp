#include <gtest/gtest.h>

#include "classlib/DynamicLibrary.h"
#include "classlib/FileStream.h"
#include "classlib/Program.h"
#include "common/PipelineTestKit.h"

using namespace testkit;

TEST(FileStream, WritesReadsAndSeeksUnderNonAsciiNames)
{
    std::string folder = TestFolder("FileStream");
    std::string name = folder + "トラック 01.raw";
    {
        TFileStream out(name, fmCreate);
        out.WriteBuffer("abcdef", 6);
        EXPECT_EQ(out.Seek(2, TSeekOrigin::soBeginning), 2);
        out.WriteBuffer("XY", 2);
        EXPECT_EQ(out.Size(), 6);
    }
    EXPECT_TRUE(FileExists(name));
    EXPECT_FALSE(FileExists(folder + "missing"));
    TFileStream in(name, fmOpenRead);
    char buffer[8] = {};
    EXPECT_EQ(in.Read(buffer, 8), 6);
    EXPECT_EQ(std::string(buffer, 6), "abXYef");
    EXPECT_THROW(in.ReadBuffer(buffer, 1), EReadError);
}

TEST(FileStream, OpenAndCreateFailuresNameTheFile)
{
    std::string folder = TestFolder("FileStreamErrors");
    std::string missing = folder + "no such folder" + PathSeparator() + "x.wav";
    try {
        TFileStream s(missing, fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        std::string prefix = "Cannot create file \"" + missing + "\". ";
        EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix);
        EXPECT_GT(e.Message().size(), prefix.size()) << "the system's reason follows";
    }
    try {
        TFileStream s(folder + "absent.wav", fmOpenReadWrite | fmShareExclusive);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot open file \"" + folder + "absent.wav\". ", 0), 0u);
    }
}

TEST(FileStream, ExclusiveOpenShutsOutASecondOpener)
{
    std::string name = TestFolder("FileStreamShare") + "locked.wav";
    WriteFileBytes(name, {1, 2, 3});
    TFileStream first(name, fmOpenReadWrite | fmShareExclusive);
    EXPECT_THROW(TFileStream(name, fmOpenReadWrite | fmShareExclusive), EFOpenError);
}

TEST(DynamicLibrary, MissingLibraryGivesAnEmptyHandle)
{
    auto lib = TDynamicLibrary::Open("kestrip-no-such-library.dll");
    EXPECT_FALSE(lib);
    EXPECT_EQ(lib.Symbol("anything"), nullptr);
    auto fromFolder = TDynamicLibrary::OpenFromFolder(TestFolder("EmptyLibFolder"), "kestrip-no-such-library.dll");
    EXPECT_FALSE(fromFolder);
}

TEST(Program, FolderEndsWithSeparatorAndHoldsThisProgram)
{
    std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), PathSeparator()[0]);
}
