#include "Formats.h"

#include <algorithm>
#include <cctype>

#include "RawOut.h"
#include "outputs/AudioVorbis.h"
#include "outputs/AudioWave.h"
#include "outputs/AudioLAME.h"
#include "outputs/AudioFLAC.h"
#include "outputs/AudioMAC.h"
// Each output adds its header here and one line to the table below.

namespace {

template <typename T> std::unique_ptr<TAudioFileOut> Make(TComponent* owner)
{
    return std::make_unique<T>(owner);
}

// The main window's FLACOut1.
std::unique_ptr<TAudioFileOut> MakeFLAC(TComponent* owner)
{
    auto flac = std::make_unique<TFLACOut>(owner);
    flac->SetFileMode(foRewrite);
    flac->SetVerify(false);
    flac->SetBlockSize(4608);
    flac->SetEnableMidSideStereo(true);
    flac->SetEnableLooseMidSideStereo(false);
    flac->SetBestModelSearch(false);
    flac->SetMaxLPCOrder(0);
    flac->SetQLPCoeffPrecision(0);
    flac->SetQLPCoeffPrecisionSearch(false);
    flac->SetMinResidualPartitionOrder(0);
    flac->SetMaxResidualPartitionOrder(0);
    return flac;
}

// The main window's MP3Out1.
std::unique_ptr<TAudioFileOut> MakeMP3(TComponent* owner)
{
    auto mp3 = std::make_unique<TMP3Out>(owner);
    mp3->SetFileMode(foRewrite);
    mp3->SetBitRate(TMP3BitRate::br128);
    return mp3;
}

// The main window's WaveOut1.
std::unique_ptr<TAudioFileOut> MakeWav(TComponent* owner)
{
    auto wav = std::make_unique<TWaveOut>(owner);
    wav->SetFileMode(foRewrite);
    wav->SetWavType(wtPCM);
    wav->SetBlockSize(512);
    return wav;
}

// The main window's VorbisOut1.
std::unique_ptr<TAudioFileOut> MakeOgg(TComponent* owner)
{
    auto ogg = std::make_unique<TVorbisOut>(owner);
    ogg->SetFileMode(foRewrite);
    ogg->SetCompression(0.6f);
    ogg->SetDesiredNominalBitrate(brAutoSelect);
    ogg->SetDesiredMaximumBitrate(brAutoSelect);
    ogg->SetMinimumBitrate(brAutoSelect);
    ogg->SetSerial(0);
    return ogg;
}

// The main window's MACOut1.
std::unique_ptr<TAudioFileOut> MakeApe(TComponent* owner)
{
    auto ape = std::make_unique<TMACOut>(owner);
    ape->SetCompressionLevel(2000);
    ape->SetMaxAudioBytes(-1);
    return ape;
}

} // namespace

const std::vector<TRipFormat>& RipFormats()
{
    static const std::vector<TRipFormat> formats = {
        {"raw", Make<TRawOut>},
        {"MP3", MakeMP3},
        {"Ogg", MakeOgg},
        {"Wav", MakeWav},
        {"FLAC", MakeFLAC},
        {"Ape", MakeApe},
    };
    return formats;
}

const TRipFormat* FindRipFormat(const std::string& name)
{
    auto same = [&](const TRipFormat& f) {
        return std::equal(f.Name.begin(), f.Name.end(), name.begin(), name.end(), [](unsigned char a, unsigned char b) {
            return std::tolower(a) == std::tolower(b);
        });
    };
    auto it = std::find_if(RipFormats().begin(), RipFormats().end(), same);
    return it == RipFormats().end() ? nullptr : &*it;
}
