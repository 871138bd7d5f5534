#pragma once
// A cam table holding the given change points, in order.
#include <cstdint>
#include <vector>

#include "editor/cam_table.h"

namespace gyrel::test {

inline CamTable camTableOf(const std::vector<std::uint32_t>& positions, const std::vector<std::uint32_t>& masks) {
    CamTable t;
    for (std::size_t i = 0; i < positions.size(); ++i) t.set(static_cast<int>(i), positions[i], masks[i]);
    t.CamCount = static_cast<double>(positions.size());
    return t;
}

}  // namespace gyrel::test
