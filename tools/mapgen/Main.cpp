// Writes the two map pictures and the program icon into a folder (the repository's resources/):
//   vellicot_mapgen <folder>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "tools/mapgen/Icon.h"
#include "tools/mapgen/Orchard.h"
#include "tools/mapgen/PngCodec.h"

int main(int argc, char** argv) {
    using namespace vellicot::mapgen;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        const auto start = std::chrono::steady_clock::now();
        WriteFileBytes(folder / "PngImage_1.png", EncodePng(DrawOrchard(false)));
        WriteFileBytes(folder / "PngImage_2.png", EncodePng(DrawOrchard(true)));
        std::vector<Picture> icons;
        for (int size : kIconSizes)
            icons.push_back(DrawIcon(size));
        WriteFileBytes(folder / "Vellicot.ico", EncodeIco(icons));
        const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
        std::printf("wrote PngImage_1.png, PngImage_2.png and Vellicot.ico to %s in %.2f s\n",
                    folder.string().c_str(), elapsed.count());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
