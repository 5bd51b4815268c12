// The area average: separable and in exact integers. A target row is written as soon as no later
// source row reaches it, so only the few rows in between are held.
#include "core/AreaScale.h"

#include <algorithm>
#include <cassert>

namespace vellicot {

AreaScaler::AreaScaler(int width, int height, int targetWidth, int targetHeight)
    : width_(width),
      height_(height),
      targetWidth_(targetWidth),
      targetHeight_(targetHeight),
      columns_(Split(width, targetWidth)),
      rows_(Split(height, targetHeight)),
      line_(static_cast<std::size_t>(targetWidth) * 3),
      pixels_(static_cast<std::size_t>(targetWidth) * static_cast<std::size_t>(targetHeight)) {}

// Source pixel i spans [i * target, (i + 1) * target) and target pixel j spans [j * source,
// (j + 1) * source) on one scale.
AreaScaler::Parts AreaScaler::Split(int source, int target) {
    assert(source > 0 && target > 0 && "both sizes must be positive");
    Parts split;
    for (int i = 0; i < source; ++i) {
        split.first.push_back(split.parts.size());
        const long long start = static_cast<long long>(i) * target, end = start + target;
        for (long long j = start / source; j * source < end; ++j) {
            const long long length = std::min(end, (j + 1) * source) - std::max(start, j * source);
            split.parts.push_back({static_cast<int>(j), static_cast<std::uint32_t>(length)});
        }
    }
    split.first.push_back(split.parts.size());
    return split;
}

void AreaScaler::AddRow(const std::uint8_t* bgra) {
    if (row_ >= height_)
        return;
    std::fill(line_.begin(), line_.end(), 0);
    for (int x = 0; x < width_; ++x) {
        const std::uint8_t* pixel = bgra + static_cast<std::size_t>(x) * 4;
        const std::uint32_t alpha = pixel[3];
        // Over white, in units of 1 / 255.
        const std::uint64_t value[3] = {pixel[2] * alpha + 255 * (255 - alpha),
                                        pixel[1] * alpha + 255 * (255 - alpha),
                                        pixel[0] * alpha + 255 * (255 - alpha)};
        for (std::size_t p = columns_.first[static_cast<std::size_t>(x)];
             p < columns_.first[static_cast<std::size_t>(x) + 1]; ++p) {
            const Part& part = columns_.parts[p];
            std::uint64_t* sum = line_.data() + static_cast<std::size_t>(part.target) * 3;
            for (int c = 0; c < 3; ++c)
                sum[c] += value[c] * part.length;
        }
    }
    const std::size_t from = rows_.first[static_cast<std::size_t>(row_)];
    const std::size_t to = rows_.first[static_cast<std::size_t>(row_) + 1];
    const std::size_t rowLength = line_.size();
    for (std::size_t p = from; p < to; ++p) {
        const Part& part = rows_.parts[p];
        const std::size_t at = static_cast<std::size_t>(part.target - openFrom_) * rowLength;
        if (open_.size() < at + rowLength)
            open_.resize(at + rowLength, 0);
        for (std::size_t i = 0; i < rowLength; ++i)
            open_[at + i] += line_[i] * part.length;
    }
    ++row_;
    FinishRowsBefore(row_ == height_ ? targetHeight_ : rows_.parts[to].target);
}

void AreaScaler::FinishRowsBefore(int target) {
    const std::uint64_t whole =
        255ULL * static_cast<std::uint64_t>(width_) * static_cast<std::uint64_t>(height_);
    const std::size_t rowLength = line_.size();
    for (; openFrom_ < target && !open_.empty(); ++openFrom_) {
        const std::uint64_t* sums = open_.data();
        std::uint32_t* out =
            pixels_.data() + static_cast<std::size_t>(openFrom_) * static_cast<std::size_t>(targetWidth_);
        for (int x = 0; x < targetWidth_; ++x) {
            std::uint32_t word = 0xFF000000u;
            for (int c = 0; c < 3; ++c) {
                const std::uint64_t sum = sums[static_cast<std::size_t>(x) * 3 + static_cast<std::size_t>(c)];
                word |= static_cast<std::uint32_t>((sum + whole / 2) / whole) << (16 - 8 * c);
            }
            out[x] = word;
        }
        // The next open row moves to the front.
        std::copy(open_.begin() + static_cast<std::ptrdiff_t>(rowLength), open_.end(), open_.begin());
        open_.resize(open_.size() - rowLength);
    }
}

}  // namespace vellicot
