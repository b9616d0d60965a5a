// make_icons: writes the game's desktop icons, one PNG file per size, into a
// folder.
//   make_icons <icon folder>

#include "desktop_icons.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons <icon folder>\n");
        return 2;
    }
    try {
        datamaker::WriteDataFiles(datamaker::MakeDesktopIcons(), argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_icons: %s\n", e.what());
        return 1;
    }
    return 0;
}
