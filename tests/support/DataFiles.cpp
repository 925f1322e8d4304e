#include "support/DataFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace saroko::test {

std::string DataFilePath(const std::string& relative) {
    // The folder from the environment, else the one the build names; only this file carries the
    // build's path, so the other test sources stay the same for a compiler cache.
    const char* env = std::getenv("SAROKO_TEST_DATA");
    return std::string(env && *env ? env : SAROKO_TEST_DATA_DIR) + "/" + relative;
}

std::string ReadDataFile(const std::string& relative) {
    std::ifstream f(DataFilePath(relative), std::ios::binary);
    EXPECT_TRUE(f.good()) << "missing fixture " << relative;
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace saroko::test
