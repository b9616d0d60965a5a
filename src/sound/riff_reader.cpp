#include "sound/riff_reader.h"

#include <algorithm>

namespace ddsd {
namespace {

constexpr std::uint32_t kRiff = FourCC('R', 'I', 'F', 'F');
constexpr std::uint32_t kList = FourCC('L', 'I', 'S', 'T');

std::uint32_t LittleEndian32(const std::uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

} // namespace

bool RiffReader::ReadHeader(RiffChunk& out) {
    std::uint8_t header[8];
    if (stream_.Read(header, 8) != 8)
        return false;
    out.id = LittleEndian32(header);
    out.size = LittleEndian32(header + 4);
    out.formType = 0;
    out.bodyOffset = stream_.Position();
    out.dataOffset = out.bodyOffset;
    if (out.id == kRiff || out.id == kList) {
        std::uint8_t form[4];
        if (stream_.Read(form, 4) != 4)
            return false;
        out.formType = LittleEndian32(form);
        out.dataOffset += 4;
    }
    return true;
}

bool RiffReader::FindRiff(std::uint32_t formType, RiffChunk& out) {
    const std::int64_t fileSize = stream_.Size();
    while (stream_.Position() + 8 <= fileSize) {
        RiffChunk chunk;
        if (!ReadHeader(chunk))
            return false;
        if (chunk.id == kRiff && chunk.formType == formType) {
            out = chunk;
            return true;
        }
        stream_.SetPosition(End(chunk));
    }
    return false;
}

bool RiffReader::FindChunk(const RiffChunk& parent, std::uint32_t id, RiffChunk& out) {
    const std::int64_t limit = std::min(End(parent), stream_.Size());
    while (stream_.Position() + 8 <= limit) {
        RiffChunk chunk;
        if (!ReadHeader(chunk))
            return false;
        if (chunk.id == id) {
            stream_.SetPosition(chunk.dataOffset);
            out = chunk;
            return true;
        }
        stream_.SetPosition(End(chunk));
    }
    return false;
}

void RiffReader::Ascend(const RiffChunk& chunk) {
    stream_.SetPosition(End(chunk));
}

std::int64_t RiffReader::BytesPresent(const RiffChunk& chunk) const {
    std::int64_t left = std::max<std::int64_t>(stream_.Size() - chunk.dataOffset, 0);
    return std::min<std::int64_t>(chunk.bodyOffset + chunk.size - chunk.dataOffset, left);
}

} // namespace ddsd
