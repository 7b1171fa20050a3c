// kestrip-banner OUT.jpg [FONTDIR]: writes the main window's banner picture.
#include <exception>
#include <iostream>

#include "Banner.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: kestrip-banner OUT.jpg [FONTDIR]\n";
        return 2;
    }
    try {
        const std::string fonts = argc == 3 ? argv[2] : "/usr/share/fonts/truetype/dejavu";
        banner::WriteJpeg(banner::MakeBanner(fonts), argv[1], 92);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "banner: " << e.what() << '\n';
        return 1;
    }
}
