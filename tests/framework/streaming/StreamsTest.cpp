#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/streaming/Streams.h"
#include "platform/Exception.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace lx::framework {
namespace {

std::string ReadAll(TStream& stream) {
  std::string text(static_cast<std::size_t>(stream.Remaining()), '\0');
  stream.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
  return text;
}

TEST(StreamsTest, MemoryStreamGrowsSeeksAndStopsReadingAtTheEnd) {
  TMemoryStream stream;
  stream.WriteBuffer("hello", 5);
  EXPECT_EQ(stream.Size(), 5);
  EXPECT_EQ(stream.Seek(-2, TSeekOrigin::soEnd), 3);
  stream.WriteBuffer("p!", 2);
  stream.SetPosition(0);
  EXPECT_EQ(ReadAll(stream), "help!");
  char byte = 0;
  EXPECT_EQ(stream.Read(&byte, 1), 0);
  EXPECT_RAISES(stream.ReadBuffer(&byte, 1), platform::EReadError, "Stream read error");
  EXPECT_EQ(stream.Seek(-100, TSeekOrigin::soCurrent), 0);
  stream.SetSize(2);
  EXPECT_EQ(ReadAll(stream), "he");
}

TEST(StreamsTest, ReadBufferFailsWhenTheBytesEndEarly) {
  TMemoryStream stream({1, 2, 3});
  std::uint8_t buffer[4] = {};
  EXPECT_RAISES(stream.ReadBuffer(buffer, 4), platform::EReadError, "Stream read error");
  stream.SetPosition(0);
  stream.ReadBuffer(buffer, 3);
  EXPECT_EQ(buffer[2], 3);
}

TEST(StreamsTest, FileStreamsReadWhatWasWrittenAndReportMissingFiles) {
  support::TempFolder temp;
  const std::string name = temp.Text() + "data.bin";
  {
    TFileStream out(name, TFileStream::Mode::Create);
    out.WriteBuffer("abcdef", 6);
  }
  TFileStream in(name, TFileStream::Mode::OpenRead);
  EXPECT_EQ(in.Size(), 6);
  EXPECT_EQ(in.Seek(2, TSeekOrigin::soBeginning), 2);
  EXPECT_EQ(ReadAll(in), "cdef");
  EXPECT_EQ(in.Seek(-1, TSeekOrigin::soBeginning), 0);
  EXPECT_EQ(in.Write("x", 1), 0);  // opened for reading only

  const std::string missing = temp.Text() + "missing.bin";
  EXPECT_RAISES(TFileStream(missing, TFileStream::Mode::OpenRead), platform::EFOpenError,
                "Cannot open file \"" + missing + "\". No such file or directory");
  const std::string unreachable = temp.Text() + "no/dir.bin";
  EXPECT_RAISES(TFileStream(unreachable, TFileStream::Mode::Create), platform::EFCreateError,
                "Cannot create file \"" + unreachable + "\". No such file or directory");

  TMemoryStream copy;
  copy.LoadFromFile(name);
  copy.SaveToFile(temp.Text() + "copy.bin");
  TMemoryStream back;
  back.LoadFromFile(temp.Text() + "copy.bin");
  EXPECT_EQ(back.Bytes(), copy.Bytes());
}

TEST(StreamsTest, ResourceStreamsReadLinkedBytes) {
  TResourceStream stream(platform::MainModule(), "SAMPLETEXT", platform::RT_RCDATA);
  EXPECT_EQ(ReadAll(stream), "Resource bytes linked into the test program.\n");
  EXPECT_EQ(stream.Write("x", 1), 0);
  EXPECT_RAISES(TResourceStream(platform::MainModule(), "PlDictionary", "LXDICTIONARY"),
                platform::EResNotFound, "Resource PlDictionary not found");
  EXPECT_RAISES(TResourceStream(platform::MainModule() + 1, "SampleText", platform::RT_RCDATA),
                platform::EResNotFound, "Resource SampleText not found");
}

TEST(StreamsTest, CopyFromTakesTheWholeSourceWhenAskedForNothing) {
  TMemoryStream source({'a', 'b', 'c'});
  source.SetPosition(2);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 0), 3);
  EXPECT_EQ(target.Bytes(), source.Bytes());
  source.SetPosition(1);
  EXPECT_RAISES(target.CopyFrom(source, 5), platform::EReadError, "Stream read error");
}

}  // namespace
}  // namespace lx::framework
