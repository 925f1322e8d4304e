#pragma once
// The folders the program keeps things in for the user: every download (the data folder) and
// the transcripts of the last exchanges with the recorder (the cache folder). Both follow the
// application's organisation and name, which must be set before.
#include <string>

namespace saroko {

std::string KeptDownloadsFolder();
std::string TranscriptFolder();

} // namespace saroko
