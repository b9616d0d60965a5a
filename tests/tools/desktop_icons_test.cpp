// The desktop icons committed in desktop/icons/ against what the generator
// draws now. Pictures are compared by their pixels with a small tolerance:
// another build of the painter may round an edge pixel differently, and
// another PNG library may pack the same pixels into other bytes.
#include "desktop_icons.h"

#include "support/temp_dir.h"

#include <QImage>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

constexpr int kTolerance = 8; // per channel, out of 255

int LargestChannelDifference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
}

TEST(DesktopIcons, CommittedIconsShowWhatTheGeneratorDraws) {
    for (const datamaker::DataFile& file : datamaker::MakeDesktopIcons()) {
        const std::string bytes =
            testsupport::ReadFileBytes(std::string(PIMURU_DESKTOP_DIR) + "/icons/" + file.name);
        QImage committed;
        ASSERT_TRUE(committed.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                                           static_cast<int>(bytes.size()), "PNG"))
            << "desktop/icons/" << file.name << " is missing or no PNG";
        const int size = std::stoi(file.name);
        ASSERT_EQ(committed.size(), QSize(size, size)) << file.name;
        committed = committed.convertToFormat(QImage::Format_ARGB32);
        const QImage generated = datamaker::DrawDesktopIcon(size);
        int differing = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                differing += LargestChannelDifference(committed.pixel(x, y),
                                                      generated.pixel(x, y)) > kTolerance;
        EXPECT_EQ(differing, 0)
            << "desktop/icons/" << file.name << " differs from the generator's "
            << "drawing in " << differing << " pixels. If the drawing was changed "
            << "on purpose, build the regenerate_data target and commit desktop/.";
    }
}

TEST(DesktopIcons, CornersAreSeeThroughAndTheMiddleIsTheWindowIconsDrawing) {
    const QImage icon = datamaker::DrawDesktopIcon(128);
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(127, 127)), 0);
    // The sky at the top, as in icon.bmp.
    EXPECT_EQ(icon.pixel(64, 2), qRgb(120, 190, 246));
}

} // namespace
