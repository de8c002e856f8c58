#include "config/ProfileIndex.h"

#include <algorithm>

#include "config/ProfileInt.h"
#include "config/ProfileText.h"
#include "text/CaseFold.h"

namespace mivra {
using namespace profile;
namespace {

using Kind = ProfileLines::Kind;
using Line = ProfileLines::Line;

std::uint64_t KeySlot(size_t block, std::uint64_t keyHash) { return keyHash ^ ((block + 1) * 0x9E3779B97F4A7C15ull); }

bool IsQuoted(std::wstring_view v) { return v.size() >= 2 && (v[0] == L'"' || v[0] == L'\'') && v.back() == v[0]; }

}  // namespace

void ProfileIndex::Update(const ProfileLines& lines) {
    if (built_ && shape_ == lines.Shape()) return;
    blocks_.clear();
    firstBlock_.clear();
    firstKey_.clear();
    dropped_.clear();
    rewritten_.clear();
    blocks_.push_back({npos, 0, 0, npos});
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.nul || (line.kind == Kind::Section && line.nameSize == 0)) rewritten_.push_back(i);
        if (line.kind != Kind::Section) continue;
        blocks_.back().end = i;
        blocks_.push_back({i, i + 1, i + 1, npos});
    }
    blocks_.back().end = lines.size();
    firstBlock_.reserve(blocks_.size());
    firstKey_.reserve(lines.size());
    for (size_t b = 0; b < blocks_.size(); ++b) {
        Block& block = blocks_[b];
        firstBlock_.try_emplace(HashFolded(BlockName(lines, block)), b);
        bool havePrevious = false, previousUnnamed = false;
        for (size_t i = block.begin; i < block.end; ++i) {
            const Line& line = lines[i];
            if (line.kind == Kind::Blank) continue;
            block.lastLine = i;
            // The system keeps only the first of several empty names in a row.
            if (line.bareEquals && havePrevious && previousUnnamed) {
                dropped_.push_back(i);
                continue;
            }
            havePrevious = true;
            previousUnnamed = line.nameSize == 0;
            firstKey_.try_emplace(KeySlot(b, line.hash), i);
        }
    }
    built_ = true;
    shape_ = lines.Shape();
}

bool ProfileIndex::IsDropped(size_t line) const { return std::binary_search(dropped_.begin(), dropped_.end(), line); }

size_t ProfileIndex::FindBlock(const ProfileLines& lines, std::wstring_view name) const {
    const auto it = firstBlock_.find(HashFolded(name));
    if (it == firstBlock_.end()) return npos;
    if (EqualsFolded(BlockName(lines, blocks_[it->second]), name)) return it->second;
    for (size_t b = 0; b < blocks_.size(); ++b)  // another name with the same hash
        if (EqualsFolded(BlockName(lines, blocks_[b]), name)) return b;
    return npos;
}

size_t ProfileIndex::FindKey(const ProfileLines& lines, size_t block, std::wstring_view name) const {
    const auto it = firstKey_.find(KeySlot(block, HashFolded(name)));
    if (it == firstKey_.end()) return npos;
    const Block& b = blocks_[block];
    if (it->second >= b.begin && it->second < b.end && EqualsFolded(lines.NameOf(lines[it->second]), name))
        return it->second;
    for (size_t i = b.begin; i < b.end; ++i) {  // another name with the same slot
        const Line& line = lines[i];
        if (line.kind != Kind::Key && line.kind != Kind::Text) continue;
        if (IsDropped(i)) continue;
        if (EqualsFolded(lines.NameOf(line), name)) return i;
    }
    return npos;
}

std::optional<std::wstring> ProfileIndex::Get(const ProfileLines& lines, std::wstring_view section,
                                              std::wstring_view key) const {
    const size_t b = FindBlock(lines, Trim(UpToNul(section)));
    const size_t i = b == npos ? npos : FindKey(lines, b, Trim(UpToNul(key)));
    if (i == npos || lines[i].kind != Kind::Key) return std::nullopt;
    std::wstring value = lines.ValueText(lines[i]);
    if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
    return value;
}

int ProfileIndex::GetInt(const ProfileLines& lines, std::wstring_view section, std::wstring_view key,
                         int defaultValue) const {
    const size_t b = FindBlock(lines, Trim(UpToNul(section)));
    const size_t i = b == npos ? npos : FindKey(lines, b, Trim(UpToNul(key)));
    if (i == npos || lines[i].kind != Kind::Key) return defaultValue;
    // The system reads the value into 30 characters, and drops the closing
    // quote only when the value fits, counting the quote as if it did not.
    const std::wstring text = lines.ValueText(lines[i]);
    std::wstring_view value = text, read;
    if (IsQuoted(value)) {
        value.remove_prefix(1);
        read = value.substr(0, 29);
        if (value.size() <= 30) read.remove_suffix(1);
    } else {
        read = value.substr(0, 29);
    }
    return read.empty() ? defaultValue : ProfileIntOf(read);
}

std::vector<std::wstring> ProfileIndex::SectionNames(const ProfileLines& lines) const {
    std::vector<std::wstring> names;
    for (size_t b = 1; b < blocks_.size(); ++b) {
        const std::wstring_view name = BlockName(lines, blocks_[b]);
        if (!name.empty()) names.emplace_back(name);
    }
    return names;
}

std::vector<std::wstring> ProfileIndex::KeyNames(const ProfileLines& lines, std::wstring_view section) const {
    std::vector<std::wstring> names;
    const size_t b = FindBlock(lines, UpToNul(section));
    if (b == npos) return names;
    for (size_t i = blocks_[b].begin; i < blocks_[b].end; ++i) {
        const Line& line = lines[i];
        if (line.kind != Kind::Key || IsDropped(i)) continue;
        const std::wstring_view name = lines.NameOf(line);
        if (!name.empty() && name[0] == L';') continue;  // a comment
        names.emplace_back(name);
    }
    return names;
}

bool ProfileIndex::HasSection(const ProfileLines& lines, std::wstring_view section) const {
    const std::wstring_view name = Trim(UpToNul(section));
    return !name.empty() && FindBlock(lines, name) != npos;
}

}  // namespace mivra
