#pragma once
// What the main window shows and names: list captions, track lengths, the format table and the
// file of one track. No window code here, so it is the same in every build.
#include <string>
#include <string_view>

#include "cdrom/AudioCDROM.h"

// Caption of the list item that makes the list `itemCount` long: "01" ... "09", "10", "11" ...
std::string TrackCaption(int itemCount);
// "m:ss": minutes as they are, seconds always two digits; frames are not shown.
std::string TrackTimeText(const TTrackInfo& info);

struct TRipFormat {
    const char* text;      // the format box's text, compared exactly
    const char* component; // the output that writes it
    const char* extension;
};
// The row whose text equals `text` (case-sensitive), or nullptr.
const TRipFormat* FindRipFormat(std::string_view text);
// The five rows in the order the format box lists them.
const TRipFormat (&RipFormats())[5];

// folder + "\" + "Track-NN" + extension. A drive root gives a doubled separator
// (C:\\Track-03.ogg), which the file system accepts.
std::string TrackFileName(const std::string& folder, const std::string& trackName, const char* extension);
