// Loading and saving the groups: 10,000 items in 100 groups.
//   load: read, parse, decode, every group's items made
//                                            against reading the same bytes
//         and, apart, what a start pays before the first group shows (each
//         group's items are made from its records on first use)
//   save: encode, write atomically           against writing the same bytes
//         (every group made into items and written; and, as after a start,
//         one group's items changed and the others written back as loaded)
//                                            to a new file and renaming it
//   and the save against deleting section "Data" and writing it back with
//   one WritePrivateProfileString per group.
// Everything runs in this one process, alternately, and the medians are printed.
// Then the steps of a load and of a save one by one, and what copying the
// groups alone takes: the allocations that any load into the model makes.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "GroupMakers.h"
#include "HostileFiles.h"
#include "MemoryStorage.h"
#include "base/Files.h"
#include "base/Unique.h"
#include "base/WinCodePage.h"
#include "config/Configuration.h"
#include "config/FileConfigStorage.h"

namespace {

using namespace mivra;

std::vector<Group> MakeGroups(int groupCount, int itemsPerGroup) {
    using test::kTitleWords;
    static const wchar_t* const kFolders[] = {L"C:\\Program Files\\", L"C:\\Program Files (x86)\\",
                                              L"%rp%\\Tools\\", L"D:\\软件\\", L"%rr%\\Portable\\"};
    std::mt19937 random(7);
    std::vector<Group> groups;
    for (int g = 0; g < groupCount; ++g) {
        Group group{std::wstring(kTitleWords[g % 12]) + L" " + std::to_wstring(g), {}};
        for (int i = 0; i < itemsPerGroup; ++i) {
            const std::wstring name = std::wstring(kTitleWords[random() % 12]) + std::to_wstring(i);
            const std::wstring path =
                std::wstring(kFolders[random() % 5]) + name + L"\\" + L"app" + std::to_wstring(random() % 1000) + L".exe";
            group.Items().push_back({name, path, random() % 3 ? path : L"", random() % 4 ? L"" : L"--profile default",
                                   std::to_wstring(random() % 500)});
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

bool WriteNewFileAndRename(const std::wstring& path, const std::string& bytes) {
    const std::wstring staged = path + L".floor";
    {
        win::UniqueFile file(CreateFileW(staged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            !FlushFileBuffers(file.get()))
            return false;
    }
    return MoveFileExW(staged.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// The profile-function way: the section deleted, then one write per group.
void SaveGroupByGroup(const std::wstring& path, const std::vector<Group>& groups) {
    WritePrivateProfileStringW(L"Data", nullptr, nullptr, path.c_str());
    for (const Group& group : groups)
        WritePrivateProfileStringW(L"Data", group.title.c_str(), GetData(win::SystemCodePage(), group).c_str(),
                                   path.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? _wtoi(argv[1]) : 15;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = std::wstring(temp) + L"mivra-data-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring ours = dir + L"\\Mivra.cfg", floor = dir + L"\\Floor.cfg", legacy = dir + L"\\Legacy.cfg";

    const auto& cp = win::SystemCodePage();
    const std::vector<Group> groups = MakeGroups(100, 100);
    win::FileConfigStorage storage(ours);
    test::QuietNotifier quiet;
    Configuration config(cp, storage, quiet);
    config.SetConfig(Opt::Version, L"1.3.6", L"", true);
    config.SaveGroups(groups);
    const std::string bytes = *win::ReadWholeFile(ours);

    std::vector<double> loadFloor, loadOurs, makeItems, saveFloor, saveOurs, saveOne;
    // What a save after a start writes: one group's items changed (a start
    // counts), the others go back as they were loaded.
    std::optional<LoadedData> started = Configuration(cp, storage, quiet).LoadGroups();
    ItemRecord& counted = started->groups[0].Items()[0];
    size_t loadedItems = 0;
    for (int round = -2; round < rounds; ++round) {  // two warm-up rounds
        bench::Laps lap(round >= 0);
        std::optional<std::string> read = win::ReadWholeFile(ours);
        lap.To(loadFloor);
        // A fresh configuration reads the file, as a start does.
        std::optional<LoadedData> loaded = Configuration(cp, storage, quiet).LoadGroups();
        lap.To(loadOurs);
        loadedItems = 0;
        for (const Group& g : loaded->groups) loadedItems += g.Items().size();
        lap.To(makeItems);
        WriteNewFileAndRename(floor, bytes);
        lap.To(saveFloor);
        config.SaveGroups(groups);
        lap.To(saveOurs);
        counted.count = std::to_wstring(round + 100);
        WriteNewFileAndRename(floor, bytes);
        lap.To(saveFloor);
        config.SaveGroups(started->groups);
        lap.To(saveOne);
        // What is timed must be what it says: the file read and decoded
        // whole, and the changed count in the file afterwards.
        if (read->size() != bytes.size() || loadedItems != 10000 ||
            Configuration(cp, storage, quiet).LoadGroups()->groups[0].Items()[0].count != counted.count) {
            std::fprintf(stderr, "data_bench: the load or the save did not do its work: no figures\n");
            return 1;
        }
    }

    std::vector<double> legacyTimes;
    WriteNewFileAndRename(legacy, bytes);
    for (int round = 0; round < 3; ++round) {
        double t0 = bench::NowMilliseconds();
        SaveGroupByGroup(legacy, groups);
        legacyTimes.push_back(bench::NowMilliseconds() - t0);
    }

    const double lf = bench::Median(loadFloor), lo = bench::Median(loadOurs), mi = bench::Median(makeItems);
    const double sf = bench::Median(saveFloor), so = bench::Median(saveOurs), s1 = bench::Median(saveOne);
    const double legacyMs = bench::Median(legacyTimes);
    std::printf("data file: %zu groups, %zu items, %zu bytes; medians of %d rounds\n", groups.size(), loadedItems,
                bytes.size(), rounds);
    std::printf("  load  floor (read the bytes)          %8.2f ms\n", lf);
    std::printf("  load  ours (read, parse, decode, every group's items made) %8.2f ms   ratio %5.2f (target: at most 3)\n",
                lo + mi, (lo + mi) / lf);
    std::printf("        of it, what a start pays before the first group shows (read, parse, decode) %8.2f ms, "
                "ratio %5.2f;\n        the items of every group made after that %.2f ms\n",
                lo, lo / lf, mi);
    std::printf("  save  floor (write new file, rename)  %8.2f ms\n", sf);
    std::printf("  save  ours (encode, atomic write)     %8.2f ms   ratio %5.2f (target: at most 2)\n", so, so / sf);
    std::printf("  save  ours, one group's items changed since the load, the others as loaded %8.2f ms   ratio %5.2f\n",
                s1, s1 / sf);
    std::printf("  save  section deleted, then one profile write per group %8.2f ms   ours is %.1fx faster (target: at least 20)\n",
                legacyMs, legacyMs / so);

    // Where the time goes: the steps of a load and of a save, one by one.
    std::vector<double> stepRead, stepParse, stepDecode, stepEncode, stepSplice, stepWrite, stepCopy;
    ProfileFile kept(cp, bytes);
    std::string section;
    for (int round = -2; round < rounds; ++round) {
        bench::Laps lap(round >= 0);
        std::optional<std::string> read = win::ReadWholeFile(ours);
        lap.To(stepRead);
        const ProfileFile parsed(cp, std::move(*read));
        lap.To(stepParse);
        const LoadedData decoded = LoadData(cp, parsed.Bytes());
        lap.To(stepDecode);
        section.clear();
        AppendDataSection(cp, groups, "\r\n", section);
        lap.To(stepEncode);
        kept.ReplaceSection(kDataSection, false, [&](std::string& out, std::string_view) { out += section; });
        const std::string& whole = kept.Bytes();
        lap.To(stepSplice);
        win::WriteFileAtomically(ours, whole);
        lap.To(stepWrite);
        const std::vector<Group> copy = groups;
        lap.To(stepCopy);
    }
    std::printf("  steps: load = read %.2f + parse %.2f + decode %.2f ms; save = encode %.2f + splice %.2f + write %.2f ms\n",
                bench::Median(stepRead), bench::Median(stepParse), bench::Median(stepDecode), bench::Median(stepEncode),
                bench::Median(stepSplice), bench::Median(stepWrite));
    std::printf("  copying the groups alone (the model's own allocations) %.2f ms\n", bench::Median(stepCopy));

    // Hostile files cost in proportion to their size: a load (parse and a
    // read of one key), one settings write and the data section replaced.
    std::printf("hostile files (the system's code page, %u): load / one write / section replaced, medians of 5\n",
                GetACP());
    for (const size_t megabytes : {1, 4}) {
        const auto files = test::HostileProfileFiles(megabytes << 20);
        for (const auto& [name, hostile] : files) {
            std::vector<double> load, write, replace;
            for (int round = 0; round < 5; ++round) {
                bench::Laps lap(true);
                ProfileFile file(cp, hostile);
                (void)file.Get(L"Config", L"Version");
                lap.To(load);
                file.Set(L"Config", L"Version", L"1.3.6");
                lap.To(write);
                file.ReplaceSection(L"Data", {"g=,"});
                lap.To(replace);
                if (!file.Get(L"Config", L"Version")) {
                    std::fprintf(stderr, "data_bench: the hostile file was not written: no figures\n");
                    return 1;
                }
            }
            std::printf("  %u MB %-30s %8.1f / %8.1f / %8.1f ms\n", static_cast<unsigned>(megabytes), name,
                        bench::Median(load), bench::Median(write), bench::Median(replace));
        }
    }

    for (const std::wstring& f : {ours, floor, legacy}) DeleteFileW(f.c_str());
    RemoveDirectoryW(dir.c_str());
    return 0;
}
