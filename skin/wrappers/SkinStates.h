#pragma once
// Image choice shared by the state-drawn wrappers (combo boxes, up-downs): images 1-4 of a
// strip are normal, pressed, disabled and hot-or-focused.

// Pressed wins over lit (hot or focused); a disabled control shows image 3 whatever else.
constexpr int StateImage(bool pressed, bool lit, bool enabled)
{
    if (!enabled)
        return 3;
    return pressed ? 2 : lit ? 4 : 1;
}

// A strip mirrored left to right as a whole holds its frames in reverse order: image k of the
// original is image frames + 1 - k of the mirror.
constexpr int MirroredImage(int k, int frames)
{
    return frames + 1 - k;
}
