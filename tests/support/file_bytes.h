#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace olmira::test_support {

// The whole content of file; empty when it cannot be read.
inline std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace olmira::test_support
