// Runs a command through /bin/sh and gives back what it wrote on its standard
// output (the tests of the terminal host drive tmux and the shell this way).
#pragma once

#include <cstdio>
#include <string>

namespace qvtest {

inline std::string RunShell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
            out.append(buffer, n);
        pclose(p);
    }
    return out;
}

}  // namespace qvtest
