#pragma once

#include <functional>
#include <vector>

// Lower bounds of two-level scores, sixteen candidates at a time, from the means of their blocks
// (BlockMeans): half the values, each added in its own lane, so one pass over a place's block
// means serves sixteen candidates. With ScreenSums::mayReachByBlocks it passes over most
// candidates before their values are read.
class BlockScreen {
public:
    static constexpr int lanes = 16;

    // count candidates of blocks block means each; fill(k, out) writes candidate k's.
    BlockScreen(int count, int blocks, const std::function<void(int k, float* out)>& fill);

    int blocks() const { return m_blocks; }

    // One implementation of the sums: each lane's within ScreenSums::error(blocks) of the exact
    // sum in doubles.
    struct Kernel {
        const char* name;
        void (*sums)(const float* table, const float* window, int blocks, float* out);
    };
    // Every implementation this processor runs, the portable loop first and the one sums()
    // uses last; for tests.
    static std::vector<Kernel> kernels();

    // The sums of |window[b] - mean b of candidate k| over the blocks, in single precision,
    // for the candidates k = lanes × group .. lanes × group + lanes - 1 (those past the last
    // candidate get a sum too, to be ignored).
    void sums(int group, const float* window, float out[lanes]) const;
    void sums(const Kernel& kernel, int group, const float* window, float out[lanes]) const;

private:
    int m_blocks;
    std::vector<float> m_table; // per group of candidates, per block, the lanes' means
};
