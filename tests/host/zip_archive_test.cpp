#include "ui_toolkit/zip_archive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "zip_test_writer.h"

using DuiLib::ZipArchive;
using DuiLib::ZipReadStatus;
using namespace ziptest;

namespace {

// Compressible text of the given length, like a layout file.
std::vector<uint8_t> Text(size_t size) {
    std::string text;
    for (int line = 0; text.size() < size; ++line) {
        text += "<Control name=\"item" + std::to_string(line % 97) + "\" width=\"32\"/>\n";
    }
    text.resize(size);
    return Bytes(text);
}

const std::vector<uint8_t> kHello = Bytes("hello, stored");
const std::vector<uint8_t> kLayout = Text(3000);

// "a.txt" stored, then "ui/main.xml" deflated.
std::vector<uint8_t> SmallArchive(Layout* layout = nullptr) {
    return ZipWriter().Stored("a.txt", kHello).Deflated("ui/main.xml", kLayout).Build(layout);
}

bool Opens(const std::vector<uint8_t>& zip, std::string* error = nullptr) {
    ZipArchive archive;
    return archive.Open(zip.data(), zip.size(), error);
}

// Opens the archive (which must open) and reads one entry; checks out is empty on failure.
ZipReadStatus ReadFrom(const std::vector<uint8_t>& zip, const std::string& name,
                       std::vector<uint8_t>* content = nullptr) {
    ZipArchive archive;
    std::string error;
    EXPECT_TRUE(archive.Open(zip.data(), zip.size(), &error)) << error;
    std::vector<uint8_t> out(7, 0xAA);
    const ZipReadStatus status = archive.Read(name, out);
    if (status != ZipReadStatus::kOk) {
        EXPECT_TRUE(out.empty()) << name;
    }
    if (content) *content = out;
    return status;
}

// Whatever a damaged archive does, it never hands out wrong bytes for the names it held.
void ExpectNoWrongData(const std::vector<uint8_t>& zip, const std::string& what) {
    ZipArchive archive;
    if (!archive.Open(zip.data(), zip.size())) return;
    std::vector<uint8_t> out;
    if (archive.Read("a.txt", out) == ZipReadStatus::kOk) {
        EXPECT_EQ(out, kHello) << what;
    }
    if (archive.Read("ui/main.xml", out) == ZipReadStatus::kOk) {
        EXPECT_EQ(out, kLayout) << what;
    }
}

}  // namespace

TEST(ZipArchive, RoundTripsStoredAndDeflatedEntries) {
    const std::vector<uint8_t> big = Text(1 << 20);
    const std::string chinese =
        "\xE7\x95\x8C\xE9\x9D\xA2/\xE5\x9B\xBE\xE6\xA0\x87.png";  // 界面/图标
    Layout layout;
    const std::vector<uint8_t> zip = ZipWriter()
                                         .Stored("a.txt", kHello)
                                         .Deflated("ui/main.xml", kLayout)
                                         .Stored("empty-stored", {})
                                         .Deflated("empty-deflated", {})
                                         .Deflated("big.xml", big)
                                         .Stored(chinese, Bytes("icon"))
                                         .Comment("resource pack")
                                         .Build(&layout);
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(zip.data(), zip.size()));
    ASSERT_EQ(archive.Entries().size(), 6u);
    const DuiLib::ZipEntry& deflated = archive.Entries()[1];
    EXPECT_EQ(deflated.name, "ui/main.xml");
    EXPECT_EQ(deflated.method, 8);
    EXPECT_EQ(deflated.crc32, Crc(kLayout));
    EXPECT_EQ(deflated.uncompressedSize, kLayout.size());
    EXPECT_EQ(deflated.localHeaderOffset, layout.local[1]);
    EXPECT_EQ(archive.Entries()[5].name, chinese);

    std::vector<uint8_t> out;
    EXPECT_EQ(archive.Read("a.txt", out), ZipReadStatus::kOk);
    EXPECT_EQ(out, kHello);
    EXPECT_EQ(archive.Read("ui/main.xml", out), ZipReadStatus::kOk);
    EXPECT_EQ(out, kLayout);
    EXPECT_EQ(archive.Read("big.xml", out), ZipReadStatus::kOk);
    EXPECT_EQ(out, big);
    EXPECT_EQ(archive.Read(chinese, out), ZipReadStatus::kOk);
    EXPECT_EQ(out, Bytes("icon"));
    for (const char* empty : {"empty-stored", "empty-deflated"}) {
        out.assign(3, 1);
        EXPECT_EQ(archive.Read(empty, out), ZipReadStatus::kOk) << empty;
        EXPECT_TRUE(out.empty()) << empty;
    }
}

TEST(ZipArchive, LooksUpNamesIgnoringAsciiCaseAndSlashKind) {
    const std::string accented = "\xC3\x89t\xC3\xA9.txt";  // Été.txt
    const std::vector<uint8_t> zip = ZipWriter()
                                         .Stored("Skin/Main.XML", Bytes("main"))
                                         .Stored(accented, Bytes("accent"))
                                         .Build();
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(zip.data(), zip.size()));
    std::vector<uint8_t> out;
    for (const char* name :
         {"Skin/Main.XML", "skin/main.xml", "SKIN\\MAIN.xml", "skin\\Main.XML"}) {
        EXPECT_TRUE(archive.Contains(name)) << name;
        EXPECT_EQ(archive.Read(name, out), ZipReadStatus::kOk) << name;
        EXPECT_EQ(out, Bytes("main")) << name;
    }
    // Only ASCII folds: the lower-case form of a non-ASCII letter is another name.
    EXPECT_EQ(archive.Read("\xC3\x89T\xC3\xA9.TXT", out), ZipReadStatus::kOk);
    EXPECT_FALSE(archive.Contains("\xC3\xA9t\xC3\xA9.txt"));
    for (const char* missing : {"Skin", "Skin/", "Main.XML", "Skin/Main.XML ", "/Skin/Main.XML"}) {
        EXPECT_FALSE(archive.Contains(missing)) << missing;
        out.assign(2, 0);
        EXPECT_EQ(archive.Read(missing, out), ZipReadStatus::kNotFound) << missing;
        EXPECT_TRUE(out.empty()) << missing;
    }
}

TEST(ZipArchive, DirectoriesAreListedButNotReadAndFirstDuplicateWins) {
    const std::vector<uint8_t> zip = ZipWriter()
                                         .Stored("skin/", {})
                                         .Stored("skin/a.png", Bytes("first"))
                                         .Deflated("SKIN/A.PNG", Bytes("second"))
                                         .Build();
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(zip.data(), zip.size()));
    ASSERT_EQ(archive.Entries().size(), 3u);
    EXPECT_EQ(archive.Entries()[0].name, "skin/");
    EXPECT_FALSE(archive.Contains("skin/"));
    std::vector<uint8_t> out;
    EXPECT_EQ(archive.Read("skin/", out), ZipReadStatus::kNotFound);
    EXPECT_EQ(archive.Read("Skin/A.png", out), ZipReadStatus::kOk);
    EXPECT_EQ(out, Bytes("first"));
}

TEST(ZipArchive, ReadsEntriesWithDataDescriptorsAndArchiveComments) {
    const std::vector<uint8_t> withDescriptors = ZipWriter()
                                                     .Stored("a.txt", kHello)
                                                     .Deflated("ui/main.xml", kLayout)
                                                     .DataDescriptors()
                                                     .Build();
    std::vector<uint8_t> out;
    EXPECT_EQ(ReadFrom(withDescriptors, "ui/main.xml", &out), ZipReadStatus::kOk);
    EXPECT_EQ(out, kLayout);

    // A comment holding an end record signature, and the longest comment there can be.
    const std::string decoy = std::string("PK\x05\x06", 4) + std::string(30, '\0');
    for (const std::string& comment : {decoy, std::string(0xFFFF, 'c')}) {
        const std::vector<uint8_t> zip =
            ZipWriter().Stored("a.txt", kHello).Comment(comment).Build();
        EXPECT_EQ(ReadFrom(zip, "a.txt", &out), ZipReadStatus::kOk);
        EXPECT_EQ(out, kHello);
    }
}

TEST(ZipArchive, EmptyArchivesAndReopening) {
    ZipArchive archive;
    const std::vector<uint8_t> zip = SmallArchive();
    ASSERT_TRUE(archive.Open(zip.data(), zip.size()));
    const std::vector<uint8_t> empty = ZipWriter().Build();
    ASSERT_TRUE(archive.Open(empty.data(), empty.size()));
    EXPECT_TRUE(archive.Entries().empty());
    EXPECT_FALSE(archive.Contains("a.txt"));

    ASSERT_TRUE(archive.Open(zip.data(), zip.size()));
    EXPECT_EQ(archive.Entries().size(), 2u);
    // A failed open leaves nothing of the archive opened before.
    std::string error;
    EXPECT_FALSE(archive.Open(zip.data(), zip.size() - 1, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(archive.Entries().empty());
    EXPECT_FALSE(archive.Contains("a.txt"));
    std::vector<uint8_t> out;
    EXPECT_EQ(archive.Read("a.txt", out), ZipReadStatus::kNotFound);
    EXPECT_FALSE(archive.Open(nullptr, 0));
}

TEST(ZipArchive, ManyEntriesOpenInLinearTime) {
    ZipWriter writer;
    char name[32];
    for (int i = 0; i < 65534; ++i) {
        std::snprintf(name, sizeof name, "d/%05d.txt", i);
        writer.Stored(name, {});
    }
    const std::vector<uint8_t> zip = writer.Build();
    // Processor time, which a busy machine does not stretch much.
    const std::clock_t start = std::clock();
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(zip.data(), zip.size()));
    const double took = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_LT(took, 3.0);  // a pairwise name check would take far longer
    EXPECT_EQ(archive.Entries().size(), 65534u);
    EXPECT_TRUE(archive.Contains("D/65533.TXT"));

    // One more entry needs the count 0xFFFF, which marks ZIP64.
    const std::vector<uint8_t> full = writer.Stored("one-more", {}).Build();
    std::string error;
    EXPECT_FALSE(Opens(full, &error));
    EXPECT_NE(error.find("ZIP64"), std::string::npos) << error;
}

TEST(ZipArchiveHostile, TruncatedOrDamagedArchivesNeverGiveWrongData) {
    const std::vector<uint8_t> zip = SmallArchive();
    for (size_t length = 0; length < zip.size(); ++length) {
        const std::vector<uint8_t> prefix(zip.begin(), zip.begin() + length);
        const std::vector<uint8_t> suffix(zip.end() - length, zip.end());
        EXPECT_FALSE(Opens(prefix)) << length;
        ExpectNoWrongData(suffix, "suffix " + std::to_string(length));
    }
    for (size_t at = 0; at < zip.size(); ++at) {
        for (uint8_t change : {0x01, 0x80, 0xFF}) {
            std::vector<uint8_t> damaged = zip;
            damaged[at] ^= change;
            ExpectNoWrongData(damaged, "byte " + std::to_string(at));
        }
    }
}

TEST(ZipArchiveHostile, RefusesOffsetsAndLengthsOutsideTheBlock) {
    Layout layout;
    const std::vector<uint8_t> zip = SmallArchive(&layout);
    const uint32_t directorySize = Get32(zip, layout.end + kEndDirectorySize);
    const uint32_t directoryOffset = Get32(zip, layout.end + kEndDirectoryOffset);
    const uint32_t roomForData = directoryOffset - static_cast<uint32_t>(layout.local[1]) - 30;
    const struct {
        const char* what;
        size_t at;
        uint32_t value;
        bool wide;
    } cases[] = {
        {"directory offset past the end", layout.end + kEndDirectoryOffset, 0x7FFFFFF0u, true},
        {"directory runs into the end record", layout.end + kEndDirectorySize, directorySize + 1,
         true},
        {"directory larger than the block", layout.end + kEndDirectorySize, 0x7FFFFFF0u, true},
        {"count larger than fits", layout.end + kEndCount, 3, false},
        {"count smaller than the directory", layout.end + kEndCount, 1, false},
        {"local offset past the end", layout.central[1] + kCentralLocalOffset, 0x10000, true},
        {"data runs into the directory", layout.central[1] + kCentralCompressed, roomForData + 1,
         true},
        {"name runs past the directory", layout.central[1] + kCentralNameSize, 0xFFFF, false},
        {"name one byte too long", layout.central[1] + kCentralNameSize, 12, false},
        {"second disk", layout.central[0] + kCentralStartDisk, 1, false},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> damaged = zip;
        if (c.wide) {
            Put32(damaged, c.at, c.value);
        } else {
            Put16(damaged, c.at, static_cast<uint16_t>(c.value));
        }
        if (c.at == layout.end + kEndCount) {
            Put16(damaged, layout.end + kEndCountOnDisk, static_cast<uint16_t>(c.value));
        }
        std::string error;
        EXPECT_FALSE(Opens(damaged, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

TEST(ZipArchiveHostile, RefusesUnsafeNames) {
    for (const std::string& name :
         std::vector<std::string>{"../evil", "a/../../b", "a\\..\\b", "ok/..", "..", "/abs",
                                  "\\abs", "C:\\x", "c:x", "Z:/x", "", std::string("a\0b", 3)}) {
        const std::vector<uint8_t> zip =
            ZipWriter().Stored("fine.txt", kHello).Stored(name, kHello).Build();
        EXPECT_FALSE(Opens(zip)) << name;
    }
    for (const char* name : {"..a", "a..", "a/..b/c", "...", "ab:c", "1:x"}) {
        const std::vector<uint8_t> zip = ZipWriter().Stored(name, kHello).Build();
        EXPECT_TRUE(Opens(zip)) << name;
    }
}

TEST(ZipArchiveHostile, RefusesZip64Markers) {
    Layout layout;
    const std::vector<uint8_t> zip = SmallArchive(&layout);
    const size_t markers32[] = {layout.end + kEndDirectorySize, layout.end + kEndDirectoryOffset,
                                layout.central[0] + kCentralCompressed,
                                layout.central[0] + kCentralUncompressed,
                                layout.central[1] + kCentralLocalOffset};
    for (size_t at : markers32) {
        std::vector<uint8_t> damaged = zip;
        Put32(damaged, at, 0xFFFFFFFF);
        std::string error;
        EXPECT_FALSE(Opens(damaged, &error)) << at;
        EXPECT_NE(error.find("ZIP64"), std::string::npos) << error;
    }

    // A ZIP64 end locator just before the end record, the directory otherwise intact.
    std::vector<uint8_t> located = zip;
    std::vector<uint8_t> locator(20, 0);
    Put32(locator, 0, 0x07064b50);
    located.insert(located.begin() + static_cast<std::ptrdiff_t>(layout.end), locator.begin(),
                   locator.end());
    std::string error;
    EXPECT_FALSE(Opens(located, &error));
    EXPECT_NE(error.find("ZIP64"), std::string::npos) << error;
}

TEST(ZipArchiveHostile, LyingSizesAndChecksumsAreCorrupt) {
    // Each lie comes with the CRC the wrong output would have, so only the size check can catch it.
    const std::vector<uint8_t> shorter(kLayout.begin(), kLayout.end() - 1);
    std::vector<uint8_t> longer = kLayout;
    longer.push_back(0);
    const std::vector<uint8_t> deflated = DeflateRaw(kLayout);
    const struct {
        const char* what;
        std::vector<uint8_t> zip;
    } cases[] = {
        {"declared one byte short",
         ZipWriter().Raw("x", 8, deflated, Crc(shorter), uint32_t(shorter.size())).Build()},
        {"declared one byte long",
         ZipWriter().Raw("x", 8, deflated, Crc(longer), uint32_t(longer.size())).Build()},
        {"declared far beyond what the stream holds",
         ZipWriter().Raw("x", 8, deflated, Crc(kLayout), 60u << 20).Build()},
        {"stream cut short",
         ZipWriter()
             .Raw("x", 8, std::vector<uint8_t>(deflated.begin(), deflated.end() - 4), Crc(kLayout),
                  uint32_t(kLayout.size()))
             .Build()},
        {"not a deflate stream",
         ZipWriter().Raw("x", 8, std::vector<uint8_t>(64, 0xFF), Crc(kLayout), 64).Build()},
        {"stored sizes differ", ZipWriter().Raw("x", 0, kHello, Crc(kHello), 4).Build()},
        {"deflated CRC off",
         ZipWriter().Raw("x", 8, deflated, Crc(kLayout) ^ 1, uint32_t(kLayout.size())).Build()},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadFrom(c.zip, "x"), ZipReadStatus::kCorrupt) << c.what;
}

TEST(ZipArchiveHostile, LocalHeaderMustAgreeWithTheDirectory) {
    Layout layout;
    const std::vector<uint8_t> zip = SmallArchive(&layout);
    std::vector<uint8_t> renamed = zip;
    renamed[layout.local[0] + kLocalName] = 'b';  // "b.txt" locally, "a.txt" in the directory
    EXPECT_EQ(ReadFrom(renamed, "a.txt"), ZipReadStatus::kCorrupt);

    std::vector<uint8_t> signature = zip;
    Put32(signature, layout.local[0], 0x04034b51);
    EXPECT_EQ(ReadFrom(signature, "a.txt"), ZipReadStatus::kCorrupt);

    std::vector<uint8_t> method = zip;
    Put16(method, layout.local[1] + kLocalMethod, 0);
    EXPECT_EQ(ReadFrom(method, "ui/main.xml"), ZipReadStatus::kCorrupt);

    std::vector<uint8_t> extra = zip;
    Put16(extra, layout.local[1] + kLocalExtraSize, 0xFFFF);  // data would start past the end
    EXPECT_EQ(ReadFrom(extra, "ui/main.xml"), ZipReadStatus::kCorrupt);

    std::vector<uint8_t> misplaced = zip;
    Put32(misplaced, layout.central[1] + kCentralLocalOffset, 1);  // no header there
    EXPECT_EQ(ReadFrom(misplaced, "ui/main.xml"), ZipReadStatus::kCorrupt);
    EXPECT_EQ(ReadFrom(misplaced, "a.txt"), ZipReadStatus::kOk);  // the other entry still reads
}

TEST(ZipArchiveHostile, EncryptionAndOtherMethodsAreUnsupported) {
    Layout layout;
    const std::vector<uint8_t> zip = SmallArchive(&layout);
    std::vector<uint8_t> encrypted = zip;
    Put16(encrypted, layout.central[1] + kCentralFlags, 1);
    Put16(encrypted, layout.local[1] + kLocalFlags, 1);
    EXPECT_EQ(ReadFrom(encrypted, "ui/main.xml"), ZipReadStatus::kUnsupported);
    std::vector<uint8_t> encryptedLocally = zip;
    Put16(encryptedLocally, layout.local[0] + kLocalFlags, 1);
    EXPECT_EQ(ReadFrom(encryptedLocally, "a.txt"), ZipReadStatus::kUnsupported);
    std::vector<uint8_t> encryptedCentrally = zip;
    Put16(encryptedCentrally, layout.central[0] + kCentralFlags, 1);
    EXPECT_EQ(ReadFrom(encryptedCentrally, "a.txt"), ZipReadStatus::kUnsupported);

    std::vector<uint8_t> bzip2 = zip;
    Put16(bzip2, layout.central[1] + kCentralMethod, 12);
    Put16(bzip2, layout.local[1] + kLocalMethod, 12);
    EXPECT_EQ(ReadFrom(bzip2, "ui/main.xml"), ZipReadStatus::kUnsupported);
}

TEST(ZipArchiveHostile, SizeCapHoldsWithoutInflatingBombs) {
    constexpr uint32_t kCap = ZipArchive::kMaxEntrySize;
    const std::vector<uint8_t> zip = ZipWriter()
                                         .DeflatedZeros("at-cap", kCap)
                                         .DeflatedZeros("bomb", 100u << 20)
                                         .Raw("over-cap", 0, kHello, Crc(kHello), kCap + 1)
                                         .Build();
    std::vector<uint8_t> out;
    EXPECT_EQ(ReadFrom(zip, "bomb", &out), ZipReadStatus::kTooLarge);
    EXPECT_EQ(ReadFrom(zip, "over-cap"), ZipReadStatus::kTooLarge);
    ASSERT_EQ(ReadFrom(zip, "at-cap", &out), ZipReadStatus::kOk);
    EXPECT_EQ(out.size(), kCap);
}
