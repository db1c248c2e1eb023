#include "support/golden.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kellvor::test {

std::string goldenPath(std::string_view name) {
    return std::string(KELLVOR_GOLDEN_DIR) + "/" + std::string(name);
}

std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void expectMatchesGolden(std::string_view name, const std::string& actual) {
    const std::string path = goldenPath(name);
    const char* regenerate = std::getenv("KELLVOR_REGENERATE_GOLDEN");
    if (regenerate != nullptr && std::string_view(regenerate) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    const std::string expected = readFileBytes(path);
    if (expected != actual) {
        std::ofstream(path + ".actual", std::ios::binary) << actual;
        ADD_FAILURE() << "output differs from " << path << " (written to " << path << ".actual)";
    }
}

}  // namespace kellvor::test
