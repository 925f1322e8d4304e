// Fixture files kept under tests/data: expected images, transcripts, long expected texts.
#pragma once

#include <string>

namespace saroko::test {

// The whole of tests/data/<relative> as bytes; a missing file fails the calling test.
std::string ReadDataFile(const std::string& relative);

// The absolute path of tests/data/<relative>.
std::string DataFilePath(const std::string& relative);

} // namespace saroko::test
