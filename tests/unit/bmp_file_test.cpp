#include "capture/bmp_file.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qv {
namespace {

namespace fs = std::filesystem;

// A ".part" beside the picture that someone else made is left alone, whatever the write does.
TEST(BmpFileWrite, LeavesAForeignPartFileAlone) {
    const fs::path folder = fs::temp_directory_path() / "qv_bmp_foreign_part";
    fs::remove_all(folder);
    fs::create_directories(folder / "LvUP_20241002180419_a.bmp.part");
    const fs::path picture = folder / "LvUP_20241002180419_a.bmp";

    PixelArray pixels(3, 2);
    pixels.At(1, 1) = MakePixel(10, 20, 30);
    EXPECT_TRUE(WriteBmpFile(picture, pixels));
    EXPECT_TRUE(fs::is_directory(folder / "LvUP_20241002180419_a.bmp.part"));
    const auto read = ReadBmpFile(picture);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->At(1, 1), MakePixel(10, 20, 30));
    fs::remove_all(folder);
}

} // namespace
} // namespace qv
