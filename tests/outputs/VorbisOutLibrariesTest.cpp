// The four libraries TVorbisOut needs: loaded by name at program start, and the error text
// for the first one missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "VorbisOutTestKit.h"
#include "classlib/FileStream.h"
#include "classlib/Program.h"
#include "common/PipelineTestKit.h"
#include "outputs/AudioVorbis.h"

#ifdef _WIN32
#include "classlib/Unicode.h"
#else
#include <dlfcn.h>
#endif

namespace {

std::filesystem::path FsPath(const std::string& utf8)
{
#ifdef _WIN32
    return std::filesystem::path(Utf8ToWide(utf8));
#else
    return std::filesystem::path(utf8);
#endif
}

// Where the program's copy of a library lives, found through one of its entry points.
std::string LoadedLibraryPath([[maybe_unused]] const char* fileName, [[maybe_unused]] const void* entry)
{
#ifdef _WIN32
    return ProgramFolder() + fileName;
#else
    Dl_info info{};
    if (!entry || !dladdr(entry, &info) || !info.dli_fname)
        return {};
    return info.dli_fname;
#endif
}

struct FolderLibraries {
    TOggBinding ogg;
    TVorbisBinding vorbis;
    TVorbisFileBinding vorbisfile;
    TVorbisEncBinding vorbisenc;

    explicit FolderLibraries(const std::string& folder)
        : ogg(TDynamicLibrary::OpenFromFolder(folder, TOggBinding::FileName)),
          vorbis(TDynamicLibrary::OpenFromFolder(folder, TVorbisBinding::FileName)),
          vorbisfile(TDynamicLibrary::OpenFromFolder(folder, TVorbisFileBinding::FileName)),
          vorbisenc(TDynamicLibrary::OpenFromFolder(folder, TVorbisEncBinding::FileName))
    {
    }
    TVorbisLibraries Set() const { return {&ogg, &vorbis, &vorbisfile, &vorbisenc}; }
};

std::string ConstructionError(const TVorbisLibraries& libraries)
{
    try {
        TVorbisOut out(nullptr, libraries);
        return {};
    } catch (const EAudioException& e) {
        return e.Message();
    }
}

} // namespace

TEST(VorbisOutLibraries, ProgramLibrariesLoadAtStart)
{
    const TVorbisLibraries program;
    const bool all = program.ogg->Loaded() && program.vorbis->Loaded() && program.vorbisfile->Loaded() &&
                     program.vorbisenc->Loaded();
#ifdef _WIN32
    // Run from a folder that lacks one of the DLLs, construction names the first missing.
    const char* order[] = {"ogg.dll", "vorbis.dll", "vorbisfile.dll", "vorbisenc.dll"};
    for (const char* dll : order) {
        if (!FileExists(ProgramFolder() + dll)) {
            EXPECT_FALSE(all);
            const std::string error = ConstructionError(program);
            std::cout << "constructed without " << dll << ": " << error << "\n";
            EXPECT_EQ(error, std::string(dll) + " library could not be loaded.");
            return;
        }
    }
#endif
    ASSERT_TRUE(all);
    EXPECT_NE(program.ogg->ogg_stream_pageout, nullptr);
    EXPECT_NE(program.vorbis->vorbis_analysis_blockout, nullptr);
    EXPECT_NE(program.vorbisenc->vorbis_encode_init_vbr, nullptr);
    EXPECT_NE(program.vorbisfile->ov_open_callbacks, nullptr);
    EXPECT_EQ(ConstructionError(program), "");
}

TEST(VorbisOutLibraries, TheFirstMissingLibraryIsNamed)
{
    const TVorbisLibraries program;
    const std::string folder = testkit::TestFolder("VorbisOutLibraryFolder");
    auto copyIn = [&](const char* fileName, const void* entry) {
        const std::string from = LoadedLibraryPath(fileName, entry);
        ASSERT_FALSE(from.empty()) << fileName;
        std::filesystem::copy_file(FsPath(from), FsPath(folder + fileName));
    };
    auto removeFromFolder = [&](const char* fileName) { std::filesystem::remove(FsPath(folder + fileName)); };

    EXPECT_EQ(ConstructionError(FolderLibraries(folder).Set()), "ogg.dll library could not be loaded.");
    copyIn(TOggBinding::FileName, reinterpret_cast<const void*>(program.ogg->ogg_stream_init));
    EXPECT_EQ(ConstructionError(FolderLibraries(folder).Set()), "vorbis.dll library could not be loaded.");
    copyIn(TVorbisBinding::FileName, reinterpret_cast<const void*>(program.vorbis->vorbis_info_init));
    copyIn(TVorbisEncBinding::FileName, reinterpret_cast<const void*>(program.vorbisenc->vorbis_encode_init));
    EXPECT_EQ(ConstructionError(FolderLibraries(folder).Set()), "vorbisfile.dll library could not be loaded.");
    copyIn(TVorbisFileBinding::FileName, reinterpret_cast<const void*>(program.vorbisfile->ov_open_callbacks));
    removeFromFolder(TVorbisEncBinding::FileName);
    EXPECT_EQ(ConstructionError(FolderLibraries(folder).Set()), "vorbisenc.dll library could not be loaded.");
    copyIn(TVorbisEncBinding::FileName, reinterpret_cast<const void*>(program.vorbisenc->vorbis_encode_init));
    ASSERT_FALSE(HasFatalFailure());

    // With all four, the component encodes through the libraries it was given.
    const FolderLibraries libraries(folder);
    TVorbisOut out(nullptr, libraries.Set());
    testkit::TMemoryInput input(testkit::MakeTestSignal(44100));
    out.SetInput(&input);
    out.SetFileName(folder + "from the folder's libraries.ogg");
    const auto run = testkit::RunToEnd(out);
    EXPECT_TRUE(run.done) << run.error.value_or("");
    EXPECT_EQ(vorbistest::DecodeOggVorbis(folder + "from the folder's libraries.ogg").links.size(), 1u);
}
