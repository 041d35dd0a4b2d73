// Reduces BGRA pixels by a whole factor, one source row at a time: each
// factor x factor box becomes one pixel, the truncated mean of its pixels.
// Columns and rows beyond the last whole box are left out. Used after a full
// decode and, for PNG, while decoding, so that a preview of a huge image
// never holds more than one of its rows.
#pragma once

#include <cstdint>
#include <vector>

namespace orv::image {

class BoxReducer {
public:
    // The reduced rows go to out, one after another, outWidth pixels each.
    BoxReducer(uint32_t outWidth, uint32_t factor, uint8_t* out);

    // Adds a source row of at least outWidth * factor pixels; every factor-th
    // row completes a row of boxes and writes it out.
    void AddRow(const uint8_t* row);

private:
    uint8_t* m_out;
    std::vector<uint64_t> m_sums;  // four per output pixel; a box may hold billions
    uint32_t m_outWidth;
    uint32_t m_factor;
    uint32_t m_rows = 0;  // source rows added since the last completed box row
};

}  // namespace orv::image
