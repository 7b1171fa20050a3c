#pragma once
// Glyph and caption on a skinned button face, laid out as the class library's bitmap buttons
// lay them out (shared by the bitmap and speed button wrappers).
#include <string>

#include <windows.h>

#include "classlib/extctrls/ButtonGlyph.h"

class TBitmap;
class TImageList;

struct TGlyphFace {
    TBitmap* glyph = nullptr;      // a strip of numGlyphs images
    int numGlyphs = 1;
    int glyphImage = 1;            // 1 up, 2 disabled (drawn grey), 3 down
    TImageList* images = nullptr;  // used when there is no glyph
    int imageIndex = -1;
    TButtonLayout layout = blGlyphLeft;
    int margin = -1;
    int spacing = 4;
    bool centred = false;          // the caption is centred whatever the margin
};

// Draws the glyph and the text (in the DC's font and colour, transparently) inside client;
// returns where the text went.
RECT DrawGlyphFace(HDC dc, const RECT& client, const TGlyphFace& face, const std::wstring& text);
// The layout's ordinal from its name ("blGlyphRight" ...), blGlyphLeft for anything else.
TButtonLayout LayoutFromName(const std::string& name);
