#include "sound/wave.h"

#include "base/errors.h"
#include "base/stream.h"
#include "base/system_error_text.h"
#include "sound/ddsd.h"
#include "sound/ddsd_log.h"
#include "sound/riff_reader.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace ddsd {

using namespace dsound;

TDDSDGenWave::TDDSDGenWave(TDDSD* owner, const std::string& fileName, bool is3D) : owner_(owner) {
    if (owner_->Initialized())
        LoadWAV(fileName, is3D);
}

TDDSDGenWave::~TDDSDGenWave() {
    if (owner_->Initialized() && buffer_)
        CheckResult(static_cast<std::int32_t>(buffer_.Reset()), "二次バッファの解放に失敗しました");
}

void TDDSDGenWave::LoadWAV(const std::string& fileName, bool is3D) {
    std::unique_ptr<base::FileStream> file;
    try {
        file = std::make_unique<base::FileStream>(fileName, base::FileMode::OpenRead);
    } catch (const base::EFOpenError& error) {
        ReportMessage(base::OpenFailureMessage(fileName, error.ErrorNumber()));
        return;
    }
    RiffReader riff(*file);
    RiffChunk wave, format, data;
    if (!riff.FindRiff(FourCC('W', 'A', 'V', 'E'), wave)) {
        ReportMessage(fileName + "は、WAVEファイルではありません");
        return;
    }
    if (!riff.FindChunk(wave, FourCC('f', 'm', 't', ' '), format)) {
        ReportMessage(fileName + "には、fmtチャンクが有りません");
        return;
    }
    // A longer format record (an extensible one) keeps its first 18 bytes,
    // which say everything this system can play.
    const auto wanted =
        static_cast<std::int64_t>(std::min<std::uint32_t>(format.size, sizeof format_));
    std::uint8_t record[sizeof format_] = {};
    if (riff.BytesPresent(format) < format.size || riff.Read(record, wanted) != wanted) {
        ReportMessage(fileName + "のfmtチャンクが不正です");
        return;
    }
    std::memcpy(&format_, record, sizeof format_);
    riff.Ascend(format);
    if (!riff.FindChunk(wave, FourCC('d', 'a', 't', 'a'), data)) {
        ReportMessage(fileName + "には、dataチャンクが有りません");
        return;
    }

    // The stated length is not trusted: the buffer holds what the file holds,
    // and a cut-off file still gets the smallest buffer, silent.
    const auto present = static_cast<std::uint32_t>(riff.BytesPresent(data));
    size_ = std::max(present, std::min(data.size, DSBSIZE_MIN));
    DSBUFFERDESC desc{DSBUFFERDESC_SIZE,
                      DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME |
                          (is3D ? DSBCAPS_CTRL3D : DSBCAPS_CTRLPAN) |
                          (owner_->StickyFocus ? DSBCAPS_STICKYFOCUS : 0),
                      size_, 0, &format_};
    if (CheckResult(owner_->DirectSound()->CreateSoundBuffer(&desc, buffer_.Put(), nullptr),
                    "サウンドバッファの作成に失敗しました") != 0) {
        buffer_.Reset();
        return;
    }
    void* region1 = nullptr;
    void* region2 = nullptr;
    std::uint32_t bytes1 = 0;
    std::uint32_t bytes2 = 0;
    if (CheckResult(buffer_->Lock(0, size_, &region1, &bytes1, &region2, &bytes2, 0),
                    "LoadWAV中に、サウンドバッファのロックが失敗しました") != 0)
        return;
    riff.Read(region1, bytes1);
    if (bytes2 != 0)
        riff.Read(region2, bytes2);
    if (CheckResult(buffer_->Unlock(region1, bytes1, region2, bytes2),
                    "LoadWAV中に、サウンドバッファのアンロックが失敗しました") != 0)
        return;
    buffer_->SetFrequency(format_.nSamplesPerSec);
}

} // namespace ddsd
