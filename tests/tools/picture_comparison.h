#pragma once
// Compares two BMP pictures the way the data check needs: the same size, the
// same key (black) pixels, and every channel within 1 on a few pixels at
// most. Painting libraries differ in their last rounding bit between
// versions and processors; a moved sprite, a new colour or a lost outline
// still shows.

#include <string>

namespace toolstest {

// "" when the pictures are alike, otherwise what differs first.
std::string PictureDifference(const std::string& expectedBmp, const std::string& actualBmp);

} // namespace toolstest
