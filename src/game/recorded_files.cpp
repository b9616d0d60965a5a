#include "game/recorded_files.h"

#include "base/fnv1a.h"
#include "game/replace_file.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace game {

namespace {

constexpr char kHeader[] = "pimuru recorded files 1";
// Far more than the folder ever keeps; a longer list was not written here.
constexpr std::size_t kMostEntries = 10000;

// Only plain names inside the folder: a damaged list must not point anywhere
// else, nor at the list itself.
bool PlainName(const std::string& name) {
    return !name.empty() && name.size() <= 255 && name[0] != '.' &&
           name.find_first_of("/ \t\r\n") == std::string::npos;
}

struct FileId {
    std::uint64_t Inode = 0;
    std::uint64_t Size = 0;
};

// A plain file's identity; nothing for a link, a folder, a pipe or no file.
std::optional<FileId> IdOf(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileId{static_cast<std::uint64_t>(info.st_ino),
                  static_cast<std::uint64_t>(info.st_size)};
}

// The FNV-1a of a plain file's bytes, read without following a link.
std::optional<std::uint64_t> HashOf(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    std::optional<std::uint64_t> result;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        base::Fnv1a hash;
        std::array<std::uint8_t, 65536> chunk;
        ssize_t got = 0;
        while ((got = read(fd, chunk.data(), chunk.size())) > 0)
            hash.AddBytes(std::span(chunk).first(static_cast<std::size_t>(got)));
        if (got == 0)
            result = hash.Value();
    }
    close(fd);
    return result;
}

} // namespace

RecordedFiles::RecordedFiles(std::string folder) : folder_(std::move(folder)) {
    // Read only as a plain file of a sensible size: never a pipe to wait on.
    const std::optional<FileId> id = IdOf(PathOf(kRecordedListName));
    if (!id || id->Size > kMostEntries * 300)
        return;
    std::ifstream list(PathOf(kRecordedListName));
    std::string line;
    if (!std::getline(list, line) || line != kHeader)
        return;
    while (stamps_.size() < kMostEntries && std::getline(list, line)) {
        std::istringstream fields(line);
        Stamp stamp;
        std::string name, more;
        if (fields >> stamp.Inode >> stamp.Size >> std::hex >> stamp.Hash >> name &&
            !(fields >> more) && PlainName(name))
            stamps_[name] = stamp;
    }
}

std::string RecordedFiles::PathOf(const std::string& name) const {
    return (std::filesystem::path(folder_) / name).string();
}

void RecordedFiles::Add(const std::string& name) {
    const std::string path = PathOf(name);
    const std::optional<FileId> id = IdOf(path);
    const std::optional<std::uint64_t> hash = HashOf(path);
    if (PlainName(name) && id && hash)
        stamps_[name] = {id->Inode, id->Size, *hash};
}

bool RecordedFiles::Lists(const std::string& name) const {
    const auto stamp = stamps_.find(name);
    if (stamp == stamps_.end())
        return false;
    const std::optional<FileId> id = IdOf(PathOf(name));
    return id && id->Inode == stamp->second.Inode && id->Size == stamp->second.Size;
}

void RecordedFiles::Remove(const std::string& name) {
    const std::string path = PathOf(name);
    if (Lists(name) && HashOf(path) == stamps_.at(name).Hash)
        std::remove(path.c_str());
}

QString RecordedFiles::Save() const {
    std::ostringstream list;
    list << kHeader << '\n';
    for (const auto& [name, stamp] : stamps_) {
        if (Lists(name))
            list << stamp.Inode << ' ' << stamp.Size << ' ' << std::hex << stamp.Hash << std::dec
                 << ' ' << name << '\n';
    }
    return ReplaceFile(QString::fromStdString(PathOf(kRecordedListName)), list.str());
}

} // namespace game
