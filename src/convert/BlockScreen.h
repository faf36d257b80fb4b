#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

// Lower bounds of two-level scores, sixteen candidates at a time, from the levels of their block
// means (BlockMeans): the sums of absolute differences of the levels of a place and of each
// candidate, in whole numbers, so every implementation gives the same. Eight levels of a
// candidate lie side by side, so one SAD instruction compares eight blocks of several
// candidates with the place's. With ScreenSums::mayReachByBlocks it passes over most candidates
// before their values are read.
class BlockScreen {
public:
    static constexpr int lanes = 16;

    // count candidates of blocks block levels each; fill(k, out) writes candidate k's.
    BlockScreen(int count, int blocks, const std::function<void(int k, quint8* out)>& fill);

    int blocks() const { return m_blocks; }
    // The room a place's levels take: blocks, rounded up to eight, the rest zero.
    static int stride(int blocks) { return (blocks + 7) / 8 * 8; }

    // One implementation of the sums.
    struct Kernel {
        const char* name;
        void (*sums)(const quint8* table, const quint8* window, int chunks, quint32* out);
    };
    // Every implementation this processor runs, the portable loop first and the one sums()
    // uses last; for tests.
    static std::vector<Kernel> kernels();

    // The sums of |window[b] - level b of candidate k| over the blocks for the candidates
    // k = lanes × group .. lanes × group + lanes - 1 (those past the last candidate get a sum
    // too, to be ignored); window holds stride(blocks) levels.
    void sums(int group, const quint8* window, quint32 out[lanes]) const;
    void sums(const Kernel& kernel, int group, const quint8* window, quint32 out[lanes]) const;

private:
    int m_blocks;
    // Per group of candidates, per eight blocks, the lanes' eight levels each.
    std::vector<quint8> m_table;
};
