// Arbitrary bytes from the program's side of the pipe: decoded into request
// frames and applied to the host's screen model, whose every cell is then read
// back as the terminal host would paint it. The first two bytes pick the
// screen size, so small and odd screens are explored too.
#include "host/HostFrames.h"
#include "host/ScreenModel.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const int columns = 1 + data[0] % 160;
    const int rows = 1 + data[1] % 60;
    data += 2;
    size -= 2;

    qvhost::ScreenModel model(columns, rows);
    qvhost::RequestDecoder decoder;
    // Fed in two pieces, as a pipe may split a frame anywhere.
    const size_t half = size / 2;
    decoder.Feed(data, half);
    qvhost::Request request;
    std::string reply;
    size_t applied = 0;
    for (int piece = 0; piece < 2; ++piece) {
        while (decoder.Next(request)) {
            model.Apply(request, reply);
            ++applied;
        }
        if (piece == 0) {
            decoder.Feed(data + half, size - half);
        }
    }
    if (model.Columns() < 1 || model.Rows() < 1) {
        __builtin_trap();
    }
    size_t sum = 0;
    for (int y = 0; y < model.Rows(); ++y) {
        sum += model.RowText(y).size();
        sum += model.RowAttributes(y).size();
    }
    sum += model.Dump().size() + applied;
    return sum == 0 ? 0 : 0;
}
