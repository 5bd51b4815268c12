// A picture made smaller (or larger) by the average of the source area each target pixel covers,
// laid over white: the map is shown so, scaled once from its full-size picture. Platform-free.
#pragma once

#include <cstdint>
#include <vector>

namespace vellicot {

// Takes the source rows one at a time, top to bottom, so a caller may hand them over as they are
// decoded. Source pixels are 4 bytes, blue, green, red and straight alpha; each target pixel is the
// source's colours over white, averaged over the part of the source it covers and rounded, as a
// word 0xFFRRGGBB.
class AreaScaler {
public:
    AreaScaler(int width, int height, int targetWidth, int targetHeight);

    // The next source row, width pixels.
    void AddRow(const std::uint8_t* bgra);
    // The target pixels, rows from the top; complete once every source row is in.
    const std::vector<std::uint32_t>& Pixels() const noexcept { return pixels_; }

private:
    // How much of a source pixel's edge falls on a target pixel along one axis, in units of
    // 1 / (source x target) of the whole edge.
    struct Part {
        int target;
        std::uint32_t length;
    };
    // The parts of each source pixel along one axis: those of pixel i from first[i] to first[i + 1].
    struct Parts {
        std::vector<std::size_t> first;
        std::vector<Part> parts;
    };
    static Parts Split(int source, int target);
    void FinishRowsBefore(int target);

    int width_, height_, targetWidth_, targetHeight_;
    Parts columns_, rows_;
    int row_ = 0;
    std::vector<std::uint64_t> line_;  // a source row's colours summed per target column
    std::vector<std::uint64_t> open_;  // the sums of the target rows from openFrom_ on, row after row
    int openFrom_ = 0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace vellicot
