#pragma once
// Files shaped to make a parser of profile files do more work than their
// size calls for: shared by the test that counts the work and the benchmark
// that times it.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mivra::test {

// `piece` repeated until the text is at least `bytes` long.
inline std::string Repeat(std::string_view piece, size_t bytes) {
    std::string out;
    out.reserve(bytes + piece.size());
    while (out.size() < bytes) out += piece;
    return out;
}

// Each with its name: a lead byte before every break (which swallows it),
// one long line, many short lines, many headers, many "=" lines.
inline std::vector<std::pair<const char*, std::string>> HostileProfileFiles(size_t bytes) {
    return {
        {"a lead byte before every LF", "[Data]\n" + Repeat("a=\x81\n", bytes)},
        {"a lead byte before every CR", "[Data]\r" + Repeat("a=\x81\r", bytes)},
        {"a lead byte before every CR LF", "[Data]\r\n" + Repeat("a=\x81\r\n", bytes)},
        {"one long line", "[Data]\r\nk=" + Repeat("x", bytes)},
        {"many one-character lines", Repeat("a\n", bytes)},
        {"many headers", Repeat("[s]\r\n", bytes)},
        {"many \"=\" lines", "[Data]\r\n" + Repeat("=\r\n", bytes)},
        {"all of them mixed", Repeat("[\x81]=\x81\r\x81\n=,\x81=a,\n", bytes)},
    };
}

}  // namespace mivra::test
