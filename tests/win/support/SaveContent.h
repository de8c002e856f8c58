#pragma once
// The contents that the save writer cycles through: each names its own
// sequence number and is otherwise fully determined by it, so a reader can
// tell a whole save from a torn one.

#include <string>

namespace mivra::test {

inline std::string SaveContent(unsigned sequence) {
    std::string content = "[Config]\r\nSequence=" + std::to_string(sequence) + "\r\n[Data]\r\n";
    // Sizes differ from save to save, so that a torn write cannot pass for a whole one.
    const unsigned lines = 200 + sequence % 300;
    for (unsigned i = 0; i < lines; ++i)
        content += "g" + std::to_string(i) + "=" + std::string(64 + (i + sequence) % 64, char('A' + (sequence + i) % 26)) + ",\r\n";
    return content;
}

// The sequence number of a whole save, or -1 when `bytes` is anything else.
inline long long WholeSaveSequence(const std::string& bytes) {
    const std::string key = "[Config]\r\nSequence=";
    if (bytes.rfind(key, 0) != 0) return -1;
    const unsigned sequence = static_cast<unsigned>(std::stoul(bytes.substr(key.size(), 12)));
    return SaveContent(sequence) == bytes ? static_cast<long long>(sequence) : -1;
}

}  // namespace mivra::test
