#pragma once
// Groups and the five text fields of an item, as they are stored.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mivra {

class AnsiCodePage;

// Which item a record is while the program runs, so that a window holding
// an item (the item editor) finds it again after the group was sorted,
// reordered or moved. 0 until someone asks; never stored, and never part of
// a record's value: records are equal whatever their serials.
struct ItemSerial {
    std::uint64_t value = 0;
    friend bool operator==(ItemSerial, ItemSerial) { return true; }
};

struct ItemRecord {
    std::wstring title;
    std::wstring path;      // a portable path or a web address
    std::wstring icoPath;   // the file or folder whose shell icon is shown
    std::wstring argument;  // stored as "Parm"
    std::wstring count;     // launches, decimal text
    ItemSerial serial;

    bool operator==(const ItemRecord&) const = default;
};

// A loaded group's records as the file holds them once the line's encoding
// is undone: the ANSI bytes of each record, already checked to be whole.
// Turning them into text and fields is most of a load's cost, and a start
// shows one group: the others are made into items when they are first used.
struct StoredRecords {
    struct Record {
        size_t begin, size;
        bool ascii;  // every code page reads the bytes as themselves
    };
    const AnsiCodePage* codePage = nullptr;  // the one they were read with; outlives the groups
    std::string bytes;
    std::vector<Record> records;
};

class Group {
public:
    Group() = default;
    Group(std::wstring title, std::vector<ItemRecord> items = {})
        : title(std::move(title)), items_(std::move(items)) {}
    // A loaded group whose items are made from `stored` on first use.
    static Group Loaded(std::wstring title, std::shared_ptr<const StoredRecords> stored) {
        Group group(std::move(title));
        group.stored_ = std::move(stored);
        return group;
    }

    std::wstring title;  // never holds "="

    // The items in tab order. The first call on a loaded group makes them
    // from its stored records (the user-interface thread is the only caller).
    std::vector<ItemRecord>& Items() {
        MakeItems();
        return items_;
    }
    const std::vector<ItemRecord>& Items() const {
        MakeItems();
        return items_;
    }

    // The records as loaded while nobody has asked for the items: a save
    // writes them back without making them into text first.
    const StoredRecords* Stored() const { return stored_.get(); }

    bool operator==(const Group& other) const { return title == other.title && Items() == other.Items(); }

private:
    void MakeItems() const;

    mutable std::vector<ItemRecord> items_;
    mutable std::shared_ptr<const StoredRecords> stored_;  // shared by copies; never changed
};

}  // namespace mivra
