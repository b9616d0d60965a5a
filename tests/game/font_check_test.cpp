// The start-up font check on a machine whose fontconfig knows no Japanese
// font (the test's own set-up, made before the application starts).
#include "game/font_check.h"

#include "diagnostics/log_capture.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(FontCheck, WithoutAJapaneseFontTheDisplayLogSaysWhyTextsAreEmptyBoxes) {
    displaytest::LogCapture logs;
    game::ReportMissingJapaneseFont();
    ASSERT_EQ(logs.Lines().size(), 1u);
    EXPECT_NE(logs.Lines()[0].find("日本語のフォントが見つかりません"), std::string::npos);
}

} // namespace

int main(int argc, char** argv) {
    // Fonts only from an empty folder.
    testsupport::TempDir fonts;
    const std::string conf = fonts.File("fonts.conf");
    testsupport::WriteFileBytes(conf, "<?xml version=\"1.0\"?>\n<fontconfig><dir>" +
                                          fonts.Path().string() + "</dir><cachedir>" +
                                          fonts.File("cache") + "</cachedir></fontconfig>\n");
    setenv("FONTCONFIG_FILE", conf.c_str(), 1);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
