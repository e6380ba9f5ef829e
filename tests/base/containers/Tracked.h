// An item that records its destruction, for the owning containers' tests.
#pragma once

#include <vector>

namespace qvtest {

struct TTracked {
    explicit TTracked(int value, std::vector<int>* log) : value(value), log(log) {}
    TTracked(const TTracked& other) = default;
    ~TTracked() {
        if (log)
            log->push_back(value);
    }
    int value;
    std::vector<int>* log;
};

}  // namespace qvtest
