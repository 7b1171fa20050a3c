// kestrip-skingen: writes the default skin (33 bitmaps and the ini text) into a folder, or
// a contact sheet of it as a BMP picture.
#include <filesystem>
#include <iostream>
#include <string>

#include "DefaultSkin.h"
#include "Sheet.h"

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "write" && argc == 3) {
            const fs::path folder = argv[2];
            fs::create_directories(folder);
            for (const auto& entry : skingen::MakeDefaultSkin())
                skinpack::WriteFileBytes(folder / entry.name, entry.data);
            return 0;
        }
        if (command == "sheet" && argc == 3) {
            skinpack::WriteFileBytes(argv[2], skingen::EncodeBmp(skingen::MakeContactSheet(skingen::MakeBitmaps())));
            return 0;
        }
    } catch (const std::exception& e) {
        std::cerr << "skingen: " << e.what() << '\n';
        return 1;
    }
    std::cerr << "usage: kestrip-skingen write DIR     write the default skin's files into DIR\n"
                 "       kestrip-skingen sheet FILE.bmp  a contact sheet of the skin's bitmaps\n";
    return 2;
}
