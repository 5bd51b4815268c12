// Pictures of the few looks a button shows, kept so a paint can copy one instead of drawing it.
// Platform-free: the picture is any movable type.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace vellicot {

// At most kKept pictures and as many looks seen once are kept, the least recently painted going
// first. Where drawing a look into a picture costs more than drawing it once straight onto the
// canvas, PaintedBefore tells when a look has earned its picture: when it is painted a second time,
// so that a look painted once (a colour a pick passes through, the first paint of a window) costs
// no more than it would without pictures.
template <class Look, class Picture, std::size_t Kept = 3>
class LookCache {
public:
    static constexpr std::size_t kKept = Kept;

    // The picture of the look, made the more recent; none when it has none.
    Picture* Find(const Look& look) {
        auto found = std::find_if(pictures_.begin(), pictures_.end(),
                                  [&](const Entry& entry) { return entry.look == look; });
        if (found == pictures_.end())
            return nullptr;
        std::rotate(found, found + 1, pictures_.end());
        return &pictures_.back().picture;
    }

    // Notes that the look is being painted without a picture; true when it was painted so before,
    // so that it is worth drawing into one now.
    bool PaintedBefore(const Look& look) {
        auto found = std::find(seenOnce_.begin(), seenOnce_.end(), look);
        if (found != seenOnce_.end()) {
            // Moved to the end and dropped rather than erased: GCC 14 inlines an erase of one
            // element of a vector this small into a copy it wrongly finds out of bounds.
            std::rotate(found, found + 1, seenOnce_.end());
            seenOnce_.pop_back();
            return true;
        }
        if (seenOnce_.size() == kKept)
            seenOnce_.erase(seenOnce_.begin());
        seenOnce_.push_back(look);
        return false;
    }

    Picture& Keep(Look look, Picture picture) {
        if (pictures_.size() == kKept)
            pictures_.erase(pictures_.begin());
        pictures_.push_back(Entry{std::move(look), std::move(picture)});
        return pictures_.back().picture;
    }

    // Keeps the picture as the look's, in place of one it had.
    Picture& Replace(Look look, Picture picture) {
        auto found = std::find_if(pictures_.begin(), pictures_.end(),
                                  [&](const Entry& entry) { return entry.look == look; });
        if (found != pictures_.end())
            pictures_.erase(found);
        return Keep(std::move(look), std::move(picture));
    }

    std::size_t Pictures() const noexcept { return pictures_.size(); }
    void Clear() noexcept {
        pictures_.clear();
        seenOnce_.clear();
    }

private:
    struct Entry {
        Look look;
        Picture picture;
    };
    std::vector<Entry> pictures_;  // the most recently painted last
    std::vector<Look> seenOnce_;
};

}  // namespace vellicot
