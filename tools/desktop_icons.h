#pragma once
// The game's icons for the desktop's menus: the window icon's drawing at the
// sizes an icon theme asks for, in full colour with rounded corners.

#include "data_set.h"

#include <QImage>

#include <vector>

namespace datamaker {

inline constexpr int kDesktopIconSizes[] = {32, 64, 128, 256};

QImage DrawDesktopIcon(int size); // size x size, with alpha

// "<size>.png" for every size in kDesktopIconSizes.
std::vector<DataFile> MakeDesktopIcons();

} // namespace datamaker
