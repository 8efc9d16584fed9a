// Whether the process counts as elevated, with a seam for tests.
#pragma once

namespace glider::core {

// 1 or 0 forces the answer of TokenElevation; -1 goes back to the effective user id.
void SetElevatedForTesting(int elevated);

}  // namespace glider::core
