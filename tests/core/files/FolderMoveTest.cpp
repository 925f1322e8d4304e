// The move of the program's files from an older version's places: every file arrives whole
// before an original goes, and a place that cannot be moved whole stays as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/TestSupport.h"
#include "core/files/FolderMove.h"

namespace saroko::test {
namespace {

namespace fs = std::filesystem;
using Tree = std::map<std::string, std::string>;

class FolderMoveTest : public DocTest {
protected:
    // Every entry below `root` (or `root` itself) with its bytes, by its relative path.
    static Tree Contents(const fs::path& root) {
        Tree out;
        if (fs::is_regular_file(root))
            out["."] = ReadAll(root.string());
        std::error_code ec;
        for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
            out[it->path().lexically_relative(root).generic_string()] =
                fs::is_symlink(it->symlink_status()) ? "<link>"
                : it->is_regular_file()              ? ReadAll(it->path().string())
                                                     : "<folder>";
        return out;
    }
    // An older version's places: a settings file, the data folder, the transcripts.
    std::vector<PlaceMove> OldPlaces() const {
        const fs::path old = dir / "old" / "PELNOR CORPORATION";
        fs::create_directories(old / "Saroko" / "downloads" / "empty");
        fs::create_directories(old / "cache");
        WriteAll((old / "Saroko.conf").string(), "[General]\nPortNo=3\n");
        // An empty file first, then one past a read block: a failure at the second file.
        WriteAll((old / "Saroko" / "downloads" / "20080305-120000-2.klg").string(), "");
        WriteAll((old / "Saroko" / "downloads" / "20080305-120000.klg").string(),
                 std::string(70000, '\x5a') + '\x01');
        WriteAll((old / "cache" / "last-exchange.txt").string(), "0.000 > 00\n");
        return {{(old / "Saroko.conf").string(), Path("config/saroko/saroko.conf")},
                {(old / "Saroko").string(), Path("data/saroko")},
                {(old / "cache").string(), Path("cache/saroko")}};
    }
};

TEST_F(FolderMoveTest, AllArriveWholeOrThePlaceStaysAsItWas) {
    const auto secondFile = [](const std::string& from) { return from.ends_with("120000.klg"); };
    const auto changed = [&](std::string bytes) -> PlaceCopyFn {
        return [=](const std::string& from, const std::string& to, std::error_code& ec) {
            if (!CopyNewFile(from, to, ec))
                return false;
            if (secondFile(from))
                WriteAll(to, bytes);
            return true;
        };
    };
    const PlaceCopyFn noSpace = [&](const std::string& from, const std::string& to,
                                    std::error_code& ec) {
        if (!secondFile(from))
            return CopyNewFile(from, to, ec);
        ec = std::make_error_code(std::errc::no_space_on_device);
        return false;
    };
    const std::string bytes = std::string(70000, '\x5a') + '\x01';
    enum Setup { kNone, kLink, kBlocked, kNewExists, kOther };
    struct Case {
        const char* name;
        PlaceCopyFn copy;
        Setup setup;
        bool dataMoves;
    } cases[] = {
        {"all whole", CopyNewFile, kNone, true},
        {"one byte differs", changed(std::string(bytes).replace(69999, 1, "x")), kNone, false},
        {"the first block's last byte differs", changed(std::string(bytes).replace(65535, 1, "x")),
         kNone, false},
        {"the file's last byte differs", changed(std::string(bytes).replace(70000, 1, "x")), kNone,
         false},
        {"one byte short", changed(bytes.substr(1)), kNone, false},
        {"one byte more", changed(bytes + 'x'), kNone, false},
        {"another program's file beside the places", CopyNewFile, kOther, true},
        {"the copy fails", noSpace, kNone, false},
#ifndef _WIN32
        {"a link among the files", CopyNewFile, kLink, false},
#endif
        {"the new folder cannot be made", CopyNewFile, kBlocked, false},
        {"the new folder exists", CopyNewFile, kNewExists, false},
    };
    for (const Case& c : cases) {
        RemoveScratch();
        std::vector<PlaceMove> places = OldPlaces();
        fs::remove_all(places[2].from); // a place that is not there is left alone
        if (c.setup == kLink)
            fs::create_symlink("20080305-120000.klg", places[1].from + "/downloads/zz.klg");
        if (c.setup == kBlocked)
            WriteAll(Path("blocked"), "a file");
        if (c.setup == kBlocked)
            places[1].to = Path("blocked/saroko");
        if (c.setup == kNewExists)
            fs::create_directories(places[1].to);
        if (c.setup == kOther)
            WriteAll(Path("old/PELNOR CORPORATION/Other.conf"), "x");
        const Tree config = Contents(places[0].from), data = Contents(places[1].from);

        const PlaceMoveResult r = MovePlaces(places, c.copy);
        EXPECT_EQ(r.moved, c.dataMoves ? 2 : 1) << c.name;
        EXPECT_EQ(Contents(places[0].to), config) << c.name;
        EXPECT_EQ(Contents(c.dataMoves ? places[1].to : places[1].from), data) << c.name;
        EXPECT_NE(fs::exists(places[1].from), c.dataMoves) << c.name;
        EXPECT_FALSE(fs::exists(places[0].from) || fs::exists(places[2].to)) << c.name;
        EXPECT_EQ(fs::exists(Path("old/PELNOR CORPORATION")), !c.dataMoves || c.setup == kOther)
            << "once empty, gone";
        if (c.setup == kOther) {
            EXPECT_EQ(ReadAll(Path("old/PELNOR CORPORATION/Other.conf")), "x") << "left alone";
        }
        if (c.setup == kNewExists || c.dataMoves) {
            EXPECT_TRUE(r.failures.empty()) << c.name;
            EXPECT_EQ(Contents(places[1].to).empty(), !c.dataMoves) << c.name;
        } else {
            ASSERT_EQ(r.failures.size(), 1u) << c.name;
            EXPECT_NE(PlaceMoveFailureLines(r).find(places[1].from + " ("), std::string::npos);
            EXPECT_FALSE(fs::exists(places[1].to)) << c.name << ": no part of a copy left";
        }
        if (c.dataMoves) {
            EXPECT_EQ(MovePlaces(places).moved, 0) << "moved only once";
        }
    }
}

} // namespace
} // namespace saroko::test
