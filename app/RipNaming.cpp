#include "app/RipNaming.h"

namespace {
const TRipFormat kFormats[5] = {
    {"MP3", "MP3Out1", ".mp3"},
    {"Ogg", "VorbisOut1", ".ogg"},
    {"Wav", "WaveOut1", ".wav"},
    {"Ape", "MACOut1", ".ape"},
    {"FLAC", "FLACOut1", ".flac"},
};
} // namespace

std::string TrackCaption(int itemCount)
{
    std::string text = std::to_string(itemCount);
    return text.size() == 1 ? "0" + text : text;
}

std::string TrackTimeText(const TTrackInfo& info)
{
    const int seconds = info.Seconds;
    return std::to_string(info.Minutes) + (seconds <= 9 ? ":0" : ":") + std::to_string(seconds);
}

const TRipFormat (&RipFormats())[5] { return kFormats; }

const TRipFormat* FindRipFormat(std::string_view text)
{
    for (const TRipFormat& f : kFormats)
        if (text == f.text)
            return &f;
    return nullptr;
}

std::string TrackFileName(const std::string& folder, const std::string& trackName, const char* extension)
{
    return folder + "\\" + trackName + extension;
}
