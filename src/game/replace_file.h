#pragma once
// Writes a file whole or not at all: the bytes go to a new file beside it,
// which takes the old one's place only once every byte is known to be on the
// disk; the folder is then synced so that the new name is on the disk too.

#include <QString>

#include <string>

namespace game {

// Empty on success; otherwise the system's reason, and the file unchanged
// (unless only the folder's sync failed: the new file is in place, but
// may not outlive a power cut).
QString ReplaceFile(const QString& path, const std::string& bytes);

} // namespace game
