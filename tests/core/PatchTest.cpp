// Patches: IPS and BPS made and applied over bytes, their published layouts byte by byte,
// every malformed patch refused; and the files they are made from and written to.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "TempDir.h"
#include "patch/Bps.h"
#include "patch/Ips.h"
#include "patch/PatchFiles.h"
#include "util/Crc32.h"

namespace zandrel::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

using namespace std::string_literals; // "\0" inside byte strings

Bytes B(const std::string& bytes) {
    return {bytes.begin(), bytes.end()};
}

void PutLittleEndian(Bytes& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// "BPS1", the sizes, metadata and actions in `body`, then the three CRC32s.
Bytes Bps(const std::string& body, const std::string& source, const std::string& target) {
    Bytes patch = B("BPS1" + body);
    PutLittleEndian(patch, Crc32(B(source)));
    PutLittleEndian(patch, Crc32(B(target)));
    PutLittleEndian(patch, Crc32(patch));
    return patch;
}

// Each length's first number is one past the last of the shorter length; 2^48 is the largest
// read, and a number cut short is none.
TEST(BpsNumber, EveryNumberHasOneSpelling) {
    const std::pair<std::uint64_t, Bytes> cases[] = {
        {0, {0x80}},           {127, {0xFF}},
        {128, {0, 0x80}},      {16511, {0x7F, 0xFF}},
        {16512, {0, 0, 0x80}}, {std::uint64_t{1} << 48, {0, 0x7F, 0x7E, 0x7E, 0x7E, 0x7E, 0xBE}}};
    for (const auto& [value, bytes] : cases) {
        Bytes written;
        PutBpsNumber(written, value);
        EXPECT_EQ(written, bytes) << value;
        std::size_t at = 0;
        EXPECT_EQ(ReadBpsNumber(bytes, at), value);
        EXPECT_EQ(at, bytes.size());
    }
    for (const Bytes& none : {Bytes{1, 0x7F, 0x7E, 0x7E, 0x7E, 0x7E, 0xBE}, Bytes{0, 0x7F}}) {
        std::size_t at = 0;
        EXPECT_FALSE(ReadBpsNumber(none, at));
    }
}

// The edited file: the original resized to `size` (zeros added), then bytes [from, from +
// count) set to `value` or inverted.
TEST(Patch, BothFormatsTurnTheOriginalIntoTheEditedFile) {
    constexpr int kInvert = -1;
    constexpr std::size_t kEof = kIpsEofOffset;
    const struct {
        std::size_t originalSize, size, from, count;
        int value;
    } cases[] = {
        {0x3000, 0x3000, 0, 0, kInvert},
        {0x3000, 0x3000, 0, 1, kInvert},
        {0x3000, 0x3000, 0x2FFF, 1, kInvert},
        {0x3000, 0x3000, 0x100, 200, kInvert},
        {0x3000, 0x5000, 0x4000, 1, 1},
        {0x3000, 0x2000, 0x100, 1, kInvert},
        {0x3000, 0, 0, 0, kInvert},
        {0x30000, 0x30000, 0x10, 0x2FF00, 0xFF},
        {kEof + 9, kEof + 9, kEof, 1, kInvert},
        {kEof + 0x100, kEof + 0x100, kEof, 0x20, 0},
        {kEof + 9, kEof + 9, kEof - kIpsMaxRecord, kIpsMaxRecord + 4, kInvert},
    };
    for (const auto& c : cases) {
        const Bytes original = PatternBytes(c.originalSize);
        Bytes edited = original;
        edited.resize(c.size);
        for (std::size_t i = c.from; i < c.from + c.count; ++i)
            edited[i] = std::uint8_t(c.value == kInvert ? ~edited[i] : c.value);
        for (const PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
            const PatchBytes patch = MakePatch(format, original, edited);
            ASSERT_TRUE(patch.ok()) << ErrorMessage(patch.failure);
            const PatchBytes applied = ApplyPatch(original, patch.bytes);
            EXPECT_TRUE(applied.ok() && applied.bytes == edited)
                << "case " << &c - cases << ", format " << int(format);
        }
    }
}

// Runs of (at, count, value) in 32 zero bytes, cut to `size`: a run record only where it is
// shorter, changes joined across 5 unchanged bytes but not 6, and the length after "EOF".
TEST(Ips, WritesTheShortestRecords) {
    const struct {
        std::vector<std::tuple<std::size_t, std::size_t, char>> runs;
        std::size_t size;
        std::string records;
    } cases[] = {
        {{{2, 1, '\xAB'}}, 32, "\0\0\x02\0\x01\xAB"s + "EOF"s},
        {{{10, 3, 'Z'}}, 32, "\0\0\x0A\0\x03ZZZ"s + "EOF"s},
        {{{10, 4, 'Z'}}, 32, "\0\0\x0A\0\0\0\x04Z"s + "EOF"s},
        {{{2, 1, '\xAB'}, {8, 1, '\xCD'}}, 32, "\0\0\x02\0\x07\xAB\0\0\0\0\0\xCD"s + "EOF"s},
        {{{2, 1, '\xAB'}, {9, 1, '\xCD'}}, 32, "\0\0\x02\0\x01\xAB\0\0\x09\0\x01\xCD"s + "EOF"s},
        {{{2, 1, '\xAB'}}, 24, "\0\0\x02\0\x01\xAB"s + "EOF\0\0\x18"s},
    };
    for (const auto& c : cases) {
        Bytes edited(32, 0);
        for (const auto& [at, count, value] : c.runs)
            std::fill_n(edited.begin() + std::ptrdiff_t(at), count, std::uint8_t(value));
        edited.resize(c.size);
        EXPECT_EQ(MakeIps(Bytes(32, 0), edited).bytes, B("PATCH" + c.records)) << &c - cases;
    }
}

// A change at 0xFFFFFF and a length of 0xFFFFFF are the last an IPS patch reaches (a byte
// added past the original's end is a change like any other).
TEST(Ips, ReachesJustShortOf16MiB) {
    constexpr std::size_t kReach = kIpsReach;
    const struct {
        std::size_t originalSize, editedSize, change;
        bool made;
    } cases[] = {{kReach + 1, kReach + 1, kReach - 1, true},
                 {kReach + 1, kReach + 1, kReach, false},
                 {kReach + 1, kReach - 1, 0, true},
                 {kReach + 1, kReach, 0, false}};
    for (const auto& c : cases) {
        const Bytes original(c.originalSize, 0);
        Bytes edited(c.editedSize, 0);
        edited[c.change] = 1;
        const PatchBytes patch = MakeIps(original, edited);
        if (c.made)
            EXPECT_TRUE(ApplyIps(original, patch.bytes).bytes == edited) << &c - cases;
        else
            EXPECT_EQ(patch.failure.reason,
                      "o arquivo editado difere do original a partir de 16 MiB (hex 1000000), "
                      "onde um patch IPS não alcança; use um patch BPS (.bps). Nada foi gravado.");
    }
}

// Source "ABCDEFGH": the writer's patches (target runs kept, changed, copied), and one with
// every action, the copies moving back and forth and the target copy reading what it writes.
TEST(Bps, FollowsThePublishedLayout) {
    const struct {
        std::string target, body; // after "BPS1", before the CRC32s
        bool written;
    } cases[] = {
        {"ABCxyFGH", "\x88\x88\x80\x88\x85xy\x88", true},
        {"ABCDEFGHzzzzzzzz", "\x88\x90\x80\x9C\x81z\x9B\x90", true},
        {"xyFGHABzzzz", "\x88\x8B\x80\x85xy\x8A\x8A\x86\x91\x81z\x8B\x8E", false},
    };
    for (const auto& c : cases) {
        const Bytes patch = Bps(c.body, "ABCDEFGH", c.target);
        if (c.written) {
            EXPECT_EQ(MakeBps(B("ABCDEFGH"), B(c.target)).bytes, patch) << c.target;
        }
        EXPECT_EQ(ApplyBps(B("ABCDEFGH"), patch).bytes, B(c.target));
    }
}

// Applied to "ABCD" (CRC32 DB1720A5; "ABCE" AC101033).
TEST(Patch, EveryMalformedPatchIsRefusedWithItsReason) {
    const std::pair<Bytes, std::string> cases[] = {
        {B("XYZ"), "não é um patch IPS nem BPS (não começa com \"PATCH\" nem com \"BPS1\")"},
        {B("PATCH"), "está incompleto: falta o \"EOF\" do fim"},
        {B("PATCH\0\0\x01\0"s),
         "está incompleto: termina no meio de um registro (byte hex 5 do patch)"},
        {B("PATCH\0\0\x01\0\x06\xAA\xBB"s + "EOF"s),
         "está incompleto: termina no meio de um registro (byte hex 5 do patch)"},
        {B("PATCH\0\0\x01\0\0\0\0\xFF"s + "EOF"s),
         "tem um registro de repetição de 0 bytes (byte hex 5 do patch)"},
        {B("PATCHEOF\0\x01"s),
         "tem bytes depois do \"EOF\" além dos 3 do tamanho final (byte hex 8 do patch)"},
        {B("BPS1\x80\x80\x80"s + std::string(11, '\0')),
         "está incompleto: tem 18 bytes, e o menor patch BPS tem 19"},
        {B("BPS1\x80\x80\x80"s + std::string(12, '\0')),
         "está corrompido ou incompleto: seu CRC32 é 5ED81F93, e ele diz 00000000"},
        {Bps("\x84\x84\x80\x8C", "ABCE", "ABCE"),
         "foi feito para outro original: espera 4 bytes de CRC32 AC101033, e o original dado "
         "tem 4 bytes de CRC32 DB1720A5"},
        {Bps("\x84\x01\x7F\x7E\x9E\x80", "ABCD", ""),
         "faria um arquivo de 67108865 bytes, mais que o limite de 64 MiB"},
        {Bps("\x84\x00\x7F\x7E\x9E\x80"s, "ABCD", ""),
         "termina com 0 dos 67108864 bytes do resultado"},
        {Bps("\x84\0\0\0\0\0\0\0\0"s, "ABCD", ""),
         "tem um número cortado ou grande demais (byte hex 5 do patch)"},
        {Bps("\x84\x84\x85x", "ABCD", ""),
         "está incompleto: os metadados passam do fim (byte hex 7 do patch)"},
        {Bps("\x84\x82\x80\x89"s + "abc", "ABCD", "ab"),
         "tem uma ação que passa do tamanho final (byte hex 7 do patch)"},
        {Bps("\x84\x86\x80\x94", "ABCD", "ABCD"),
         "lê além do fim do original (byte hex 7 do patch)"},
        {Bps("\x84\x84\x80\x8D"s + "ab", "ABCD", "abcd"),
         "está incompleto: termina no meio de uma ação (byte hex 7 do patch)"},
        {Bps("\x84\x84\x80\x82\x83", "ABCD", "ABCD"),
         "copia de fora do original (byte hex 7 do patch)"},
        {Bps("\x84\x84\x80\x86\x86", "ABCD", "ABCD"),
         "copia de fora do original (byte hex 7 do patch)"},
        {Bps("\x84\x84\x80\x81"s + "a\x83\x82", "ABCD", "aaaa"),
         "copia de uma parte do resultado ainda não escrita (byte hex 9 do patch)"},
        {Bps("\x84\x84\x80\x84", "ABCD", "AB"), "termina com 2 dos 4 bytes do resultado"},
        {Bps("\x84\x84\x80\x8C", "ABCD", "ABCE"),
         "o resultado tem CRC32 DB1720A5, e o patch espera AC101033"},
    };
    for (const auto& [patch, reason] : cases) {
        const PatchBytes applied = ApplyPatch(B("ABCD"), patch);
        EXPECT_EQ(applied.failure.result, Result::BadPatch) << reason;
        EXPECT_EQ(applied.failure.reason, reason);
        EXPECT_TRUE(applied.bytes.empty()) << reason;
    }
}

// 1024 runs of 0xFFFF bytes write 64 MiB less 1024 bytes; one more run is too many.
TEST(Ips, RecordsMayWrite64MiBInAll) {
    for (const int runs : {1024, 1025}) {
        std::string records;
        for (int i = 0; i < runs; ++i)
            records += "\0\0\0\0\0\xFF\xFF\x07"s;
        const PatchBytes applied = ApplyIps({}, B("PATCH" + records + "EOF"));
        EXPECT_EQ(applied.bytes, runs == 1024 ? Bytes(0xFFFF, 7) : Bytes{});
        EXPECT_EQ(applied.failure.reason,
                  runs == 1024 ? "" : "grava mais de 64 MiB ao todo (byte hex 2005 do patch)");
    }
}

// Both formats by the name's end; then refused, with nothing written: the output an input,
// a symbolic or a hard link to one (naming both), a bad patch, a name without a format.
TEST(PatchFiles, MakeAndApplyWriteTheOutputOnlyWhenAllIsWell) {
    const TempDir dir;
    const std::string original = dir.Write("original.gba", PatternBytes(0x1200));
    Bytes edited = PatternBytes(0x1000); // 512 bytes shorter, 3 bytes changed
    std::fill_n(edited.begin() + 0x10, 3, 0);
    const std::string changed = dir.Write("edited.gba", edited);
    const std::string patch = dir.File("p.bps");
    for (const std::string& name : {dir.File("p.IPS"), patch}) {
        const PatchMade made = MakePatchFile(original, changed, name);
        EXPECT_EQ(made.changedBytes, 0x200u + 3) << ErrorMessage(made.failure);
        EXPECT_EQ(made.patchSize, std::filesystem::file_size(name));
        ASSERT_TRUE(ApplyPatchFile(original, name, dir.File("out.gba")).ok());
        EXPECT_EQ(ReadBytes(dir.File("out.gba")), edited) << name;
    }
    const std::string link = dir.File("link.gba");
    std::filesystem::create_symlink(original, link);
    std::filesystem::create_hard_link(patch, dir.File("hard.gba"));
    for (const auto& [out, input] : {std::pair{original, original},
                                     {patch, patch},
                                     {link, original},
                                     {dir.File("hard.gba"), patch}})
        EXPECT_EQ(ErrorMessage(ApplyPatchFile(original, patch, out)),
                  "\"" + out + "\": é o próprio arquivo \"" + input +
                      "\"; escolha outro arquivo de saída. Nada foi gravado.");
    EXPECT_FALSE(MakePatchFile(original, changed, link).ok());
    EXPECT_EQ(ReadBytes(original), PatternBytes(0x1200));
    const std::string bad = dir.WriteText("bad.ips", "PATCH");
    const std::string other = dir.File("other.gba");
    EXPECT_EQ(ErrorMessage(ApplyPatchFile(original, bad, other)),
              "O patch \"" + bad +
                  "\" não pode ser aplicado: está incompleto: falta o \"EOF\" do fim. Nada foi "
                  "gravado.");
    EXPECT_EQ(ErrorMessage(MakePatchFile(original, changed, dir.File("p.ups")).failure),
              "\"" + dir.File("p.ups") +
                  "\": o nome do patch deve terminar em .ips ou .bps, que dizem o formato. Nada "
                  "foi gravado.");
    EXPECT_FALSE(FileExists(other) || FileExists(dir.File("p.ups")));
}

} // namespace
} // namespace zandrel::testing
