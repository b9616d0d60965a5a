#pragma once
// The start-up check of the fonts: without a Japanese font every text of the
// game shows as empty boxes, which the display log then explains.

namespace game {

// Writes a line to the display log when no installed font shows Japanese.
void ReportMissingJapaneseFont();

} // namespace game
