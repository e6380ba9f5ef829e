// qvargv: records the arguments it was started with, for the tests of how
// command lines reach programs. Each run appends to qvargv.log in the folder
// its own name names (its current folder when the name has none) one record:
// every argument (its own name first) as its length in bytes, a colon, the
// bytes and a line feed, then a line "--". Lengths keep any character of an
// argument (a blank, a quote, a line feed) its own.
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    std::string own = argc > 0 ? argv[0] : "";
    size_t separator = own.find_last_of("/\\");
    std::string log = separator == std::string::npos ? "qvargv.log" : own.substr(0, separator + 1) + "qvargv.log";
    std::FILE* file = std::fopen(log.c_str(), "ab");
    if (file == nullptr) {
        return 2;
    }
    for (int i = 0; i < argc; i++) {
        std::fputs((std::to_string(std::strlen(argv[i])) + ":").c_str(), file);
        std::fwrite(argv[i], 1, std::strlen(argv[i]), file);
        std::fputc('\n', file);
    }
    std::fputs("--\n", file);
    std::fclose(file);
    return 0;
}
