#include "differential_region.h"

#include "differential_generator.h"
#include "differential_random.h"

namespace differential {

namespace {

const std::string kCloseJapanese = "\x82\xb1\x82\xb1\x82\xdc\x82\xc5";  // kokomade

struct Name {
    std::string pattern;                 // as inserted into the command
    std::vector<std::string> spellings;  // texts that the name matches
};

const std::vector<Name> &names() {
    static const std::vector<Name> list = {
        {"menu", {"menu"}},
        {"foot", {"foot"}},
        {"a.b", {"a.b", "axb"}},
        {"x|y", {"x", "y"}},
        {"n[0-9]", {"n5", "n0"}},
        {"\x83\x81\x83\x6a\x83\x85\x81\x5b", {"\x83\x81\x83\x6a\x83\x85\x81\x5b"}},  // menyuu: trails 'j' and '['
        {"\x83\x5c\x95\x5c", {"\x83\x5c\x95\x5c"}},                                  // so + hyou: 5C trails
    };
    return list;
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
    RegionTextWriter(Random &random, const Name &name) : random_(random), name_(name) {}

    std::string region(const std::string &spelling) {
        bool commented = random_.percent(50);
        std::string out = commented ? (random_.percent(50) ? "<!-- " : "<!--") : "";
        out += "%" + spelling + "%";
        if (commented) out += random_.percent(50) ? " -->" : "-->";
        int lines = random_.between(0, 3);
        for (int i = 0; i < lines; ++i) out += "\r\n" + random_.pick(fillers());
        out += "\r\n";
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
        for (int i = 0; i < before; ++i) out += random_.pick(fillers()) + "\r\n";
        int regions = random_.percent(15) ? 0 : random_.between(1, 2);
        for (int i = 0; i < regions; ++i) {
            out += region(random_.pick(name_.spellings)) + "\r\n";
            if (random_.percent(30)) out += random_.pick(fillers()) + "\r\n";
        }
        if (random_.percent(20)) out += "%" + name_.spellings[0] + "% without a close\r\n";
        out += random_.pick(fillers());
        return out.empty() ? std::string("x") : out;
    }

private:
    Random &random_;
    const Name &name_;
};

}  // namespace

std::string regionPattern(const std::string &name) {
    return "(<!--.*?)?%(" + name + ")%((.|\\n)*?)%(close|" + kCloseJapanese + ") \\2%(.*?-->)?";
}

std::vector<Case> regionCases(std::uint64_t seed, std::size_t texts) {
    Random random(seed);
    std::vector<Case> cases;
    for (std::size_t i = 0; i < texts; ++i) {
        const Name &name = random.pick(names());
        RegionTextWriter writer(random, name);
        std::string pattern = regionPattern(name.pattern);
        std::string text = writer.document();
        std::string source_region = writer.region(name.spellings[0]);
        cases.push_back(Case{'m', pattern, "", "k", text});
        cases.push_back(Case{'s', pattern, escapeReplacement(source_region, true), "k", text});
    }
    return cases;
}

}  // namespace differential
