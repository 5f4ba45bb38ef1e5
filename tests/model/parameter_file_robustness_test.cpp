// The reader must take any bytes without reading outside them. These tests
// feed it random and damaged files from a fixed random start; the sanitizer
// build turns any stray access into a failure. Beyond not crashing, every
// outcome must keep the promises that hold for all input: unit constants,
// reserved bytes and the memo terminator are never touched, a rejected file
// leaves the image exactly as it was, and what was read writes stably.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "model/default_set.h"
#include "model/field_table.h"
#include "model/parameter_file_reader.h"
#include "model/parameter_file_writer.h"
#include "model/sanitizer.h"

namespace zelvor::model {
namespace {

ParameterImage startImage() {
    ParameterImage image;
    loadDefaultSet(image);
    sanitize(image);
    // Recognisable bytes wherever a read must not write.
    for (std::size_t offset = 0; offset < ParameterImage::kSize; ++offset) {
        if (isReservedOffset(offset)) image.setByte(offset, 0xA5);
    }
    image.set(Field::MEMO_Terminator, 0x3C);
    return image;
}

bool onlyFileFieldsDiffer(const ParameterImage& before, const ParameterImage& after) {
    for (const FieldDescriptor& d : kFieldTable) {
        if (d.section != "FIXED" && d.id != Field::MEMO_Terminator) continue;
        for (std::size_t i = 0; i < d.count; ++i) {
            if (before.get(d.id, i) != after.get(d.id, i)) return false;
        }
    }
    for (std::size_t offset = 0; offset < ParameterImage::kSize; ++offset) {
        if (isReservedOffset(offset) && before.byte(offset) != after.byte(offset)) return false;
    }
    return true;
}

void readAndCheck(const std::string& content, const ParameterImage& before) {
    ParameterImage image = before;
    const ReadOutcome outcome = parseParameterFile(content, image);
    if (outcome == ReadOutcome::VersionMismatch) {
        ASSERT_EQ(image, before);
    } else {
        ASSERT_TRUE(onlyFileFieldsDiffer(before, image));
        // Whatever was read, writing it is stable: reading the written file
        // back and writing again gives the same bytes.
        const std::string written = formatParameterFile(image);
        ParameterImage again = image;
        ASSERT_EQ(parseParameterFile(written, again), ReadOutcome::Accepted);
        ASSERT_EQ(formatParameterFile(again), written);
    }
}

TEST(ParameterFileRobustness, EveryTruncationOfAValidFile) {
    const ParameterImage before = startImage();
    const std::string file = formatParameterFile(before);
    const std::size_t headerEnd = std::string("ZARBOLIK_KEY    63").size();
    for (std::size_t length = 0; length <= file.size(); ++length) {
        ParameterImage image = before;
        const ReadOutcome outcome = parseParameterFile(file.substr(0, length), image);
        ASSERT_EQ(outcome == ReadOutcome::Accepted, length >= headerEnd) << length;
        ASSERT_TRUE(onlyFileFieldsDiffer(before, image)) << length;
    }
}

TEST(ParameterFileRobustness, RandomBytesAndRandomTokens) {
    std::mt19937 random(77);
    const ParameterImage before = startImage();
    const char* words[] = {
        "ZARBOLIK_KEY",          "63",    "MEMO", "IDLE", "JET_1A", "N2O", "-",   "+",
        "-99999999999999999999", "65536", "\r\n", " ",    "\t",     "\0",  "GEAR"};
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = 0; n < 2000; ++n) {
        std::string content;
        const int length = std::uniform_int_distribution<int>(0, 3000)(random);
        const bool tokens = n % 2 == 0;
        while (static_cast<int>(content.size()) < length) {
            if (tokens) {
                content += words[std::uniform_int_distribution<std::size_t>(0, 14)(random)];
                content += (byte(random) & 1) ? " " : "";
            } else {
                content += static_cast<char>(byte(random));
            }
        }
        readAndCheck(content, before);
        if (HasFatalFailure()) FAIL() << "input " << n;
    }
}

TEST(ParameterFileRobustness, MutatedValidFiles) {
    std::mt19937 random(4242);
    const ParameterImage before = startImage();
    ParameterImage other = before;
    for (std::size_t k = 0; k < 150; ++k) other.set(Field::JET_1A_Cell, k, 100 + 397 * k);
    const std::string valid[] = {formatParameterFile(before), formatParameterFile(other)};
    std::uniform_int_distribution<int> byte(0, 255);
    int accepted = 0;
    for (int n = 0; n < 3000; ++n) {
        std::string content = valid[n % 2];
        const int mutations = std::uniform_int_distribution<int>(1, 12)(random);
        for (int m = 0; m < mutations && !content.empty(); ++m) {
            const std::size_t at =
                std::uniform_int_distribution<std::size_t>(0, content.size() - 1)(random);
            switch (byte(random) % 5) {
                case 0:
                    content[at] = static_cast<char>(content[at] ^ (1 << (byte(random) % 8)));
                    break;
                case 1:
                    content.insert(at, 1, static_cast<char>(byte(random)));
                    break;
                case 2:
                    content.erase(at, std::uniform_int_distribution<std::size_t>(1, 40)(random));
                    break;
                case 3:
                    content.resize(at);
                    break;
                case 4:
                    content.insert(at, std::string(byte(random), '9'));
                    break;
            }
        }
        ParameterImage image = before;
        if (parseParameterFile(content, image) == ReadOutcome::Accepted) ++accepted;
        readAndCheck(content, before);
        if (HasFatalFailure()) FAIL() << "mutation " << n;
    }
    // The damage must not simply reject everything: most files keep their header.
    EXPECT_GT(accepted, 1500);
}

}  // namespace
}  // namespace zelvor::model
