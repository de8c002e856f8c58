#pragma once
// Where reads find their sections and keys among ProfileLines, by the
// reading rules in ProfileFile.h, and what those reads give. Built on first
// use after a change that moves sections or keys; a change of a value
// leaves it as it is.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "config/ProfileLines.h"

namespace mivra {

class ProfileIndex {
public:
    static constexpr size_t npos = ProfileLines::npos;

    // A section: its header and body lines. Block 0 is the nameless one
    // before the first header.
    struct Block {
        size_t header;      // line of "[name]", npos for the nameless one
        size_t begin, end;  // body lines
        size_t lastLine;    // last non-blank line of the body, npos if none
    };

    // Builds the index of `lines` anew if they changed shape since it was built.
    void Update(const ProfileLines& lines);

    // The reads of ProfileFile, on the `lines` the index was last updated for.
    std::optional<std::wstring> Get(const ProfileLines& lines, std::wstring_view section,
                                    std::wstring_view key) const;
    int GetInt(const ProfileLines& lines, std::wstring_view section, std::wstring_view key, int defaultValue) const;
    std::vector<std::wstring> SectionNames(const ProfileLines& lines) const;
    std::vector<std::wstring> KeyNames(const ProfileLines& lines, std::wstring_view section) const;
    bool HasSection(const ProfileLines& lines, std::wstring_view section) const;

    const std::vector<Block>& Blocks() const { return blocks_; }
    static std::wstring_view BlockName(const ProfileLines& lines, const Block& block) {
        return block.header == npos ? std::wstring_view() : lines.NameOf(lines[block.header]);
    }
    // The first block of that name (compared folded, as given), or npos.
    size_t FindBlock(const ProfileLines& lines, std::wstring_view name) const;
    // The line of the first key or text line of that name in the block that
    // reads see, or npos.
    size_t FindKey(const ProfileLines& lines, size_t block, std::wstring_view name) const;

    // Lines the system drops when it reads, in order.
    const std::vector<size_t>& Dropped() const { return dropped_; }
    bool IsDropped(size_t line) const;
    // Lines it writes back otherwise, in order: those holding a NUL, and
    // headers without a name.
    const std::vector<size_t>& Rewritten() const { return rewritten_; }

private:
    std::vector<Block> blocks_;
    std::unordered_map<std::uint64_t, size_t> firstBlock_;  // name hash -> block
    std::unordered_map<std::uint64_t, size_t> firstKey_;    // block and key hash -> line
    std::vector<size_t> dropped_;
    std::vector<size_t> rewritten_;
    bool built_ = false;
    std::uint64_t shape_ = 0;  // the lines' Shape() when built
};

}  // namespace mivra
