// Writes the utility's icons into a folder (the repository keeps them in resources/icons):
//   icongen <folder>
// Run it again after changing a picture, and commit the files it writes.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/icongen/IcoFile.h"
#include "tools/icongen/IconArt.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icongen <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const auto& icon : hx::icons::UtilityIcons()) {
        const auto bytes = hx::icons::IcoFileBytes(icon);
        const std::string path = folder + "/" + icon.fileName;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%d %s\n", icon.resourceId, path.c_str());
    }
    return 0;
}
