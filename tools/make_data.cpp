// make_data: writes the game's data files into a folder, and optionally the
// contact sheet of all sprites as a PNG picture.
//   make_data <data folder> [<contact sheet .png>]

#include "data_set.h"
#include "sheets.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    // An option such as --help is not taken for a folder to fill.
    if (argc < 2 || argc > 3 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: make_data <data folder> [<contact sheet .png>]\n");
        return 2;
    }
    try {
        datamaker::WriteDataFiles(datamaker::MakeDataFiles(), argv[1]);
        if (argc == 3 && !datamaker::MakeContactSheet().save(argv[2], "PNG")) {
            std::fprintf(stderr, "make_data: cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_data: %s\n", e.what());
        return 1;
    }
    return 0;
}
