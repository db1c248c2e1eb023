// Byte-for-byte comparison of produced text with a reference file under tests/golden.
#pragma once

#include <string>
#include <string_view>

namespace kellvor::test {

// Full path of a reference file.
std::string goldenPath(std::string_view name);

// Reads a whole file as bytes; empty when it does not exist.
std::string readFileBytes(const std::string& path);

// Compares actual with the reference file. On mismatch writes <name>.actual beside it and fails.
// With KELLVOR_REGENERATE_GOLDEN=1 in the environment the reference is rewritten instead.
void expectMatchesGolden(std::string_view name, const std::string& actual);

}  // namespace kellvor::test
