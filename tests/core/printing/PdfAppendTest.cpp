// Pages added to a PDF as an incremental update: the first document's bytes untouched, the
// added objects renumbered after it (references in dictionaries only, never stream data).
#include <gtest/gtest.h>

#include <regex>

#include "core/printing/PdfAppend.h"

namespace saroko {
namespace {

// A PDF of the objects given (object i + 1 each), with a classic cross-reference section.
std::string MakePdf(const std::vector<std::string>& objects, int root) {
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        at.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t a : at) {
        char e[24];
        std::snprintf(e, sizeof e, "%010zu 00000 n \n", a);
        pdf += e;
    }
    return pdf + "trailer\n<<\n/Size " + std::to_string(objects.size() + 1) + "\n/Root " +
           std::to_string(root) + " 0 R\n/ID [ <ab> <ab> ]\n>>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
}

// Every object the newest and the earlier sections name is where they say.
void ExpectIndexHolds(const std::string& pdf) {
    const std::regex entry("(\\d{10}) 00000 n \\n");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), entry);
         it != std::sregex_iterator(); ++it) {
        const std::size_t off = std::stoul((*it)[1]);
        EXPECT_TRUE(std::regex_search(pdf.substr(off, 12), std::regex("^\\d+ 0 obj"))) << off;
    }
}

TEST(PdfAppendTest, AddedPagesFollowTheUntouchedDocumentRenumbered) {
    const std::string base =
        MakePdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                 "<< /Type /Page /Parent 2 0 R /Contents 4 0 R >>",
                 "<< /Length 5 >>\nstream\nBT ET\nendstream"},
                1);
    // The added document: its info object is reached by nothing and left out; a stream's
    // data that looks like a reference stays as it is.
    const std::string extra = MakePdf(
        {"<< /Title (1 0 R) >>", "<< /Type /Pages /Kids [4 0 R 6 0 R] /Count 2 >>",
         "<< /Type /Catalog /Pages 2 0 R >>",
         "<< /Type /Page /Parent 2 0 R /Contents 5 0 R /Resources << /Font << /F1 7 0 R >> >> >>",
         "<< /Length 8 0 R >>\nstream\n3 0 R 12 0 R\nendstream", "<< /Type /Page /Parent 2 0 R >>",
         "<< /Type /Font >>", "12"},
        3);
    const auto out = AppendPdfPages(base, extra, "%note one\n");
    ASSERT_TRUE(out);
    EXPECT_EQ(out->substr(0, base.size()), base);
    EXPECT_EQ(PdfPageCount(base), 1);
    EXPECT_EQ(PdfPageCount(*out), 3);
    ExpectIndexHolds(*out);
    const std::string update = out->substr(base.size());
    // Base objects end at 4: the added pages 4 and 6 become 5 and 6, then what they reach:
    // the stream 7, the font 8, the stream's length 9; both hang from the base's page tree 2.
    EXPECT_NE(update.find("5 0 obj\n<< /Type /Page /Parent 2 0 R /Contents 7 0 R /Resources << "
                          "/Font << /F1 8 0 R >> >> >>\nendobj"),
              std::string::npos)
        << update;
    EXPECT_NE(update.find("7 0 obj\n<< /Length 9 0 R >>\nstream\n3 0 R 12 0 R\nendstream"),
              std::string::npos);
    EXPECT_NE(update.find("6 0 obj\n<< /Type /Page /Parent 2 0 R >>"), std::string::npos);
    EXPECT_NE(update.find("/Kids \n[3 0 R\n5 0 R\n6 0 R\n]\n/Count 3"), std::string::npos)
        << update;
    EXPECT_EQ(update.find("/Title"), std::string::npos);
    EXPECT_NE(update.find("%note one\nxref\n2 1\n"), std::string::npos);
    EXPECT_NE(update.find("/Size 10\n/Root 1 0 R\n/ID [ <ab> <ab> ]\n/Prev "), std::string::npos);
    // Added to again, the first section is still reached through the second.
    const auto twice = AppendPdfPages(*out, extra);
    ASSERT_TRUE(twice);
    EXPECT_EQ(PdfPageCount(*twice), 5);
    ExpectIndexHolds(*twice);
}

TEST(PdfAppendTest, WhatIsNotAPdfOfOursIsRefused) {
    const std::string good =
        MakePdf({"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                 "<< /Type /Page /Parent 2 0 R >>"},
                1);
    std::string noTree = good;
    noTree.replace(noTree.find("/Pages 2"), 8, "/Pagez 2");
    std::string badXref = good;
    badXref.replace(badXref.rfind("startxref\n") + 10, 1, "9");
    for (const std::string& bad : {std::string("not a pdf"), noTree, badXref}) {
        EXPECT_FALSE(AppendPdfPages(good, bad));
        EXPECT_FALSE(AppendPdfPages(bad, good));
        EXPECT_EQ(PdfPageCount(bad), 0);
    }
}

} // namespace
} // namespace saroko
