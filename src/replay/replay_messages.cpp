#include "replay/replay_messages.h"

#include "base/system_error_text.h"
#include "rules/frame_length.h"

namespace replay::messages {

std::string Truncated() {
    return "リプレイファイルが途中で切れています。";
}

std::string NotAReplay() {
    return "ぴむるのゲームのリプレイファイルではありません。";
}

std::string FutureFormat(int version) {
    return "新しい版のぴむるのゲームで作られたリプレイ（形式 " + std::to_string(version) +
           "）なので、この版では再生できません。";
}

std::string BadFileChecksum() {
    return "リプレイファイルが壊れています（検査値が合いません）。";
}

std::string BadContent(std::string_view what) {
    return "リプレイファイルの中身が正しくありません（" + std::string(what) + "）。";
}

std::string TooLarge() {
    return "リプレイファイルが大きすぎます。";
}

std::string CannotOpen(int error) {
    return "リプレイファイルを開けません（" + base::SystemErrorText(error) + "）。";
}

std::string WorldDiffers(std::int64_t frame) {
    return "フレーム " + std::to_string(frame) + " で世界が記録と違います。";
}

std::string CheckedClean(std::int32_t finalScore, std::int32_t bestRally, std::int64_t frames) {
    const std::int64_t seconds = frames * game::kFrameMs / 1000;
    return "記録どおり　得点 " + std::to_string(finalScore) + "　最高 " +
           std::to_string(bestRally) + "　" + std::to_string(frames) + " フレーム（" +
           std::to_string(seconds / 60) + " 分 " + std::to_string(seconds % 60) + " 秒）";
}

} // namespace replay::messages
