// The memory stream: reading, writing past the end, seeking, and copying to and from files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "classlib/FileStream.h"
#include "classlib/MemoryStream.h"

namespace {

TEST(MemoryStream, ReadWriteSeekAndGrow)
{
    TMemoryStream s;
    s.WriteBuffer("RIFF", 4);
    EXPECT_EQ(s.Size(), 4);
    EXPECT_EQ(s.Position(), 4);
    s.SetPosition(8); // past the end: the gap reads as zeros after the next write
    s.WriteBuffer("WAVE", 4);
    EXPECT_EQ(s.Size(), 12);
    EXPECT_EQ(std::memcmp(s.Memory(), "RIFF\0\0\0\0WAVE", 12), 0);

    s.SetPosition(2);
    char buf[16] = {};
    EXPECT_EQ(s.Read(buf, 16), 10); // short read at the end
    EXPECT_EQ(s.Read(buf, 4), 0);
    s.Seek(-4, TSeekOrigin::soEnd);
    s.ReadBuffer(buf, 4);
    EXPECT_EQ(std::string(buf, 4), "WAVE");
    s.Seek(-6, TSeekOrigin::soCurrent);
    EXPECT_EQ(s.Position(), 6);
    EXPECT_THROW(s.ReadBuffer(buf, 7), EReadError);
    EXPECT_THROW(s.Seek(-1, TSeekOrigin::soBeginning), EStreamError);

    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3); // pulled back to the new end
    EXPECT_EQ(s.Bytes(), (std::vector<std::uint8_t>{'R', 'I', 'F'}));
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, CopiesThroughFilesAndOtherStreams)
{
    // Streams take UTF-8 paths.
    const std::u8string wide = (std::filesystem::temp_directory_path() / u8"classcore-stream-ä.bin").u8string();
    const std::string path(wide.begin(), wide.end());
    std::vector<std::uint8_t> bytes(200000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + (i >> 9));
    TMemoryStream source(bytes);
    source.SaveToFile(path);
    TMemoryStream loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Bytes(), bytes);
    EXPECT_EQ(loaded.Position(), 0);

    {
    TFileStream file(path, fmOpenRead);
    TStream& asStream = file;
    EXPECT_EQ(asStream.Size(), 200000);
    TMemoryStream part;
    file.SetPosition(100);
    part.CopyFrom(file, 1000);
    EXPECT_EQ(part.Bytes(), std::vector<std::uint8_t>(bytes.begin() + 100, bytes.begin() + 1100));
    TMemoryStream whole;
    whole.CopyFrom(loaded, 0);
    EXPECT_EQ(whole.Bytes(), bytes);
    file.SetPosition(199990);
    EXPECT_THROW(part.CopyFrom(file, 11), EReadError);
    }
    std::filesystem::remove(std::filesystem::path(wide));
    EXPECT_THROW(loaded.LoadFromFile(path), EFOpenError);
}

} // namespace
