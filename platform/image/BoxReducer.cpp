#include "BoxReducer.h"

#include <algorithm>

namespace orv::image {

BoxReducer::BoxReducer(uint32_t outWidth, uint32_t factor, uint8_t* out)
    : m_out(out), m_sums(size_t{outWidth} * 4, 0), m_outWidth(outWidth), m_factor(factor) {}

void BoxReducer::AddRow(const uint8_t* row) {
    uint64_t* sum = m_sums.data();
    for (uint32_t x = 0; x < m_outWidth; ++x, sum += 4) {
        const uint8_t* p = row + size_t{x} * m_factor * 4;
        for (uint32_t i = 0; i < m_factor; ++i, p += 4) {
            sum[0] += p[0];
            sum[1] += p[1];
            sum[2] += p[2];
            sum[3] += p[3];
        }
    }
    if (++m_rows < m_factor) return;
    const uint64_t area = uint64_t{m_factor} * m_factor;
    for (size_t i = 0; i < m_sums.size(); ++i) m_out[i] = static_cast<uint8_t>(m_sums[i] / area);
    m_out += m_sums.size();
    std::fill(m_sums.begin(), m_sums.end(), 0);
    m_rows = 0;
}

}  // namespace orv::image
