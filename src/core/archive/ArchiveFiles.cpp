#include "core/archive/ArchiveFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "core/files/Utf8Path.h"
#include "core/recorder/Protocol.h"

namespace saroko::archive {

std::string PlaceOf(const std::string& path) {
    if (path.empty() || path == kStandardOutput || path == kPrinterOutput)
        return path;
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(PathOfUtf8(path), ec);
    return ec ? path : Utf8OfPath(absolute);
}

std::string OutputText(const std::string& output, const std::string& sha256) {
    if (output.empty() || output == kPrinterOutput)
        return kPrinterOutput;
    return PlaceOf(output) + " sha256:" + sha256;
}

std::optional<Recording> DescribePath(const std::string& path, const FileReader& read,
                                      const ITextCodec& codec, const Sha256Fn& hash) {
    const std::optional<std::string> bytes = read(path);
    if (!bytes)
        return std::nullopt;
    return DescribeDataFile(*bytes, PlaceOf(path), codec, hash);
}

std::string RecorderIdentity(const std::string& recorder) {
    if (recorder != "KM-41")
        return {};
    char hex[5];
    std::snprintf(hex, sizeof hex, "%02x%02x", kKm41IdentD0, kKm41IdentD1);
    return hex;
}

std::vector<std::string> DownloadsToTakeIn(const std::string& folder,
                                           const std::set<std::string>& kept) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<std::string> files;
    for (const fs::directory_entry& e : fs::directory_iterator(PathOfUtf8(folder), ec)) {
        std::string ext = Utf8OfPath(e.path().extension());
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ext == ".klg" && !kept.count(Utf8OfPath(e.path())))
            files.push_back(Utf8OfPath(e.path()));
    }
    std::sort(files.begin(), files.end());
    return files;
}

void ImportKeptDownloads(CArchiveSession& session, const std::string& folder,
                         const FileReader& read, const ITextCodec& codec) {
    std::vector<KeptFile> known;
    session.Store().KeptFiles(known);
    std::set<std::string> kept;
    for (const KeptFile& k : known)
        kept.insert(k.path);
    session.Hold(true);
    for (const std::string& path : DownloadsToTakeIn(folder, kept)) {
        std::optional<Recording> r = DescribePath(path, read, codec, session.Hash());
        if (!r)
            continue;
        r->source = kSourceDownload;
        KeptFile k;
        k.path = r->path;
        session.Keep(*r, kCreatedImported, std::move(k));
    }
    session.Hold(false);
    session.Flush();
}

Recording RecordDownload(CArchiveSession& session, const std::string& keptPath,
                         const std::string& transcriptPath, const FileReader& read,
                         const FileHasher& hashFile, const ITextCodec& codec) {
    namespace fs = std::filesystem;
    std::optional<Recording> r = DescribePath(keptPath, read, codec, session.Hash());
    if (!r || !session.Enabled())
        return r.value_or(Recording{});
    r->source = kSourceDownload;
    r->identity = RecorderIdentity(r->recorder);
    KeptFile kept;
    kept.path = r->path;
    std::error_code ec;
    if (!transcriptPath.empty() && fs::exists(PathOfUtf8(transcriptPath), ec)) {
        fs::path copy = PathOfUtf8(r->path);
        copy.replace_extension(".exchange.txt");
        if (!fs::exists(copy, ec) && fs::copy_file(PathOfUtf8(transcriptPath), copy, ec)) {
            r->transcriptPath = kept.transcriptPath = Utf8OfPath(copy);
            r->transcriptSha256 = kept.transcriptSha256 = hashFile(Utf8OfPath(copy)).value_or("");
        }
    }
    return session.Keep(*r, kCreatedDownloaded, std::move(kept));
}

} // namespace saroko::archive
