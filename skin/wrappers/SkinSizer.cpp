#include "skin/wrappers/SkinSizer.h"

void TSkinSizer::Draw(HDC dc, const RECT& rect)
{
    FillFace(dc, rect);
}
