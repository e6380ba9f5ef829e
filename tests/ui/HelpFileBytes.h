// Builds the bytes of a help file for tests: sections of lines, each with its
// id and length head, in the order given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvtest {

struct THelpSection {
    int id;
    std::vector<std::string> lines;  // bytes in code page 850
};

inline void AppendI16(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

inline std::string HelpSectionBytes(const THelpSection& section) {
    std::string body;
    for (const std::string& line : section.lines) {
        body += line;
        body += '\0';
    }
    std::string out;
    AppendI16(out, section.id);
    AppendI16(out, static_cast<int>(body.size()) + 4);
    return out + body;
}

inline std::string HelpFileBytes(const std::vector<THelpSection>& sections) {
    std::string out;
    for (const THelpSection& section : sections) {
        out += HelpSectionBytes(section);
    }
    return out;
}

}  // namespace qvtest
