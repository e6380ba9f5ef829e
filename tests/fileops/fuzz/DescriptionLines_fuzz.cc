// Description lines on arbitrary bytes: the parser stays inside the line, a
// name written back reads as the same name, and dropping a line removes that
// one line and keeps every other byte of the file.
#include <stdlib.h>

#include <cstdint>
#include <string>

#include "fileops/Descriptions.h"

namespace {

bool WritesBack(const Westring& name) {
    if (name.IsEmpty() || name[0] == ' ' || name[0] == '\t') {
        return false;
    }
    for (int i = 0; i < name.Length(); i++) {
        char32_t c = name[i];
        if (c == '"' || c == '\r' || c == '\n' || c == 0) {
            return false;
        }
        // What the decoder makes of bytes no UTF-8 allows (an overlong NUL
        // among them) has no UTF-8 form, and no file carries such a name.
        if (c > 0x10FFFF) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string contents(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos) {
            end = contents.size();
        }
        Westring name;
        size_t after = ParseDescriptionLine(contents.data() + start, end - start, name);
        if (after > end - start || name.Length() > DescriptionNameUnits) {
            abort();
        }
        if (WritesBack(name)) {
            std::string line = FormatDescriptionLine(name, Westring("text"));
            Westring again;
            ParseDescriptionLine(line.data(), line.size() - 2, again);
            if (!again.EqualsExact(name)) {
                abort();
            }
            bool found = false;
            std::string rest = DropDescriptionLine(contents, name, found, nullptr, nullptr);
            if (!found || rest.size() >= contents.size()) {
                abort();
            }
            // What is left is the file with one piece cut out: a prefix and
            // a suffix of the old bytes.
            size_t cut = contents.size() - rest.size();
            size_t prefix = 0;
            while (prefix < rest.size() && rest[prefix] == contents[prefix]) {
                prefix++;
            }
            if (rest.compare(prefix, std::string::npos, contents, prefix + cut, std::string::npos) != 0) {
                abort();
            }
        }
        start = end + 1;
    }
    return 0;
}
