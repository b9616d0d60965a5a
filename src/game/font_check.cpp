#include "game/font_check.h"

#include "diagnostics/dddd_log.h"
#include "platform/ui/fonts.h"

namespace game {

void ReportMissingJapaneseFont() {
    if (!ui::JapaneseFontInstalled())
        dddd::ReportMessage("日本語のフォントが見つかりません。文字は表示されません"
                            "(fonts-ipafont-gothic の IPAGothic, IPAPGothic を入れてください)");
}

} // namespace game
