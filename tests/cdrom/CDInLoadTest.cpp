// Loading the drive layer: cdr.ini is prepared before the library starts; a library that is
// not beside the program, or lacks an entry point the input uses, is not loaded at all.
#include "CDInTestKit.h"

#include <filesystem>

#include "RunProgram.h"
#include "cdrom/CDRip.h"
#include "classlib/ProfileFile.h"

using namespace disckit;

namespace {

std::filesystem::path FsPath(const std::string& utf8) { return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())); }

void CopyFile(const std::string& from, const std::string& to)
{
    std::filesystem::copy_file(FsPath(from), FsPath(to), std::filesystem::copy_options::overwrite_existing);
}

#ifdef _WIN32
const char* kProbe = "cdrom_probe.exe";
#else
const char* kProbe = "cdrom_probe";
#endif

} // namespace

TEST_F(CDInTest, SettingsFileIsWrittenBeforeTheLibraryStarts)
{
    Image a = WriteImage(folder_, "a", Consecutive({75}));
    Image b = WriteImage(folder_, "b", Consecutive({75}));
    Open({a.CuePath, b.CuePath});
    // The file names the second image as the active drive and has keys of its own.
    auto cd = Open({a.CuePath, b.CuePath}, "[CD-ROM]\r\nnActive=" + std::to_string(base_ + 1) +
                                               "\r\nnTransportLayer=7\r\nKeep=me\r\n");
    const std::string ini = IniPath();
    EXPECT_EQ(ProfileReadString(ini, "CD-ROM", "nActive"), "0");
#ifdef _WIN32
    EXPECT_EQ(ProfileReadString(ini, "CD-ROM", "nTransportLayer"), "1");
#else
    // Our drive layer has no transport setting natively, so the key is left alone.
    EXPECT_EQ(ProfileReadString(ini, "CD-ROM", "nTransportLayer"), "7");
#endif
    EXPECT_EQ(ProfileReadString(ini, "CD-ROM", "Keep"), "me");
    EXPECT_EQ(ProfileReadString(ini, "Images", "Image2"), b.CuePath);
    // The library read the file after nActive was written.
    EXPECT_EQ(CDRip().CR_GetActiveCDROM(), 0);
}

TEST_F(CDInTest, LibraryOnlyInTheWorkingFolderIsNotLoaded)
{
    // The probe runs from a folder without the library, with the build folder (which has it)
    // as its working folder.
    CopyFile(ProgramFolder() + kProbe, folder_ + kProbe);
    const std::string before = "[CD-ROM]\r\nnActive=5\r\nnTransportLayer=0\r\n";
    WriteText(folder_ + "cdr.ini", before);
    ASSERT_EQ(RunProgram(folder_ + kProbe, ProgramFolder()), 0);
    EXPECT_EQ(ReadText(folder_ + "probe-result.txt"), "cdrip.dll could not be loaded.");
    EXPECT_EQ(ReadText(folder_ + "cdr.ini"), before);

    std::string bare = testkit::TestFolder("CDInNoIni");
    CopyFile(ProgramFolder() + kProbe, bare + kProbe);
    ASSERT_EQ(RunProgram(bare + kProbe, ProgramFolder()), 0);
    EXPECT_EQ(ReadText(bare + "probe-result.txt"), "cdrip.dll could not be loaded.");
    EXPECT_FALSE(FileExists(bare + "cdr.ini"));
}

TEST_F(CDInTest, LibraryBesideTheProgramIsLoaded)
{
    CopyFile(ProgramFolder() + kProbe, folder_ + kProbe);
    CopyFile(ProgramFolder() + CDRipLibraryName(), folder_ + CDRipLibraryName());
    ASSERT_EQ(RunProgram(folder_ + kProbe, folder_), 0);
    EXPECT_EQ(ReadText(folder_ + "probe-result.txt").rfind("loaded ", 0), 0u);
    EXPECT_EQ(ProfileReadString(folder_ + "cdr.ini", "CD-ROM", "nActive"), "0");
}

TEST_F(CDInTest, LibraryLackingAnEntryPointCountsAsMissing)
{
    CopyFile(ProgramFolder() + kProbe, folder_ + kProbe);
    CopyFile(ProgramFolder() + "incomplete" + PathSeparator() + CDRipLibraryName(), folder_ + CDRipLibraryName());
    ASSERT_EQ(RunProgram(folder_ + kProbe, folder_), 0);
    EXPECT_EQ(ReadText(folder_ + "probe-result.txt"), "cdrip.dll could not be loaded.");
    EXPECT_FALSE(FileExists(folder_ + "cdr.ini"));
}
