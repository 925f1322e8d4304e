#include "core/printing/PdfAppend.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <vector>

namespace saroko {
namespace {

bool IsDelimiter(char c) {
    return std::isspace(static_cast<unsigned char>(c)) || c == '/' || c == '[' || c == ']' ||
           c == '<' || c == '>' || c == '(' || c == ')' || c == '%';
}

// What the newest cross-reference section and its trailer say.
struct PdfIndex {
    std::size_t xrefAt = 0;
    std::map<long, std::size_t> offsets; // object number -> where "N 0 obj" starts
    std::string trailer;                 // the dictionary's text
    long size = 0;
};

std::optional<long> Number(std::string_view s, std::size_t& at) {
    while (at < s.size() && std::isspace(static_cast<unsigned char>(s[at])))
        ++at;
    const std::size_t from = at;
    while (at < s.size() && std::isdigit(static_cast<unsigned char>(s[at])))
        ++at;
    if (at == from || at - from > 12)
        return std::nullopt;
    return std::strtol(std::string(s.substr(from, at - from)).c_str(), nullptr, 10);
}

// The object a key names ("/Root 6 0 R"), in a dictionary's text.
std::optional<long> Ref(std::string_view dict, std::string_view key) {
    std::size_t at = dict.find(key);
    while (at != std::string_view::npos) {
        std::size_t p = at + key.size();
        if (p < dict.size() && IsDelimiter(dict[p])) {
            const auto n = Number(dict, p);
            const auto g = n ? Number(dict, p) : std::nullopt;
            while (p < dict.size() && dict[p] == ' ')
                ++p;
            if (n && g && p < dict.size() && dict[p] == 'R')
                return n;
        }
        at = dict.find(key, at + 1);
    }
    return std::nullopt;
}

// One cross-reference section at `xrefAt` and its trailer, up to `sx`.
std::optional<PdfIndex> ReadSection(std::string_view pdf, std::optional<long> xref,
                                    std::size_t sx) {
    std::size_t at = 0;
    if (!xref || static_cast<std::size_t>(*xref) >= sx || pdf.substr(*xref, 4) != "xref")
        return std::nullopt;
    PdfIndex index;
    index.xrefAt = static_cast<std::size_t>(*xref);
    at = index.xrefAt + 4;
    const std::size_t trailerAt = pdf.find("trailer", at);
    if (trailerAt == std::string_view::npos || trailerAt > sx)
        return std::nullopt;
    // Subsections "FIRST COUNT" of 20-byte entries.
    while (true) {
        std::size_t p = at;
        const auto first = Number(pdf, p);
        if (!first || p > trailerAt)
            break;
        const auto count = Number(pdf, p);
        if (!count)
            return std::nullopt;
        while (p < pdf.size() && std::isspace(static_cast<unsigned char>(pdf[p])))
            ++p;
        for (long i = 0; i < *count; ++i, p += 20) {
            if (p + 20 > trailerAt)
                return std::nullopt;
            if (pdf[p + 17] == 'n')
                index.offsets[*first + i] = static_cast<std::size_t>(
                    std::strtoul(std::string(pdf.substr(p, 10)).c_str(), nullptr, 10));
        }
        at = p;
    }
    const std::size_t open = pdf.find("<<", trailerAt), close = pdf.rfind(">>", sx);
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return std::nullopt;
    index.trailer = std::string(pdf.substr(open, close + 2 - open));
    std::size_t sizeAt = index.trailer.find("/Size");
    if (sizeAt == std::string::npos)
        return std::nullopt;
    sizeAt += 5;
    const auto size = Number(index.trailer, sizeAt);
    if (!size)
        return std::nullopt;
    index.size = *size;
    return index;
}

// The newest section, with the objects of the sections before it (/Prev) that it leaves.
std::optional<PdfIndex> ReadIndex(std::string_view pdf) {
    std::size_t sx = pdf.rfind("startxref");
    if (sx == std::string_view::npos)
        return std::nullopt;
    std::size_t at = sx + 9;
    std::optional<PdfIndex> index = ReadSection(pdf, Number(pdf, at), sx);
    std::string trailer = index ? index->trailer : std::string();
    std::size_t limit = index ? index->xrefAt : 0;
    for (int depth = 0; index && depth < 16; ++depth) {
        std::size_t p = trailer.find("/Prev");
        if (p == std::string::npos)
            break;
        p += 5;
        const auto offset = Number(trailer, p);
        if (!offset || static_cast<std::size_t>(*offset) >= limit)
            return std::nullopt;
        const auto older = ReadSection(pdf, offset, pdf.find("startxref", *offset));
        if (!older)
            return std::nullopt;
        for (const auto& [n, off] : older->offsets)
            index->offsets.emplace(n, off); // the newer section's entry stays
        trailer = older->trailer;
        limit = older->xrefAt;
    }
    return index;
}

// An object's text after "N 0 obj" up to and including "endobj"; its dictionary is the part
// before a stream's data.
struct PdfObject {
    std::string_view body;
    std::string_view Dict() const {
        const std::size_t s = body.find("stream\n");
        const std::size_t r = body.find("stream\r\n");
        return body.substr(0, std::min(s, r));
    }
};

std::optional<PdfObject> ObjectAt(std::string_view pdf, const PdfIndex& index, long number) {
    const auto it = index.offsets.find(number);
    if (it == index.offsets.end() || it->second >= pdf.size())
        return std::nullopt;
    std::size_t at = it->second;
    const auto n = Number(pdf, at);
    const auto g = n ? Number(pdf, at) : std::nullopt;
    if (!n || *n != number || !g || pdf.substr(at, 4) != " obj")
        return std::nullopt;
    at += 4;
    // The next object in the file, or the cross-reference section, bounds this one.
    std::size_t end = index.xrefAt;
    for (const auto& [num, off] : index.offsets)
        if (off > it->second && off < end)
            end = off;
    const std::size_t last = pdf.substr(0, end).rfind("endobj");
    if (last == std::string_view::npos || last < at)
        return std::nullopt;
    return PdfObject{pdf.substr(at, last + 6 - at)};
}

// Every reference "N G R" in a dictionary's text, in order.
std::vector<long> Refs(std::string_view dict) {
    std::vector<long> out;
    for (std::size_t i = 0; i < dict.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(dict[i])) ||
            (i > 0 && !IsDelimiter(dict[i - 1])))
            continue;
        std::size_t p = i;
        const auto n = Number(dict, p);
        if (p >= dict.size() || dict[p] != ' ')
            continue;
        const auto g = Number(dict, p);
        if (!n || !g || p + 1 >= dict.size() || dict[p] != ' ' || dict[p + 1] != 'R' ||
            (p + 2 < dict.size() && !IsDelimiter(dict[p + 2]))) {
            continue;
        }
        out.push_back(*n);
        i = p + 1;
    }
    return out;
}

// The dictionary's text with each reference renumbered.
std::string Renumber(std::string_view dict, const std::map<long, long>& to) {
    std::string out;
    for (std::size_t i = 0; i < dict.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(dict[i])) &&
            (i == 0 || IsDelimiter(dict[i - 1]))) {
            std::size_t p = i;
            const auto n = Number(dict, p);
            std::size_t q = p;
            const auto g = (p < dict.size() && dict[p] == ' ') ? Number(dict, q) : std::nullopt;
            if (n && g && q + 1 < dict.size() && dict[q] == ' ' && dict[q + 1] == 'R' &&
                (q + 2 >= dict.size() || IsDelimiter(dict[q + 2])) && to.count(*n)) {
                out += std::to_string(to.at(*n)) + " 0 R";
                i = q + 1;
                continue;
            }
        }
        out += dict[i];
    }
    return out;
}

// The page tree's kids (their text) and count, of a catalog's /Pages object.
struct PageTree {
    long number = 0;
    std::string kids;
    long count = 0;
};

std::optional<PageTree> ReadPageTree(std::string_view pdf, const PdfIndex& index) {
    const auto root = Ref(index.trailer, "/Root");
    const auto catalog = root ? ObjectAt(pdf, index, *root) : std::nullopt;
    const auto pages = catalog ? Ref(catalog->Dict(), "/Pages") : std::nullopt;
    const auto tree = pages ? ObjectAt(pdf, index, *pages) : std::nullopt;
    if (!tree)
        return std::nullopt;
    const std::string_view d = tree->Dict();
    const std::size_t k = d.find("/Kids"), open = d.find('[', k), close = d.find(']', open);
    std::size_t c = d.find("/Count");
    if (k == std::string_view::npos || open == std::string_view::npos ||
        close == std::string_view::npos || c == std::string_view::npos)
        return std::nullopt;
    c += 6;
    const auto count = Number(d, c);
    if (!count)
        return std::nullopt;
    return PageTree{*pages, std::string(d.substr(open + 1, close - open - 1)), *count};
}

} // namespace

int PdfPageCount(std::string_view pdf) {
    const auto index = ReadIndex(pdf);
    const auto tree = index ? ReadPageTree(pdf, *index) : std::nullopt;
    return tree ? static_cast<int>(tree->count) : 0;
}

std::optional<std::string> AppendPdfPages(std::string_view base, std::string_view extra,
                                          std::string_view comment) {
    const auto baseIndex = ReadIndex(base);
    const auto extraIndex = ReadIndex(extra);
    if (!baseIndex || !extraIndex)
        return std::nullopt;
    const auto baseTree = ReadPageTree(base, *baseIndex);
    const auto extraTree = ReadPageTree(extra, *extraIndex);
    const auto root = Ref(baseIndex->trailer, "/Root");
    if (!baseTree || !extraTree || !root)
        return std::nullopt;
    const std::vector<long> pages = Refs(extraTree->kids);
    if (pages.empty() || static_cast<long>(pages.size()) != extraTree->count)
        return std::nullopt;

    // The added pages and everything they reach, except their own page tree.
    std::map<long, long> to;
    std::vector<long> order, queue(pages.begin(), pages.end());
    std::map<long, PdfObject> objects;
    long next = baseIndex->size;
    while (!queue.empty()) {
        const long n = queue.front();
        queue.erase(queue.begin());
        if (to.count(n) || n == extraTree->number)
            continue;
        const auto o = ObjectAt(extra, *extraIndex, n);
        if (!o)
            return std::nullopt;
        to[n] = next++;
        order.push_back(n);
        objects.emplace(n, *o);
        for (const long r : Refs(o->Dict()))
            queue.push_back(r);
    }
    to[extraTree->number] = baseTree->number;

    std::string out(base);
    if (out.empty() || out.back() != '\n')
        out += '\n';
    std::map<long, std::size_t> written;
    for (const long n : order) {
        const PdfObject& o = objects.at(n);
        written[to[n]] = out.size();
        out += std::to_string(to[n]) + " 0 obj" + Renumber(o.Dict(), to);
        out += o.body.substr(o.Dict().size());
        out += '\n';
    }
    written[baseTree->number] = out.size();
    // A separator after the last kid, which may end without one ("[3 0 R]").
    std::string kids = baseTree->kids + "\n";
    for (const long p : pages)
        kids += std::to_string(to[p]) + " 0 R\n";
    out += std::to_string(baseTree->number) + " 0 obj\n<<\n/Type /Pages\n/Kids \n[" + kids +
           "]\n/Count " + std::to_string(baseTree->count + extraTree->count) + "\n>>\nendobj\n";
    out += comment;
    const std::size_t xref = out.size();
    out += "xref\n";
    // One subsection per run of consecutive numbers.
    for (auto it = written.begin(); it != written.end();) {
        auto end = it;
        long last = it->first;
        while (std::next(end) != written.end() && std::next(end)->first == last + 1) {
            ++end;
            ++last;
        }
        out += std::to_string(it->first) + " " + std::to_string(last - it->first + 1) + "\n";
        for (auto e = it;; ++e) {
            char entry[24];
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", e->second);
            out += entry;
            if (e == end)
                break;
        }
        it = std::next(end);
    }
    out += "trailer\n<<\n/Size " + std::to_string(next) + "\n/Root " + std::to_string(*root) +
           " 0 R\n";
    if (const auto info = Ref(baseIndex->trailer, "/Info"))
        out += "/Info " + std::to_string(*info) + " 0 R\n";
    const std::size_t id = baseIndex->trailer.find("/ID");
    if (id != std::string::npos) {
        const std::size_t close = baseIndex->trailer.find(']', id);
        if (close != std::string::npos)
            out += baseIndex->trailer.substr(id, close + 1 - id) + "\n";
    }
    out += "/Prev " + std::to_string(baseIndex->xrefAt) + "\n>>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return out;
}

} // namespace saroko
