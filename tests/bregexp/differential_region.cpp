#include "differential_region.h"

#include "differential_generator.h"
#include "differential_random.h"

namespace differential {

namespace {

const std::string kCloseJapanese = "\x82\xb1\x82\xb1\x82\xdc\x82\xc5";  // kokomade

struct Name {
    std::string text;                    // the variable name
    std::string unescaped;               // as the earlier command inserted it
    std::vector<std::string> spellings;  // texts that the unescaped form matches
};

const std::vector<Name> &names() {
    static const std::vector<Name> list = {
        {"menu", "menu", {"menu"}},
        {"foot", "foot", {"foot"}},
        {"a.b", "a.b", {"a.b", "axb"}},
        {"x|y", "x|y", {"x", "y"}},
        {"n[0-9]", "n[0-9]", {"n5", "n0"}},
        {"a/b", "a\\/b", {"a/b"}},
        {"$x(1)", "\\$x\\(1\\)", {"$x(1)"}},
        {"\x83\x81\x83\x6a\x83\x85\x81\x5b", "\x83\x81\x83\x6a\x83\x85\x81\x5b", {"\x83\x81\x83\x6a\x83\x85\x81\x5b"}},  // menyuu: trails 'j' and '['
        {"\x83\x5c\x95\x5c", "\x83\x5c\x95\x5c", {"\x83\x5c\x95\x5c"}},  // so + hyou: 5C trails
    };
    return list;
}

bool isAsciiPunctuation(unsigned char c) {
    return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) || (c >= 0x7B && c <= 0x7E);
}

const std::vector<std::string> &fillers() {
    static const std::vector<std::string> lines = {
        "<html><head><title>T</title></head>",
        "<p>100% \x83\x5c\x95\x5c done</p>",
        "<a href=\"/x/y.html\">link</a>",
        "<!-- note -->",
        "text with \\ and $1 and ${2}",
        "%other%",
        "",
        "<td width=\"50%\">\x8a\xbf\x8e\x9a</td>",
        "%close other%",
        "<!-- %foo% -->",
        "\xb1\xdd \x83\x41\x83\x43 a/b",
    };
    return lines;
}

class RegionTextWriter {
public:
    RegionTextWriter(Random &random, std::vector<std::string> spellings)
        : random_(random), spellings_(std::move(spellings)), newline_(random.percent(50) ? "\r\n" : "\n") {}

    std::string region(const std::string &spelling) {
        bool commented = random_.percent(50);
        std::string out = commented ? (random_.percent(50) ? "<!-- " : "<!--") : "";
        out += "%" + spelling + "%";
        if (commented) out += random_.percent(50) ? " -->" : "-->";
        int lines = random_.between(0, 3);
        for (int i = 0; i < lines; ++i) out += newline_ + random_.pick(fillers());
        out += newline_;
        if (commented) out += random_.percent(50) ? "<!-- " : "<!--";
        out += "%" + (random_.percent(50) ? std::string("close") : kCloseJapanese) + " ";
        // Now and then the closing name differs, so the back-reference must fail.
        out += random_.percent(10) ? spelling + "z" : spelling;
        out += "%";
        if (commented && random_.percent(80)) out += " -->";
        return out;
    }

    std::string document() {
        std::string out;
        int before = random_.between(0, 3);
        for (int i = 0; i < before; ++i) out += random_.pick(fillers()) + newline_;
        int regions = random_.percent(15) ? 0 : random_.between(1, 2);
        for (int i = 0; i < regions; ++i) {
            out += region(random_.pick(spellings_)) + newline_;
            if (random_.percent(30)) out += random_.pick(fillers()) + newline_;
        }
        if (random_.percent(20)) out += "%" + spellings_[0] + "% without a close" + newline_;
        out += random_.pick(fillers());
        return out.empty() ? std::string("x") : out;
    }

private:
    Random &random_;
    std::vector<std::string> spellings_;
    std::string newline_;  // CR LF as written on Windows, LF on Linux
};

}  // namespace

std::string regionPattern(const std::string &name) {
    return "(<!--.*?)?%(" + name + ")%((.|\\n)*?)%(close|" + kCloseJapanese + ") \\2%(.*?-->)?";
}

std::string commentBoundRegionPattern(const std::string &escaped_name) {
    return "(<!--(?:(?!-->).)*?)?%(" + escaped_name + ")%((.|\\n)*?)%(close|" + kCloseJapanese + ") \\2%((?:(?!<!--).)*?-->)?";
}

std::string escapeName(const std::string &name) {
    std::string out;
    bool after_lone_lead = false;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t length = shiftJisCharLength(name, i);
        const auto c = static_cast<unsigned char>(name[i]);
        if (length == 1 && isAsciiPunctuation(c))
            out += after_lone_lead ? "(?:\\" + name.substr(i, 1) + ")" : "\\" + name.substr(i, 1);
        else
            out.append(name, i, length);
        after_lone_lead = length == 1 && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
        i += length;
    }
    return out;
}

std::vector<Case> regionCases(std::uint64_t seed, std::size_t texts) {
    Random random(seed);
    std::vector<Case> cases;
    for (std::size_t i = 0; i < texts; ++i) {
        const Name &name = random.pick(names());
        std::vector<std::string> spellings = name.spellings;
        if (name.text != spellings[0]) spellings.insert(spellings.begin(), name.text);
        RegionTextWriter writer(random, spellings);
        std::string text = writer.document();
        std::string replacement = escapeReplacement(writer.region(name.text), true);
        for (const std::string &pattern : {regionPattern(name.unescaped), commentBoundRegionPattern(escapeName(name.text))}) {
            cases.push_back(Case{'m', pattern, "", "k", text});
            cases.push_back(Case{'s', pattern, replacement, "k", text});
        }
    }
    return cases;
}

}  // namespace differential
