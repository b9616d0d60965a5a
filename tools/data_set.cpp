#include "data_set.h"

#include "bmp_writer.h"
#include "art.h"
#include "help_text.h"
#include "sheets.h"
#include "sound_effects.h"
#include "theme_tune.h"
#include "wave_writer.h"

#include <fstream>
#include <stdexcept>

namespace datamaker {

std::vector<DataFile> MakeDataFiles() {
    std::vector<DataFile> files;
    files.push_back({"haikei.bmp", EncodeBmp24(DrawBackground())});
    files.push_back({"char.bmp", EncodeBmp24(MakeCharacterSheet())});
    files.push_back({"kai_g.bmp", EncodeBmp24(MakePimuruSheet(1))});
    files.push_back({"kai_p.bmp", EncodeBmp24(MakePimuruSheet(2))});
    for (int n = 1; n <= 7; ++n)
        files.push_back({"se" + std::to_string(n) + ".wav", EncodeWave(MakeSoundEffect(n), kSampleRate)});
    files.push_back({"TIME.MID", MakeThemeTune()});
    files.push_back({"readme.txt", MakeHelpFile()});
    files.push_back({"start.bmp", EncodeBmp24(DrawStartPicture())});
    files.push_back({"help.bmp", EncodeBmp4(DrawHelpPicture())});
    files.push_back({"icon.bmp", EncodeBmp4(DrawIcon())});
    return files;
}

void WriteDataFiles(const std::vector<DataFile>& files, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (const DataFile& file : files) {
        const std::filesystem::path path = folder / file.name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        out.close();
        if (!out)
            throw std::runtime_error("cannot write " + path.string());
    }
}

} // namespace datamaker
