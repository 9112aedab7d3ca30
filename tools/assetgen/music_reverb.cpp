// Four damped combs and two all-passes per side, after the classic Schroeder design. The filters are run
// over the loop twice and only the second pass is kept: by then the state at the loop's start is the
// tail of the loop's own end, and a 1.5 s tail has long settled over a 21 s warm-up.
#include "tools/assetgen/music_reverb.h"

#include <array>
#include <cstddef>
#include <vector>

namespace {
class Comb {
public:
    explicit Comb(int length) : buffer_(static_cast<size_t>(length)) {}
    float process(float input) {
        const float output = buffer_[index_];
        store_ = output * (1.0f - kDamping) + store_ * kDamping;
        buffer_[index_] = input + store_ * kFeedback;
        index_ = (index_ + 1) % buffer_.size();
        return output;
    }

private:
    static constexpr float kFeedback = 0.84f;
    static constexpr float kDamping = 0.35f;
    std::vector<float> buffer_;
    size_t index_ = 0;
    float store_ = 0;
};

class AllPass {
public:
    explicit AllPass(int length) : buffer_(static_cast<size_t>(length)) {}
    float process(float input) {
        const float delayed = buffer_[index_];
        const float output = delayed - input;
        buffer_[index_] = input + delayed * 0.5f;
        index_ = (index_ + 1) % buffer_.size();
        return output;
    }

private:
    std::vector<float> buffer_;
    size_t index_ = 0;
};

struct ReverbSide {
    explicit ReverbSide(int spread)
        : combs{Comb(557 + spread), Comb(593 + spread), Comb(641 + spread), Comb(677 + spread)},
          allPasses{AllPass(278 + spread), AllPass(221 + spread)} {}
    float process(float input) {
        float sum = 0;
        for (Comb& comb : combs) {
            sum += comb.process(input);
        }
        for (AllPass& allPass : allPasses) {
            sum = allPass.process(sum);
        }
        return sum;
    }
    std::array<Comb, 4> combs;
    std::array<AllPass, 2> allPasses;
};
} // namespace

void addLoopedReverb(StereoLoop& loop, float send) {
    if (send <= 0) {
        return;
    }
    ReverbSide left(0), right(23);
    std::vector<float> wetLeft(kLoopFrames), wetRight(kLoopFrames);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < kLoopFrames; ++i) {
            const float input = (loop.left[i] + loop.right[i]) * 0.5f * send * 0.25f;
            wetLeft[i] = left.process(input);
            wetRight[i] = right.process(input);
        }
    }
    for (int i = 0; i < kLoopFrames; ++i) {
        loop.left[i] += wetLeft[i];
        loop.right[i] += wetRight[i];
    }
}
