#pragma once
// Writes a file whole or not at all: the bytes go to a new file beside it,
// which takes the old one's place only once every byte is known to be on the
// disk. On any failure the old file stays as it was.

#include <QString>

#include <string>

namespace game {

// Empty on success; otherwise the system's reason, and the file unchanged.
QString ReplaceFile(const QString& path, const std::string& bytes);

} // namespace game
