#pragma once
// Where a glyph and a caption go on a button face, and drawing one image of a glyph strip
// (shared by TSpeedButton and TBitBtn).
#include <string>

#include <windows.h>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TBitmap;
class TCanvas;

struct TGlyphPlacement {
    POINT glyph{};  // top-left of the glyph
    RECT text{};    // the caption's box
};

// margin -1: centred (spacing -1 then splits the free space in three); spacing -1 with a
// margin: the rest is halved between spacing and the far side. An empty glyph or caption
// drops the spacing.
TGlyphPlacement PlaceGlyph(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing);

// Copies `value` into the button's glyph (null empties it). A strip of one to four square
// images says how many it holds, as designers expect: numGlyphs takes that count.
void AssignGlyph(TBitmap& glyph, const TBitmap* value, int& numGlyphs);
// A glyph count kept within 1..4.
int ClampNumGlyphs(int value);

// The size of one image of a strip of numGlyphs images.
SIZE GlyphSize(const TBitmap& glyph, int numGlyphs);

// Draws the image for `state` (up 1, disabled 2, down 3, exclusive 4; the first one when the
// strip is shorter) with its bottom-left colour transparent. A disabled state without an
// image of its own is drawn greyed.
void DrawGlyph(TCanvas& canvas, const TBitmap& glyph, int numGlyphs, TButtonState state, POINT at);

// Caption and glyph together on a face (client), as buttons lay them out.
void DrawGlyphAndCaption(TCanvas& canvas, const RECT& client, const TBitmap& glyph, int numGlyphs,
                         const std::string& caption, TButtonLayout layout, int margin, int spacing,
                         TButtonState state, POINT offset);
