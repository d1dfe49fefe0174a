// Randomised files and settings: the reader never fails in any way other than "unreadable",
// and whatever it accepts survives a write and a second read unchanged.
#include "config/config_file.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>

namespace qv {
namespace {

// Bytes that steer the reader into its interesting paths more often than random ones do.
constexpr char kInteresting[] = {',', '\r', '\n', ' ', '\t', '-', '+',
                                 '0', '1',  '9',  'T', 'f',  '.'};

class Mutator {
  public:
    explicit Mutator(std::uint32_t seed) : rng_(seed) {}

    std::string Mutate(std::string bytes) {
        const int steps = Pick(1, 4);
        for (int i = 0; i < steps; ++i) {
            MutateOnce(bytes);
        }
        return bytes;
    }

  private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    std::size_t Index(std::size_t size) {
        return static_cast<std::size_t>(Pick(0, static_cast<int>(size)));
    }

    char AnyByte() {
        if (Pick(0, 1) == 0) {
            return kInteresting[Pick(0, sizeof kInteresting - 1)];
        }
        return static_cast<char>(Pick(0, 255));
    }

    void MutateOnce(std::string& bytes) {
        switch (Pick(0, 3)) {
        case 0: // replace a byte
            if (!bytes.empty()) {
                bytes[std::min(Index(bytes.size()), bytes.size() - 1)] = AnyByte();
            }
            break;
        case 1: { // delete a short run
            const std::size_t at = Index(bytes.size());
            bytes.erase(at, static_cast<std::size_t>(Pick(1, 8)));
            break;
        }
        case 2: { // insert a short run
            const std::size_t at = Index(bytes.size());
            const int count = Pick(1, 8);
            for (int i = 0; i < count; ++i) {
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), AnyByte());
            }
            break;
        }
        default: // truncate
            bytes.resize(Index(bytes.size()));
            break;
        }
    }

    std::mt19937 rng_;
};

void ExpectStableRoundTrip(const Settings& read) {
    EXPECT_TRUE(IsRunnable(read));
    EXPECT_FALSE(read.debugMode);
    EXPECT_EQ(ParseConfigFile(FormatConfigFile(read)), read);
}

TEST(ConfigFileFuzz, MutatedFilesAreReadOrRejected) {
    Settings variant = DefaultSettings();
    variant.autoStart = true;
    variant.captureRegions[0] = {-7, 1000, 200, 100};
    variant.captureInterval = 3600;
    const std::string seeds[] = {FormatConfigFile(DefaultSettings()), FormatConfigFile(variant)};

    Mutator mutator(20240601);
    int readable = 0;
    int unreadable = 0;
    for (int i = 0; i < 4000; ++i) {
        const std::string text = mutator.Mutate(seeds[i % 2]);
        const std::optional<Settings> read = ParseConfigFile(text);
        if (read) {
            ++readable;
            ExpectStableRoundTrip(*read);
        } else {
            ++unreadable;
        }
        if (HasFailure()) {
            FAIL() << "after mutation " << i;
        }
    }
    // Both outcomes must have been exercised for the test to mean anything.
    EXPECT_GT(readable, 100);
    EXPECT_GT(unreadable, 100);
}

TEST(ConfigFileFuzz, RandomRunnableSettingsSurviveWriteAndRead) {
    std::mt19937 rng(77);
    auto pick = [&](std::initializer_list<std::int32_t> edges, std::int32_t low,
                    std::int32_t high) {
        if (rng() % 2 == 0) {
            return edges.begin()[rng() % edges.size()];
        }
        return std::uniform_int_distribution<std::int32_t>(low, high)(rng);
    };
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    int tried = 0;
    for (int i = 0; i < 3000; ++i) {
        Settings s;
        for (CaptureRegion& r : s.captureRegions) {
            r.x = pick({kMin, -100000, -1, 0, 9, 10, 99999, 100000, kMax - 20000}, kMin, kMax);
            r.y = pick({kMin, -1, 0, 1, 9999, 10000, kMax - 20000}, kMin, kMax);
            r.width = pick({1, 9, 10, 999, 1000, 4096}, 1, 4096);
            r.height = pick({1, 9, 10, 999, 1000, 4096}, 1, 4096);
        }
        s.autoStart = rng() % 2 == 0;
        s.beepOnCapture = rng() % 2 == 0;
        s.captureInterval = pick({1, 9, 10, 3600, 2147483}, 1, 2147483);
        s.startDelay = pick({0, 9, 10, 600, 2147483}, 0, 2147483);
        if (!IsRunnable(s)) {
            continue;
        }
        ++tried;
        ASSERT_EQ(ParseConfigFile(FormatConfigFile(s)), s) << FormatConfigFile(s);
    }
    EXPECT_GT(tried, 1000);
}

} // namespace
} // namespace qv
