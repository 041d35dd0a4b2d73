// Shared pieces of the benchmarks: a synthetic panorama strip, in-memory
// encoders that use the libraries directly, a best-of-N timer, peak memory of
// a forked child, and the one-line report format.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace orv::bench {

// BGRA pixels of a w x h strip: smooth gradients with some noise, so that
// the encoders see something like a photograph.
std::vector<uint8_t> MakeStripPixels(int w, int h);

// Baseline unless progressive (libjpeg's standard scan script: every block's
// DC first).
std::vector<uint8_t> EncodeJpeg(const std::vector<uint8_t>& bgra, int w, int h, int quality,
                                bool progressive = false);
std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& bgra, int w, int h);

// The floors the benchmarks compare with: the libraries called directly.
// libjpeg-turbo decoding a JPEG straight into BGRA rows of the given stride,
// at full size or scaled by 1/scaleDenom (2, 4 or 8).
void FloorDecodeJpeg(const uint8_t* data, size_t size, uint8_t* out, size_t stride, unsigned scaleDenom = 1);
// The six faces of a BGRA strip (face side = height) uploaded with the same
// GL and GLU calls as the program's upload; the texture names go to ids.
void FloorUploadFaces(const uint8_t* strip, int stripWidth, int face, bool mipmaps, unsigned ids[6]);

// The fastest of runs of fn, in milliseconds.
double BestOfMs(int runs, const std::function<void()>& fn);

// The best times of floor and ours over rounds that alternate between them,
// so that neither gets the warmer machine (first uploads in a process pay
// for memory that later rounds reuse). {floor, ours} in milliseconds.
struct FloorAndOurs {
    double floor, ours;
};
FloorAndOurs AlternatingBestMs(int rounds, const std::function<void()>& floor, const std::function<void()>& ours);

// Runs fn in a forked child and returns the growth of its peak resident set
// over what it held when fn started, in bytes (-1 when it cannot be
// measured).
long long PeakGrowthBytes(const std::function<void()>& fn);

// "name: figure X ms, floor Y ms, ratio R (limit L) ok|OVER"
bool Report(const std::string& name, double figure, double floor, double limit, const char* unit = "ms");

}  // namespace orv::bench
