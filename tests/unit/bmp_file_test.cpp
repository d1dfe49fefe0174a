#include "capture/bmp_file.h"
#include "file_size_limit.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qv {
namespace {

namespace fs = std::filesystem;

// Another process writing the same picture has a side file of its own: it is left alone.
TEST(BmpFileWrite, LeavesAnotherProcesssSideFileAlone) {
    const fs::path folder = fs::temp_directory_path() / "qv_bmp_foreign_part";
    fs::remove_all(folder);
    fs::create_directories(folder / "LvUP_20241002180419_a.bmp.1-0.tmp");
    const fs::path picture = folder / "LvUP_20241002180419_a.bmp";

    PixelArray pixels(3, 2);
    pixels.At(1, 1) = MakePixel(10, 20, 30);
    EXPECT_TRUE(WriteBmpFile(picture, pixels));
    EXPECT_TRUE(fs::is_directory(folder / "LvUP_20241002180419_a.bmp.1-0.tmp"));
    const auto read = ReadBmpFile(picture);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->At(1, 1), MakePixel(10, 20, 30));
    fs::remove_all(folder);
}

// A full disk: the picture is cut off one byte short of its 54 + 10 * 60 bytes.
TEST(BmpFileWrite, FailingPartWayIsNeitherRenamedNorReportedAsSaved) {
    const fs::path folder = fs::temp_directory_path() / "qv_bmp_full_disk";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const PixelArray pixels(20, 10);
    {
        const testing_fakes::FileSizeLimit fullDisk(54 + 10 * 60 - 1);
        ASSERT_TRUE(fullDisk.Applied());
        EXPECT_FALSE(WriteBmpFile(folder / "shot.bmp", pixels));
    }
    EXPECT_TRUE(fs::is_empty(folder)); // neither the picture nor a side file

    EXPECT_TRUE(WriteBmpFile(folder / "shot.bmp", pixels)); // the room was all it lacked
    EXPECT_EQ(fs::file_size(folder / "shot.bmp"), 54u + 10 * 60);
    fs::remove_all(folder);
}

} // namespace
} // namespace qv
