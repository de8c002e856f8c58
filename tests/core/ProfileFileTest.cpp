#include "config/ProfileFile.h"

#include "CountingCodePage.h"
#include "HostileFiles.h"
#include "config/Backups.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "GreedyDbcsCodePage.h"
#include "IconvCodePage.h"

namespace mivra {
namespace {

using namespace std::string_literals;
using test::IconvCodePage;

const IconvCodePage gbk("CP936");

const test::GreedyDbcsCodePage greedy;

using Value = std::optional<std::wstring>;

std::wstring Trimmed(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? L"" : text.substr(first, text.find_last_not_of(L' ') + 1 - first);
}
struct Query {
    std::wstring section, key;
    Value value;
};

void ExpectReads(const ProfileFile& file, const std::vector<Query>& queries, const std::string& context) {
    for (const auto& q : queries)
        EXPECT_EQ(file.Get(q.section, q.key), q.value) << context << " [" << testing::PrintToString(q.section)
                                                        << "] " << testing::PrintToString(q.key);
}

TEST(ProfileFile, ReadsValuesAsTheSystemDoes) {
    struct Case {
        std::string bytes;
        std::vector<Query> queries;
    };
    const Case cases[] = {
        // Blanks around names and values go; the ideographic space stays.
        {"[S]\r\n \t k \x0b= \t v w \x1a\x0c\r\n\xa1\xa1u\xa1\xa1=\xa1\xa1x\xa1\xa1\r\n",
         {{L"S", L"k", L"v w"}, {L" S\t", L"\tk ", L"v w"}, {L"S", L"\x3000u\x3000", L"\x3000x\x3000"}, {L"S", L"u", {}}}},
        // Matching quotes go, either kind; nothing else does.
        {"[S]\r\na='x'\r\nb=\"x\"\r\nc=\"x'\r\nd=\"\r\ne=\"\"\r\nf= \" x \" \r\ng=\"a\"b\"\r\nh='''\r\n",
         {{L"S", L"a", L"x"}, {L"S", L"b", L"x"}, {L"S", L"c", L"\"x'"}, {L"S", L"d", L"\""}, {L"S", L"e", L""},
          {L"S", L"f", L" x "}, {L"S", L"g", L"a\"b"}, {L"S", L"h", L"'"}}},
        // Keys before any section; a line without "=" is a key without a value
        // and hides a later line of its name; "[e" is a key line; "[]" and
        // "[ ]" name no reachable section.
        {"top=1\r\n[S]\r\nbare\r\nbare=2\r\nempty=\r\n[e\r\n;c=3\r\n[]\r\nx=4\r\n[ ]\r\ny=5\r\n",
         {{L"", L"top", L"1"}, {L"S", L"bare", {}}, {L"S", L"empty", L""}, {L"S", L"[e", {}}, {L"S", L";c", L"3"},
          {L"", L"x", {}}, {L"", L"y", {}}, {L"S", L"missing", {}}, {L"T", L"top", {}}}},
        // Section names run to the last "]" and are trimmed; text after it is ignored.
        {"[a]b]\r\nk=1\r\n [ c ] junk ] x \r\nk=2\r\n[[d]]\r\nk=3\r\n",
         {{L"a]b", L"k", L"1"}, {L"c ] junk", L"k", L"2"}, {L"[d]", L"k", L"3"}, {L"a", L"k", {}}}},
        // First occurrence wins, for sections and keys, whatever their case.
        {"[S]\r\nk=1\r\nK=2\r\n[s]\r\nk=3\r\nj=4\r\n",
         {{L"S", L"k", L"1"}, {L"s", L"K", L"1"}, {L"S", L"j", {}}}},
        // Letter case folds beyond ASCII (GBK: é, Greek, Cyrillic, fullwidth).
        {"[\xa8\xa6\xa6\xd2\xa7\xf1\xa3\xe1]\r\n\xa6\xd2\xa6\xb2=1\r\n",
         {{L"\x00c9\x03a3\x042f\xff21", L"\x03c3\x03c2", L"1"}, {L"\x00e9\x03c3\x044f\xff41", L"\x03a3\x03a3", L"1"}}},
        // Names and values end at a NUL; the name is trimmed before that.
        {"[S]\r\na=1\0b\r\nc\0d=2\r\ne \0=3\r\n[T\0X]\r\nf=4\r\n"s,
         {{L"S", L"a", L"1"}, {L"S", L"c", L"2"}, {L"S", L"e", {}}, {L"T", L"f", L"4"}}},
        // An empty name is a key; a second empty name right after it is dropped.
        {"[S]\r\n=x\r\n=y\r\n[T]\r\n\0q\r\n=z\r\n"s, {{L"S", L"", L"x"}, {L"T", L"", {}}}},
        // CR LF, LF and a lone CR all end lines; blank lines count for nothing;
        // the last line needs no break.
        {"[S]\ra=1\nb=2\r\n\r\n\n\rc=3\n\r[T]\rd=4", {{L"S", L"a", L"1"}, {L"S", L"b", L"2"}, {L"S", L"c", L"3"}, {L"T", L"d", L"4"}}},
        // Long lines, also behind names that are not ASCII, as in the data section.
        {"[S]\r\nlong=" + std::string(70000, 'x') + "\r\n" + std::string(30000, 'k') + "=2",
         {{L"S", L"long", std::wstring(70000, L'x')}, {L"S", std::wstring(30000, L'k'), L"2"}}},
        {"[S]\r\n \xd6\xd0 \xce\xc4 = " + std::string(70000, 'y') + " \x1a\r\n\xd6\xd0=a=\"b\0c\"\r\n\xce\xc4=\t'q'\t\r\n"s,
         {{L"S", L"中 文", std::wstring(70000, L'y')}, {L"S", L"中", L"a=\"b"}, {L"S", L"文", L"q"}}},
    };
    for (const auto& c : cases) ExpectReads(ProfileFile(gbk, c.bytes), c.queries, c.bytes.substr(0, 60));
}

TEST(ProfileFile, DecodesBeforeLookingForBracketsAndBreaks) {
    // 盷 is B1 5D and 盵 is B1 5B in GBK: their trail bytes are "]" and "[".
    const ProfileFile file(gbk,
                           "[\xd6\xd0\xb1\x5d]\r\nk=1\r\n[\xb1\x5b\xce\xc4]\r\n\xb1\x5d=x\xb1\x5b\r\n"
                           "[\xb1\x5d\r\nj=2\r\n");
    ExpectReads(file,
                {{L"中盷", L"k", L"1"}, {L"盵文", L"盷", L"x盵"}, {L"盵文", L"j", L"2"}, {L"中", L"k", {}}},
                "gbk");
    EXPECT_EQ(file.SectionNames(), (std::vector<std::wstring>{L"中盷", L"盵文"}));

    // A lead byte that swallows the break joins two lines, as the system reads them.
    const ProfileFile joined(greedy, "[S]\r\na=1\x81\nb=2\r\nc=3\x81\r\nd=4\r\ne\x81=5\r\n[T\x81]\r\nf=6\r\n[U]\r\ng=\x81");
    ExpectReads(joined,
                {{L"S", L"a", L"1\x4f0a" L"b=2"}, {L"S", L"b", {}}, {L"S", L"c", L"3\x4f0d"}, {L"S", L"d", L"4"},
                 {L"S", L"f", L"6"}, {L"U", L"g", L"?"}},
                "greedy");
    EXPECT_EQ(joined.KeyNames(L"S"), (std::vector<std::wstring>{L"a", L"c", L"d", L"f"}));

    // A lead byte right before "=" takes it: the line has no value, and
    // hides a later line of what is left as its name.
    const ProfileFile taken(greedy, "[S]\r\nk\x81=" + std::string(40, 'v') + "\r\nk\x81=2\r\nj=3\r\n");
    ExpectReads(taken, {{L"S", L"k\x4f3d" + std::wstring(40, L'v'), {}}, {L"S", L"k", {}}, {L"S", L"j", L"3"}}, "taken");
    EXPECT_EQ(taken.KeyNames(L"S"), (std::vector<std::wstring>{L"j"}));
}

TEST(ProfileFile, ListsSectionsAndKeysAsTheSystemDoes) {
    const ProfileFile file(gbk,
                           "a=1\r\n[S]\r\nk=1\r\nbare\r\n;c=2\r\nK=3\r\n=4\r\ne \0=5\r\n[T]\r\n[]\r\n[s]\r\nj=1\r\n[;x]\r\n"s);
    EXPECT_EQ(file.SectionNames(), (std::vector<std::wstring>{L"S", L"T", L"s", L";x"}));
    const std::pair<std::wstring, std::vector<std::wstring>> keys[] = {
        {L"S", {L"k", L"K", L"", L"e "}},  // duplicates stay; comments and lines without "=" do not
        {L"s", {L"k", L"K", L"", L"e "}},  // the first section of the name
        {L"", {L"a"}},
        {L" S", {}},  // not trimmed
        {L"T", {}},
        {L"missing", {}},
    };
    for (const auto& [section, names] : keys) EXPECT_EQ(file.KeyNames(section), names) << testing::PrintToString(section);
    EXPECT_TRUE(file.HasSection(L" s "));
    EXPECT_TRUE(file.HasSection(L";X"));
    EXPECT_FALSE(file.HasSection(L""));
    EXPECT_FALSE(file.HasSection(L"U"));
}

TEST(ProfileFile, ReadsIntegersAsTheSystemDoes) {
    const std::pair<std::wstring, int> values[] = {
        {L"12", 12},       {L"  12", 12},      {L"\x01 5", 5},        {L"+5", 5},
        {L"-5", -5},       {L"+-5", 0},        {L"- 5", 0},           {L"12abc", 12},
        {L"abc", 0},       {L"", 0},           {L"1e5", 1},           {L"010", 10},
        {L"0x1A", 26},     {L"0X1a", 0},       {L"0x", 0},            {L"0x1g", 1},
        {L"-0x10", -16},   {L"0b101", 5},      {L"0b12", 1},          {L"0o17", 15},
        {L"0O7", 0},       {L"00x5", 0},       {L"\xff11\xff12", 0},  {L"2147483648", -2147483647 - 1},
        {L"4294967295", -1}, {L"4294967296", 0}, {L"99999999999", 1215752191}, {L"-2147483649", 2147483647},
        {L"0xFFFFFFFF", -1}, {L"0x100000000", 0},
        {std::wstring(40, L'1'), 1729917383},  // only 29 digits count
    };
    for (const auto& [text, number] : values) EXPECT_EQ(ProfileIntOf(text), number) << testing::PrintToString(text);

    const ProfileFile file(gbk,
                           "[S]\r\nq=\"-3\"\r\nempty=\r\nquotes=\"\"\r\nbare\r\n"
                           "q28=\"" + std::string(28, '1') + "\"\r\nq29=\"" + std::string(29, '1') + "\"\r\nq30=\"" +
                               std::string(30, '1') + "\"\r\n");
    const std::pair<std::wstring, int> keys[] = {
        {L"q", -3}, {L"empty", 7}, {L"quotes", 7}, {L"bare", 7}, {L"missing", 7},
        // The system drops the closing quote of a value of exactly 29
        // characters, and the last digit with it.
        {L"q28", 1461481927}, {L"q29", 1461481927}, {L"q30", 1729917383},
    };
    for (const auto& [key, number] : keys) EXPECT_EQ(file.GetInt(L"S", key, 7), number) << testing::PrintToString(key);
}

TEST(ProfileFile, WritesOnlyTheLinesItMust) {
    struct Case {
        const char* what;
        std::string before;
        std::function<void(ProfileFile&)> write;
        std::string after;
    };
    const Case cases[] = {
        {"a changed key keeps its place and its spacing",
         "; \xd6\xd0\r\n[S]\r\nk = old \r\nx=1\n[T]\r\n",
         [](ProfileFile& f) { f.Set(L"S", L"K", L"new"); },
         "; \xd6\xd0\r\n[S]\r\nk = new\r\nx=1\n[T]\r\n"},
        {"the same value changes nothing", "[S]\r\nk =  v  \r\n", [](ProfileFile& f) { f.Set(L" s", L"k ", L" v"); },
         "[S]\r\nk =  v  \r\n"},
        {"a new key goes after the last line of its section, before blank lines; names and value lose leading blanks",
         "[S]\r\na=1\r\n;c\r\n\r\n[T]\nb=2", [](ProfileFile& f) { f.Set(L"S", L" c ", L" 3 "); },
         "[S]\r\na=1\r\n;c\r\nc =3 \r\n\r\n[T]\nb=2"},
        {"a new key at the end of the file ends the last line first", "[T]\nb=2",
         [](ProfileFile& f) { f.Set(L"T", L"c", L"\x4e2d"); }, "[T]\nb=2\n" "c=\xd6\xd0\n"},
        {"a new section goes at the end, in the file's line breaks", "[S]\na=1",
         [](ProfileFile& f) { f.Set(L" U\t", L"k", L"v"); }, "[S]\na=1\n[U\t]\nk=v\n"},
        {"a new section into an empty file", "", [](ProfileFile& f) { f.Set(L"U", L"k", L""); }, "[U]\r\nk=\r\n"},
        {"the nameless section is at the top", "[S]\r\na=1\r\n", [](ProfileFile& f) { f.Set(L"", L"k", L"v"); },
         "k=v\r\n[S]\r\na=1\r\n"},
        {"a line without '=' takes the value where it stands", "[S]\r\n  a  \r\nb=1\r\n",
         [](ProfileFile& f) { f.Set(L"S", L"a", L"x"); }, "[S]\r\n  a  =x\r\nb=1\r\n"},
        {"a key line that turns into a header is written as the system writes it", "[S]\r\n [x = 1\r\n",
         [](ProfileFile& f) { f.Set(L"S", L"[x", L"y]"); }, "[S]\r\n[x=y]\r\n"},
        {"a value with line breaks makes lines", "[S]\r\nk=1\r\nj=2\r\n",
         [](ProfileFile& f) { f.Set(L"S", L"k", L"v\r\n[X]\r\ny=1"); }, "[S]\r\nk=v\r\n[X]\r\ny=1\r\nj=2\r\n"},
        {"DeleteKey removes the first line of the key, in a later section if need be",
         "[S]\r\nk=1\r\nK=2\r\n[s]\r\nj=3\r\n",
         [](ProfileFile& f) {
             f.DeleteKey(L"S", L"k");
             f.DeleteKey(L"S", L"J");
             f.DeleteKey(L" S", L"K");  // names are not trimmed
             f.DeleteKey(L"S", L"missing");
         },
         "[S]\r\nK=2\r\n[s]\r\n"},
        {"DeleteSection removes the first section of the name, and the nameless one",
         "a=0\r\n[S]\r\nk=1\r\n\r\n[T]\r\nt=1\r\n[s]\r\nk=2",
         [](ProfileFile& f) {
             f.DeleteSection(L"s");
             f.DeleteSection(L"");
             f.DeleteSection(L"T ");  // not trimmed
         },
         "[T]\r\nt=1\r\n[s]\r\nk=2"},
        {"ReplaceSection keeps the section's place and the blank lines after it, and empties its namesakes",
         "[S]\r\nk=1\r\n; c\r\n\r\n[T]\r\nt=1\r\n[s]\r\nk=2\r\n",
         [](ProfileFile& f) { f.ReplaceSection(L"S", {"x=1", "y=\xd6\xd0"}); },
         "[S]\r\nx=1\r\ny=\xd6\xd0\r\n\r\n[T]\r\nt=1\r\n[s]\r\n"},
        {"ReplaceSection adds a missing section at the end", "[S]\r\nk=1",
         [](ProfileFile& f) { f.ReplaceSection(L"U", {"x=1"}); }, "[S]\r\nk=1\r\n[U]\r\nx=1\r\n"},
        {"a writer of the lines gets the file's line break", "[S]\nk=1\n[T]\nt=1\n",
         [](ProfileFile& f) {
             f.ReplaceSection(L"S", false, [](std::string& out, std::string_view lineBreak) {
                 out += "\xd6\xd0=" + std::string(100, 'v');
                 out += lineBreak;
             });
         },
         "[S]\n\xd6\xd0=" + std::string(100, 'v') + "\n[T]\nt=1\n"},
        {"lines the system drops go with any change", "[S]\r\n=x\r\n=y\r\nb=1\r\n",
         [](ProfileFile& f) { f.DeleteKey(L"S", L""); }, "[S]\r\nb=1\r\n"},
        {"after any change, lines with a NUL read anew and nameless headers go",
         "[S]\r\ne \0=3\r\nv=x \0y\r\n[]\r\nb=2\r\n[a \0]\r\nc=4\r\n\0abc\r\n"s,
         [](ProfileFile& f) { f.Set(L"S", L"x", L"1"); },
         "[S]\r\ne =3\r\nv=x \r\nx=1\r\nb=2\r\n[a ]\r\nc=4\r\n\r\n"},
        {"no change, no rewriting", "[S]\r\nk=1\r\n[]\r\nv=\0\r\n"s,
         [](ProfileFile& f) {
             f.Set(L"S", L"k", L"1");
             f.DeleteKey(L"S", L"missing");
             f.DeleteSection(L"missing");
             f.ReplaceSection(L"missing", {});
         },
         "[S]\r\nk=1\r\n[]\r\nv=\0\r\n"s},
    };
    for (const auto& c : cases) {
        ProfileFile file(gbk, c.before);
        c.write(file);
        EXPECT_EQ(file.Bytes(), c.after) << c.what;
    }
}

TEST(ProfileFile, EndsALineWithADanglingLeadByteAsItReads) {
    ProfileFile file(greedy, "[S]\nk=\x81");
    file.Set(L"U", L"j", L"1");
    EXPECT_EQ(file.Bytes(), "[S]\nk=?\n[U]\nj=1\n");
    EXPECT_EQ(file.Get(L"U", L"j"), L"1");
}

TEST(ProfileFile, SetReportsTextTheCodePageCannotHold) {
    ProfileFile file(gbk, "");
    EXPECT_TRUE(file.Set(L"中文", L"键", L"值"));
    EXPECT_FALSE(file.Set(L"S", L"k", L"a\x0e01"));  // Thai is not in GBK
    EXPECT_EQ(file.Get(L"S", L"k"), L"a?");
}

// Random files and writes: what the object reads after each write is what a
// fresh parse of its bytes reads, and a plain value reads back as set.
TEST(ProfileFile, ReadsAfterWritesAgreeWithReadingTheWrittenBytes) {
    const std::wstring names[] = {L"a", L"A", L"b", L"中", L"盷", L"ａ", L"Σ", L"σ", L"", L" a ", L";c", L"[x"};
    const std::wstring values[] = {L"1", L"", L" v ", L"\"q\"", L"x=y", L"中文", L"a\r\nb=2", L"[T]", L"\r\n=z"};
    const std::string fragments[] = {"[a]", "[A] x", "[\xd6\xd0]", "[]", "k=1", "K=2", "=e", "=f", "bare", ";c=3",
                                     " \t", "[\xb1\x5d]", "\xb1\x5d=4", "\xa3\xe1=5", "q=\"6\"", "x\0=7"s};
    const std::string breaks[] = {"\r\n", "\n", "\r", ""};
    std::mt19937 random(20240611);
    auto pick = [&](const auto& list) { return list[random() % std::size(list)]; };
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        for (int n = random() % 12; n > 0; --n) bytes += pick(fragments) + pick(breaks);
        ProfileFile file(gbk, bytes);
        for (int step = 0; step < 6; ++step) {
            const std::wstring section = pick(names), key = pick(names), value = pick(values);
            switch (random() % 4) {
                case 0: file.DeleteKey(section, key); break;
                case 1: file.DeleteSection(section); break;
                case 2: file.ReplaceSection(section, {"k=9", "\xd6\xd0=8"}); break;
                default:
                    file.Set(section, key, value);
                    // A value without line breaks reads back, unless quotes or
                    // an odd key name get in the way.
                    if (value.find_first_of(L"\r\n\"") == std::wstring::npos && !key.empty() && key[0] != L'[') {
                        EXPECT_EQ(file.Get(section, key), Trimmed(value)) << testing::PrintToString(bytes);
                    }
            }
            const ProfileFile reread(gbk, file.Bytes());
            ASSERT_EQ(file.SectionNames(), reread.SectionNames()) << testing::PrintToString(bytes);
            for (const auto& s : names) {
                ASSERT_EQ(file.KeyNames(s), reread.KeyNames(s)) << testing::PrintToString(bytes);
                for (const auto& k : names) ASSERT_EQ(file.Get(s, k), reread.Get(s, k)) << testing::PrintToString(bytes);
            }
        }
    }
}

}  // namespace
}  // namespace mivra

namespace mivra {
namespace {

TEST(ProfileFile, RevisionGrowsOnlyWhenTheBytesChange) {
    static const test::IconvCodePage codePage("CP936");
    ProfileFile file(codePage, "[Config]\r\nA=1\r\n");
    const auto start = file.Revision();
    file.Set(L"Config", L"A", L"1");
    file.DeleteKey(L"Config", L"Missing");
    EXPECT_EQ(file.Revision(), start);
    file.Set(L"Config", L"A", L"2");
    EXPECT_GT(file.Revision(), start);
}

// A lone CR before a removed line and the LF after it come to read as one
// break: the engine reads them so too, and the next change takes out whole
// lines, as a fresh read of the bytes has them.
TEST(ProfileFile, BreaksThatMeetAfterAChangeReadAsOne) {
    ProfileFile file(gbk, "[s]\nx=1\rk=2\n\nz=3\n");
    file.DeleteKey(L"s", L"k");
    EXPECT_EQ(file.Bytes(), "[s]\nx=1\r\nz=3\n");
    file.DeleteKey(L"s", L"x");
    EXPECT_EQ(file.Bytes(), "[s]\nz=3\n");
    file.Set(L"s", L"y", L"4");
    EXPECT_EQ(file.Bytes(), "[s]\nz=3\ny=4\n");
}

// Hostile files cost work in proportion to their size: a lead byte before
// every break (which swallows it), one long line, many short lines, many
// headers, many "=" lines. The work is counted (bytes decoded, characters
// encoded), not timed.
TEST(ProfileFile, WorkGrowsWithTheFileNotFaster) {
    const test::GreedyDbcsCodePage greedy;
    const auto files = test::HostileProfileFiles(64 * 1024);
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const auto within = [&](const test::CountingCodePage& counted, const char* step) {
            EXPECT_LE(counted.units, 8 * bytes.size() + 4096) << step;
        };
        test::CountingCodePage load(greedy);
        ProfileFile file(load, bytes);
        (void)file.Get(L"Config", L"Version");
        within(load, "load");
        test::CountingCodePage write(greedy);
        ProfileFile written(write, bytes);
        written.Set(L"Config", L"Version", L"1.3.6");
        within(write, "one write");
        test::CountingCodePage replace(greedy);
        ProfileFile replaced(replace, bytes);
        replaced.ReplaceSection(L"Data", {"g=,"});
        within(replace, "a section replace");
        test::CountingCodePage import(greedy);
        LooksLikeConfiguration(import, bytes);
        within(import, "the import check");
    }
}

}  // namespace
}  // namespace mivra
