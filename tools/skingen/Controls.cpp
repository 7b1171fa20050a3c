#include "Controls.h"

#include "Theme.h"

namespace skingen {

using namespace theme;

namespace {

Image OnFace(int w, int h, Rgb matte = Face)
{
    Image f(w, h);
    f.SetMatte([matte](int, int) { return matte; });
    return f;
}

// A rounded box with a one-pixel outline and a vertical gradient inside.
void Box(Image& f, double x0, double y0, double x1, double y1, double r, Rgb outline, Rgb top, Rgb bottom)
{
    f.Draw(RoundRect(x0, y0, x1, y1, r), outline);
    const int h0 = static_cast<int>(y0) + 1, h1 = static_cast<int>(y1) - 1;
    f.Draw(RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r - 1),
           [=](int, int y) { return Mix(top, bottom, h1 > h0 + 1 ? double(y - h0) / (h1 - h0 - 1) : 0); });
}

enum class Arrow { Left, Right, Up, Down };

// A chevron centred at (cx, cy), `size` across.
Shape Chevron(Arrow a, double cx, double cy, double size, double width)
{
    const double s = size / 2, t = size / 4;
    switch (a) {
    case Arrow::Left:
        return Polyline({{cx + t, cy - s}, {cx - t, cy}, {cx + t, cy + s}}, width);
    case Arrow::Right:
        return Polyline({{cx - t, cy - s}, {cx + t, cy}, {cx - t, cy + s}}, width);
    case Arrow::Up:
        return Polyline({{cx - s, cy + t}, {cx, cy - t}, {cx + s, cy + t}}, width);
    case Arrow::Down:
        break;
    }
    return Polyline({{cx - s, cy - t}, {cx, cy + t}, {cx + s, cy - t}}, width);
}

} // namespace

Image MakePushButtons()
{
    const int w = 48, h = 24;
    std::vector<Image> frames;
    for (int state = 1; state <= 5; ++state) {
        Image f = OnFace(w, h);
        switch (state) {
        case 1:
            Box(f, 0, 0, w, h, 4, Edge, Hex(0xFFFFFF), Hex(0xF1F3F6));
            break;
        case 2:
            Box(f, 0, 0, w, h, 4, DkShadow, Hex(0xDADFE5), Hex(0xE6E9ED));
            break;
        case 3:
            Box(f, 0, 0, w, h, 4, EdgeSoft, FaceLight, FaceLight);
            break;
        case 4:
            Box(f, 0, 0, w, h, 4, Accent, Hex(0xFFFFFF), Hex(0xFDF3EA));
            break;
        case 5: // the default button: an accent ring inside the outline
            Box(f, 0, 0, w, h, 4, AccentDark, Hex(0xFFFFFF), Hex(0xF1F3F6));
            f.Draw(Minus(RoundRect(1, 1, w - 1, h - 1, 3), RoundRect(2, 2, w - 2, h - 2, 2)), AccentLight);
            break;
        }
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeCheckBoxes()
{
    std::vector<Image> frames;
    for (int state = 1; state <= 4; ++state) {
        const bool checked = state == 2 || state == 4, disabled = state >= 3;
        Image f = OnFace(16, 16);
        if (checked) {
            const Rgb fill = disabled ? Hex(0xD9C7B6) : Accent;
            Box(f, 1, 1, 15, 15, 3, disabled ? Hex(0xC9B49F) : AccentDark, Lighter(fill, 0.12), fill);
            f.Draw(Polyline({{4.3, 8.2}, {6.9, 10.8}, {11.8, 5.3}}, 1.9), Hex(0xFFFFFF));
        } else {
            Box(f, 1, 1, 15, 15, 3, disabled ? EdgeSoft : Hex(0x98A1AD), disabled ? FaceLight : Hex(0xFFFFFF),
                disabled ? FaceLight : Hex(0xF6F7F9));
        }
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeRadioButtons()
{
    std::vector<Image> frames;
    for (int state = 1; state <= 4; ++state) {
        const bool on = state == 2 || state == 4, disabled = state >= 3;
        Image f = OnFace(16, 16);
        if (on) {
            const Rgb fill = disabled ? Hex(0xD9C7B6) : Accent;
            f.Draw(Circle(8, 8, 7), disabled ? Hex(0xC9B49F) : AccentDark);
            f.Draw(Circle(8, 8, 6), fill);
            f.Draw(Circle(8, 8, 2.6), Hex(0xFFFFFF));
        } else {
            f.Draw(Circle(8, 8, 7), disabled ? EdgeSoft : Hex(0x98A1AD));
            f.Draw(Circle(8, 8, 6), disabled ? FaceLight : Hex(0xFFFFFF));
        }
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeProgress()
{
    const int w = 40, h = 14;
    Image track = OnFace(w, h), fill = OnFace(w, h);
    Box(track, 0, 0, w, h, 5, Hex(0xC3C9D1), Hex(0xDCE0E5), Track);
    Box(fill, 0, 0, w, h, 5, AccentDark, AccentLight, Accent);
    fill.Draw(Clip(RoundRect(2, 2, w - 2, h - 2, 3), 0, 2, w, 5), Hex(0xFFFFFF), 0.25);
    return Image::Row({track, fill});
}

Image MakeProgressChunk()
{
    Image f(8, 10, Track);
    f.FillVertical({0, 0, 7, 10}, AccentLight, Accent);
    return f;
}

Image MakeGroupBoxEdge()
{
    std::vector<Image> frames;
    for (Rgb edge : {Edge, EdgeSoft}) {
        Image f = OnFace(20, 20);
        f.Draw(Minus(RoundRect(0, 0, 20, 20, 5), RoundRect(1, 1, 19, 19, 4)), edge);
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeGroupBoxLabel()
{
    Image f = OnFace(24, 18);
    f.Draw(RoundRect(0, 0, 24, 18, 4), Face);
    return f;
}

Image MakeTabs()
{
    const int w = 40, h = 24;
    std::vector<Image> frames;
    for (int state = 1; state <= 5; ++state) {
        Image f = OnFace(w, h);
        const Shape outer = RoundRect4(0, 0, w, h + 6, 5, 5, 0, 0);
        const Shape inner = RoundRect4(1, 1, w - 1, h + 6, 4, 4, 0, 0);
        const Rgb edge = state == 3 ? EdgeSoft : Edge;
        f.Draw(outer, edge);
        const Rgb top = state == 2 ? Hex(0xFFFFFF) : state == 4 ? Hex(0xF8F1EA) : state == 5 ? Hex(0xDDE1E7) : Hex(0xF2F4F6);
        const Rgb bottom = state == 2 ? FaceLight : state == 3 ? Face : Hex(0xE3E7EC);
        f.Draw(inner, [=](int, int y) { return Mix(top, bottom, double(y) / (h - 1)); });
        if (state == 2 || state == 4)
            f.Draw(Clip(inner, 0, 0, w, 3), state == 2 ? Accent : AccentLight);
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeTabBorder()
{
    Image f(24, 24, FaceLight);
    f.Fill({0, 0, 24, 1}, Edge);
    f.Fill({0, 23, 24, 24}, Edge);
    f.Fill({0, 0, 1, 24}, Edge);
    f.Fill({23, 0, 24, 24}, Edge);
    return f;
}

Image MakeStatusPanel()
{
    std::vector<Image> frames;
    for (int k = 0; k < 3; ++k) {
        Image f(30, 20, Face);
        f.FillVertical({0, 1, 30, 20}, Hex(0xF1F3F5), Face);
        f.Fill({0, 0, 30, 1}, EdgeSoft);
        f.Fill({29, 4, 30, 16}, k == 2 ? Face : EdgeSoft);
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeToolButtons()
{
    std::vector<Image> frames;
    for (int state = 1; state <= 5; ++state) {
        Image f = OnFace(24, 24);
        if (state == 2)
            Box(f, 0, 0, 24, 24, 4, Shadow, Hex(0xD9DDE3), Hex(0xE3E6EA));
        else if (state == 4)
            Box(f, 0, 0, 24, 24, 4, AccentLight, Hex(0xFFFFFF), AccentPale);
        else if (state == 5)
            Box(f, 0, 0, 24, 24, 4, Accent, AccentPale, Hex(0xF8DDC2));
        frames.push_back(std::move(f)); // normal and disabled: flat, the tool bar shows through
    }
    return Image::Row(frames);
}

Image MakeComboButton()
{
    const int w = 18, h = 21;
    std::vector<Image> frames;
    for (int state = 1; state <= 4; ++state) {
        Image f = OnFace(w, h, Window);
        const Rgb top = state == 2 ? Hex(0xDADFE5) : state == 4 ? Hex(0xFFFFFF) : state == 3 ? FaceLight : Hex(0xF9FAFB);
        const Rgb bottom = state == 2 ? Hex(0xE6E9ED) : state == 4 ? AccentPale : state == 3 ? FaceLight : Hex(0xECEEF1);
        f.Draw(RoundRect4(0, 1, w - 1, h - 1, 0, 3, 3, 0), [=](int, int y) { return Mix(top, bottom, double(y) / (h - 1)); });
        f.Fill({0, 4, 1, h - 4}, state == 3 ? EdgeSoft : Edge);
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeComboArrow()
{
    std::vector<Image> frames;
    for (int state = 1; state <= 5; ++state) {
        Image f = OnFace(9, 6, Hex(0xF3F4F6));
        const Rgb c = state == 3 ? TextDisabled : state == 4 ? AccentDark : Hex(0x4A525D);
        f.Draw(Chevron(Arrow::Down, 4.5, 3, 7, 1.6), c);
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeSunkenEdge()
{
    const int w = 20, h = 21;
    std::vector<Image> frames;
    for (int state = 1; state <= 4; ++state) {
        Image f = OnFace(w, h);
        const Rgb edge = state == 3 ? EdgeSoft : state == 1 ? Edge : Accent;
        f.Draw(RoundRect(0, 0, w, h, 3), edge);
        f.Draw(RoundRect(1, 1, w - 1, h - 1, 2), state == 3 ? FaceLight : Window);
        if (state == 2 || state == 4)
            f.Draw(Minus(RoundRect(1, 1, w - 1, h - 1, 2), RoundRect(2, 2, w - 2, h - 2, 1)), AccentPale);
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeHeader()
{
    const int w = 40, h = 20;
    std::vector<Image> frames;
    for (int state = 1; state <= 5; ++state) {
        Image f(w, h, Face);
        const Rgb top = state == 2 ? Hex(0xFFFFFF) : state == 3 ? Hex(0xE1E5EA) : Hex(0xFAFBFC);
        const Rgb bottom = state == 2 ? AccentPale : state == 3 ? Hex(0xD8DDE3) : Hex(0xEBEEF1);
        f.FillVertical({0, 0, w, h - 1}, top, bottom);
        f.Fill({0, h - 1, w, h}, state == 2 || state == 5 ? AccentLight : EdgeSoft);
        f.Fill({w - 1, 4, w, h - 4}, EdgeSoft);
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeMenuItem()
{
    const int w = 100, h = 20;
    std::vector<Image> frames;
    for (int state = 1; state <= 5; ++state) {
        Image f(w, h, MenuBack);
        if (state >= 4) {
            f.Fill({0, 0, w, h}, kKey);
            f.SetMatte([](int, int) { return MenuBack; });
            const Rgb fill = state == 4 ? Accent : Hex(0xE9D3BF);
            f.Draw(RoundRect(1, 0, w - 1, h, 4), [=](int, int y) { return Mix(Lighter(fill, 0.1), fill, double(y) / (h - 1)); });
            f.Draw(Minus(RoundRect(1, 0, w - 1, h, 4), RoundRect(1, 1, w - 1, h, 4)), Hex(0xFFFFFF), 0.2);
        }
        if (state == 2)
            f.Fill({1, 0, w - 1, h}, Hex(0xF0F2F5));
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeMenuBackground()
{
    Image f(30, 30, MenuBack);
    f.Fill({0, 0, 30, 1}, MenuBorder);
    f.Fill({0, 29, 30, 30}, MenuBorder);
    f.Fill({0, 0, 1, 30}, MenuBorder);
    f.Fill({29, 0, 30, 30}, MenuBorder);
    f.Fill({1, 1, 29, 2}, Hex(0xFFFFFF));
    return f;
}

Image MakeScrollArrows()
{
    const int s = 17;
    std::vector<Image> frames;
    const Arrow arrows[] = {Arrow::Left, Arrow::Right, Arrow::Up, Arrow::Down};
    for (Arrow a : arrows)
        for (int state = 1; state <= 4; ++state) { // normal, pressed, disabled, hot
            Image f(s, s, Track);
            f.SetMatte([](int, int) { return Track; });
            if (state == 2 || state == 4)
                f.Draw(RoundRect(1, 1, s - 1, s - 1, 3), state == 2 ? Hex(0xC6CCD4) : Hex(0xD6DBE1));
            const Rgb c = state == 3 ? Hex(0xBFC5CD) : state == 1 ? Hex(0x6E7681) : Hex(0x3A414B);
            f.Draw(Chevron(a, 8.5, 8.5, 7, 1.7), c);
            frames.push_back(std::move(f));
        }
    // Thumb grips (normal, pressed, hot), horizontal then vertical: three short ridges.
    for (int vertical = 0; vertical < 2; ++vertical)
        for (int state = 1; state <= 3; ++state) {
            Image f(s, s);
            const Rgb c = state == 1 ? Hex(0x9AA2AD) : state == 2 ? Hex(0xF4F5F7) : Hex(0x6E7681);
            const Rgb thumb = state == 1 ? Hex(0xC3C9D1) : state == 2 ? Hex(0x8F98A4) : Hex(0xAEB5BF);
            f.SetMatte([thumb](int, int) { return thumb; });
            for (int k = -1; k <= 1; ++k) {
                const double at = 8.5 + 3 * k;
                f.Draw(vertical ? Capsule(6, at, 11, at, 1.2) : Capsule(at, 6, at, 11, 1.2), c);
            }
            frames.push_back(std::move(f));
        }
    // 23: a size grip of dots.
    Image grip(s, s, Face);
    grip.SetMatte([](int, int) { return Face; });
    for (int row = 0; row < 3; ++row)
        for (int col = 2 - row; col < 3; ++col)
            grip.Draw(Circle(6.5 + 4 * col, 6.5 + 4 * row, 1.1), Shadow);
    frames.push_back(std::move(grip));
    return Image::Row(frames);
}

Image MakeScrollTrack(bool vertical)
{
    const int w = vertical ? 17 : 20, h = vertical ? 20 : 17;
    std::vector<Image> frames;
    for (int state = 1; state <= 4; ++state) { // normal, pressed, disabled, hot
        Image f(w, h, state == 3 ? FaceLight : state == 2 ? Hex(0xDADEE3) : Track);
        const Rgb line = state == 3 ? EdgeSoft : Hex(0xD4D8DE);
        if (vertical)
            f.Fill({0, 0, 1, h}, line);
        else
            f.Fill({0, 0, w, 1}, line);
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

Image MakeScrollThumb(bool vertical)
{
    const int w = vertical ? 17 : 24, h = vertical ? 24 : 17;
    std::vector<Image> frames;
    for (Rgb c : {Hex(0xC3C9D1), Hex(0x8F98A4), Hex(0xAEB5BF)}) { // normal, pressed, hot
        Image f(w, h);
        f.SetMatte([](int, int) { return Track; });
        f.Draw(vertical ? RoundRect(4, 1, w - 3, h - 1, 4.5) : RoundRect(1, 4, w - 1, h - 3, 4.5), c);
        frames.push_back(std::move(f));
    }
    return Image::Row(frames);
}

} // namespace skingen
