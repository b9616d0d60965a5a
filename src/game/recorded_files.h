#pragma once
// The files this program recorded in the replays folder, so that pruning
// removes those and nothing else: a file a player put there stays, whatever
// its name.
//
// A small list beside the replays (".recorded-here", written whole or not at
// all) names each file with its inode, size and the FNV-1a of its bytes; a
// file is removed only while all three still match. So a file copied in from
// a friend, even under a name of ours or under the name of a replay already
// gone, is not ours: it is another inode and other bytes. A whole folder
// copied to another machine or restored from a backup has new inodes, so
// there it is the player's and stays. An extended attribute would not do:
// `cp -a` and rsync carry it to the friend's copy, and many file systems
// keep none. A list that is lost, damaged or misses a file (two programs
// keeping replays at once) only means that some files stay longer.

#include <QString>

#include <cstdint>
#include <map>
#include <string>

namespace game {

inline constexpr char kRecordedListName[] = ".recorded-here";

class RecordedFiles {
public:
    // The folder's list as it is on the disk.
    explicit RecordedFiles(std::string folder);

    // Notes the file `name` in the folder, as it is now, as recorded here.
    void Add(const std::string& name);
    // Whether `name` is still the same file of the same size as noted (no
    // byte is read, so this is cheap enough for a whole folder).
    bool Lists(const std::string& name) const;
    // Removes the file when it is still, byte for byte, the one noted.
    void Remove(const std::string& name);
    // Writes the list back, without the files that are gone or were replaced.
    // Empty on success, otherwise the system's reason.
    QString Save() const;

private:
    struct Stamp {
        std::uint64_t Inode = 0;
        std::uint64_t Size = 0;
        std::uint64_t Hash = 0;
    };

    std::string PathOf(const std::string& name) const;

    std::string folder_;
    std::map<std::string, Stamp> stamps_;
};

} // namespace game
