#include "bregexp_corpus.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace bench {

std::vector<std::size_t> textSizes() {
    std::vector<std::size_t> result;
    const char *value = std::getenv("QUORVEL_BENCH_SIZES");
    std::stringstream list(value ? value : "1,4,16,64");
    std::string item;
    while (std::getline(list, item, ',')) {
        if (!item.empty()) result.push_back(std::stoul(item));
    }
    return result;
}

namespace {

const std::string kCloseJapanese = "\x82\xb1\x82\xb1\x82\xdc\x82\xc5";  // kokomade
const std::string kCloseUtf8 = "\xe3\x81\x93\xe3\x81\x93\xe3\x81\xbe\xe3\x81\xa7";
const std::string kCloseEucJp = "\xa4\xb3\xa4\xb3\xa4\xde\xa4\xc7";

// Lines of an ordinary Japanese web page: markup, Shift_JIS prose (with 5C
// trail bytes), percent signs in attributes, comments and slashes.
const std::vector<std::string> &pageLines() {
    static const std::vector<std::string> lines = {
        "<div class=\"section\" style=\"width: 100%\">",
        "<p>\x82\xb1\x82\xcc\x83\x79\x81\x5b\x83\x57\x82\xcd\x90\xbb\x95\x69\x82\xcc\x8f\xee\x95\xf1\x82\xf0"
        "\x95\x5c\x8e\xa6\x82\xb5\x82\xdc\x82\xb7\x81\x42</p>",
        "<td width=\"50%\"><a href=\"/products/item.html\">\x83\x5c\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41</a></td>",
        "<!-- layout table -->",
        "<img src=\"/images/logo.gif\" alt=\"\x83\x8d\x83\x53\" width=\"120\" height=\"40\">",
        "<li><a href=\"/news/2006/03.html\">\x90\x56\x92\x85\x8f\xee\x95\xf1 2006/03/05</a></li>",
        "<p>Price: 1,200 yen (\x90\xc5\x8d\x9e) &nbsp; 20% off</p>",
        "</div>",
        "<table border=\"0\" cellpadding=\"2\" cellspacing=\"0\">",
        "<tr><th>\x8d\x80\x96\xda</th><th>\x93\xe0\x97\x65</th></tr>",
        "<script type=\"text/javascript\">var ratio = 3 % 2; // not a marker</script>",
        "<p>The quick brown fox jumps over the lazy dog. 0123456789</p>",
    };
    return lines;
}

class Lines {
public:
    explicit Lines(std::uint64_t seed) : state_(seed) {}
    const std::string &next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return pageLines()[static_cast<std::size_t>(state_ >> 33) % pageLines().size()];
    }

private:
    std::uint64_t state_;
};

void fill(std::string &out, std::size_t until, Lines &lines) {
    while (out.size() < until) {
        out += lines.next();
        out += "\r\n";
    }
}

}  // namespace

const char *placementName(Placement placement) {
    switch (placement) {
    case Placement::start: return "start";
    case Placement::end: return "end";
    case Placement::whole: return "whole";
    case Placement::absent: return "absent";
    }
    return "?";
}

const char *closingsName(Closings closings) { return closings == Closings::two ? "2" : "4"; }

std::string regionPattern(const std::string &name, Closings closings) {
    std::string keywords = "close|" + kCloseJapanese;
    if (closings == Closings::four) keywords += "|" + kCloseUtf8 + "|" + kCloseEucJp;
    return "(<!--(?:(?!-->).)*?)?%(" + name + ")%((.|\\n)*?)%(" + keywords + ") \\2%((?:(?!<!--).)*?-->)?";
}

std::string regionText(const std::string &name, bool fresh) {
    std::string out = "<!-- %" + name + "% -->\r\n<ul class=\"menu\">\r\n";
    for (int i = 0; i < 24; ++i) {
        out += "<li><a href=\"/" + std::string(fresh ? "v2/" : "") + "page" + std::to_string(i) +
               ".html\">\x83\x81\x83\x6a\x83\x85\x81\x5b " + std::to_string(i) + " \x95\x5c\x8e\xa6</a></li>\r\n";
    }
    out += "</ul>\r\n<!-- %" + (fresh ? kCloseJapanese : std::string("close")) + " " + name + "% -->";
    return out;
}

std::string htmlPage(std::size_t bytes, Placement placement, const std::string &name) {
    Lines lines(bytes * 4 + static_cast<std::size_t>(placement));
    std::string out;
    out.reserve(bytes + 4096);
    out += "<html>\r\n<head><title>\x83\x65\x83\x58\x83\x67</title></head>\r\n<body>\r\n";
    const std::string region = regionText(name, false);
    switch (placement) {
    case Placement::start:
        fill(out, 1024, lines);
        out += region + "\r\n";
        fill(out, bytes, lines);
        break;
    case Placement::end:
        fill(out, bytes > 4096 + region.size() ? bytes - 2048 - region.size() : 0, lines);
        out += region + "\r\n";
        fill(out, bytes, lines);
        break;
    case Placement::whole: {
        // Opening marker near the start, closing marker near the end: the
        // lazy loop runs over the whole text.
        std::size_t split = region.find("</ul>");
        fill(out, 1024, lines);
        out += region.substr(0, split);
        fill(out, bytes > 2048 ? bytes - 1024 : 0, lines);
        out += region.substr(split) + "\r\n";
        fill(out, bytes, lines);
        break;
    }
    case Placement::absent:
        fill(out, bytes, lines);
        break;
    }
    return out;
}

Span regionSpan(const std::string &page, const std::string &name) {
    const std::string opening = "<!-- %" + name + "% -->";
    const std::string closing = "% -->";
    std::size_t begin = page.find(opening);
    if (begin == std::string::npos) return {std::string::npos, std::string::npos};
    std::size_t close = page.find("%close " + name + closing, begin);
    if (close == std::string::npos) return {std::string::npos, std::string::npos};
    return {begin, close + 7 + name.size() + closing.size()};
}

std::string escapeForReplacement(const std::string &text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (lead && i + 1 < text.size()) {
            auto t = static_cast<unsigned char>(text[i + 1]);
            if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) {
                out += text.substr(i, 2);
                ++i;
                continue;
            }
        }
        if (c == '\\' || c == '$' || c == '/') out += '\\';
        out += static_cast<char>(c);
    }
    return out;
}

}  // namespace bench
