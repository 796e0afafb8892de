#include "tests/support/soundfixture.h"

namespace soundtest {

std::string WaveOfMs(int ms) {
    return platform::MakeWaveFile(1, 1000, 16, std::string(static_cast<std::size_t>(ms) * 2, '\0'));
}

} // namespace soundtest
