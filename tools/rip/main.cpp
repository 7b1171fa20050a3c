// kestrip-rip CUE TRACK FORMAT OUTFILE: rips one audio track of a disc image through the
// drive layer, the CD input and the output for FORMAT, as the program would from a drive.
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

#include "Formats.h"
#include "cdrom/AudioCDROM.h"
#include "classlib/ProfileFile.h"
#include "classlib/Program.h"

namespace {

void Usage()
{
    std::fprintf(stderr, "usage: kestrip-rip CUE TRACK FORMAT OUTFILE  |  kestrip-rip --formats\n  FORMAT:");
    for (const TRipFormat& f : RipFormats())
        std::fprintf(stderr, " %s", f.Name.c_str());
    std::fprintf(stderr, "\n");
}

std::optional<int> TrackNumber(const std::string& text)
{
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(text);
}

// The drive layer lists the images of cdr.ini after the machine's drives; ours is the only one.
void RegisterImage(const std::string& cuePath)
{
    const std::string ini = ProgramFolder() + "cdr.ini";
    ProfileWriteString(ini, "Images", "Image1", cuePath);
    ProfileWriteString(ini, "Images", "Image2", "");
}

class RunWaiter {
public:
    void Done()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }
    void Failed(const std::string& message)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        error_ = message;
        finished_ = true;
        changed_.notify_all();
    }
    // The error message, if the run failed.
    std::optional<std::string> Wait()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return finished_; });
        return error_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool finished_ = false;
    std::optional<std::string> error_;
};

int Rip(const std::string& cue, int track, const TRipFormat& format, const std::string& outFile)
{
    std::error_code ec;
    std::filesystem::path cuePath = std::filesystem::absolute(std::filesystem::u8path(cue), ec);
    if (ec || !std::filesystem::is_regular_file(cuePath, ec)) {
        std::fprintf(stderr, "kestrip-rip: no such disc image: %s\n", cue.c_str());
        return 1;
    }
    const std::u8string cueText = cuePath.u8string();
    RegisterImage(std::string(cueText.begin(), cueText.end()));

    TCDIn cd;
    const int drive = cd.DriveCount() - 1;
    cd.SetCurrentDrive(drive);
    cd.SetStartTrack(track);
    cd.SetEndTrack(track);
    std::printf("%s, track %d of %d -> %s (%s)\n", cd.DriveName().c_str(), track, cd.TrackCount(), outFile.c_str(),
                format.Name.c_str());

    std::unique_ptr<TAudioFileOut> output = format.Create(nullptr);
    RunWaiter waiter;
    output->SetInput(&cd);
    output->SetFileName(outFile);
    output->OnProgress = [&](TComponent*) {
        std::printf("\r%3d %%", output->Progress());
        std::fflush(stdout);
    };
    output->OnDone = [&](TComponent*) { waiter.Done(); };
    output->OnThreadException = [&](TComponent*, const Exception& e) { waiter.Failed(e.Message()); };
    output->Start();
    std::optional<std::string> error = waiter.Wait();
    std::printf("\n");
    if (error) {
        std::fprintf(stderr, "kestrip-rip: %s\n", error->c_str());
        return 1;
    }
    std::printf("done: %d bytes of audio\n", cd.Position());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--formats") {
        for (const TRipFormat& f : RipFormats())
            std::printf("%s%s", &f == &RipFormats().front() ? "" : " ", f.Name.c_str());
        std::printf("\n");
        return 0;
    }
    if (argc != 5) {
        Usage();
        return 2;
    }
    std::optional<int> track = TrackNumber(argv[2]);
    const TRipFormat* format = FindRipFormat(argv[3]);
    if (!track || !format) {
        Usage();
        return 2;
    }
    try {
        return Rip(argv[1], *track, *format, argv[4]);
    } catch (const Exception& e) {
        std::fprintf(stderr, "kestrip-rip: %s\n", e.Message().c_str());
        return 1;
    }
}
