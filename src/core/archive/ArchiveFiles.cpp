#include "core/archive/ArchiveFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "core/archive/ArchiveSpool.h"
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
    TakeInDownloads(session, DownloadsToTakeIn(folder, kept), read, codec);
}

std::size_t TakeInDownloads(CArchiveSession& session, const std::vector<std::string>& paths,
                            const FileReader& read, const ITextCodec& codec) {
    std::size_t taken = 0;
    session.Hold(true);
    for (const std::string& path : paths) {
        std::optional<Recording> r = DescribePath(path, read, codec, session.Hash());
        if (!r)
            continue;
        r->source = kSourceDownload;
        KeptFile k;
        k.path = r->path;
        session.Keep(*r, kCreatedImported, std::move(k));
        ++taken;
    }
    session.Hold(false);
    session.Flush();
    return taken;
}

std::optional<std::vector<std::string>> DownloadsNotIn(CArchiveSession& session,
                                                       const std::string& folder) {
    std::vector<KeptFile> known;
    if (!session.Enabled() || session.Store().KeptFiles(known) != StoreStatus::kOk)
        return std::nullopt;
    std::set<std::string> kept;
    for (const KeptFile& k : known)
        kept.insert(k.path);
    // A download made while the server was away is the archive's already: it waits to go.
    if (auto* spooled = dynamic_cast<CSpooledArchiveStore*>(&session.Store()))
        for (const SpooledEntry& s : spooled->WaitingEntries())
            if (s.entry.kept)
                kept.insert(s.entry.kept->path);
    return DownloadsToTakeIn(folder, kept);
}

std::string FirstUseText(FirstUseAnswer answer) {
    switch (answer) {
    case FirstUseAnswer::kTaken:
        return "taken\n";
    case FirstUseAnswer::kDeclined:
        return "declined\n";
    case FirstUseAnswer::kNotAsked:
        break;
    }
    return {};
}

FirstUseAnswer ParseFirstUse(const std::optional<std::string>& text) {
    if (!text)
        return FirstUseAnswer::kNotAsked;
    return text->starts_with("declined") ? FirstUseAnswer::kDeclined : FirstUseAnswer::kTaken;
}

FirstUseAnswer OfferKeptDownloads(CArchiveSession& session, const std::string& folder,
                                  FirstUseAnswer before,
                                  const std::function<bool(const std::vector<std::string>&)>& ask,
                                  const FileReader& read, const ITextCodec& codec) {
    if (before != FirstUseAnswer::kNotAsked)
        return FirstUseAnswer::kNotAsked;
    const std::optional<std::vector<std::string>> lacking = DownloadsNotIn(session, folder);
    if (!lacking)
        return FirstUseAnswer::kNotAsked;
    if (lacking->empty())
        return FirstUseAnswer::kTaken;
    if (!ask(*lacking))
        return FirstUseAnswer::kDeclined;
    TakeInDownloads(session, *lacking, read, codec);
    return FirstUseAnswer::kTaken;
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
