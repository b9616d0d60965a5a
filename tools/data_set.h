#pragma once
// Every file of the game's data folder, made in memory, and writing them out.

#include <filesystem>
#include <string>
#include <vector>

namespace datamaker {

struct DataFile {
    std::string name;
    std::string bytes;
};

std::vector<DataFile> MakeDataFiles();

// Writes every file into the folder (created when missing); throws
// std::runtime_error naming the file that could not be written.
void WriteDataFiles(const std::vector<DataFile>& files, const std::filesystem::path& folder);

} // namespace datamaker
