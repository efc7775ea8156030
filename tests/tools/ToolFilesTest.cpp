#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>

#include "support/Raised.h"
#include "support/TempFolder.h"
#include "toolfiles/ToolFiles.h"

namespace lx::tools {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using support::MessageOf;

class ToolFilesTest : public ::testing::Test {
 protected:
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(root_ + name, std::ios::binary) << text;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(root_ + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  support::TempFolder temp_;
  std::string root_ = temp_.Text();
};

TEST_F(ToolFilesTest, ReadsFilesAndPipesAndRefusesWhatIsNoFile) {
  Write("form.txt", "object");
  EXPECT_EQ(ReadInputFile(root_ + "form.txt"), Bytes({'o', 'b', 'j', 'e', 'c', 't'}));

  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  ASSERT_EQ(write(ends[1], "piped", 5), 5);
  close(ends[1]);
  EXPECT_EQ(ReadInputFile("/dev/fd/" + std::to_string(ends[0])), Bytes({'p', 'i', 'p', 'e', 'd'}));
  close(ends[0]);

  EXPECT_EQ(MessageOf([&] { ReadInputFile(root_); }), root_ + ": is a folder");
  EXPECT_EQ(MessageOf([&] { ReadInputFile(root_ + "none"); }),
            root_ + "none: cannot be opened: No such file or directory");
  EXPECT_EQ(MessageOf([&] { ReadInputFile(root_ + "form.txt", 5); }),
            root_ + "form.txt: is larger than 5 bytes");
  EXPECT_EQ(ReadInputFile(root_ + "form.txt", 6).size(), 6u);
}

TEST_F(ToolFilesTest, OutputReplacesTheTargetWholeKeepingItsPermissions) {
  const Bytes bytes{'n', 'e', 'w'};
  WriteOutputFile(root_ + "fresh.bin", bytes);
  EXPECT_EQ(Read("fresh.bin"), "new");
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(fs::status(root_ + "fresh.bin").permissions(), fs::perms(0666 & ~mask));

  Write("old.bin", "old content");
  fs::permissions(root_ + "old.bin", fs::perms(0640));
  WriteOutputFile(root_ + "old.bin", bytes);
  EXPECT_EQ(Read("old.bin"), "new");
  EXPECT_EQ(fs::status(root_ + "old.bin").permissions(), fs::perms(0640));
  EXPECT_EQ(Names(), (std::vector<std::string>{"fresh.bin", "old.bin"}));  // no leftovers
}

TEST_F(ToolFilesTest, AFailedWriteLeavesTheTargetAndNoTemporaryFile) {
  fs::create_directory(root_ + "folder");
  Write("folder/inside", "kept");
  EXPECT_EQ(MessageOf([&] { WriteOutputFile(root_ + "folder", Bytes{1}); }),
            root_ + "folder: cannot be written: Is a directory");
  EXPECT_EQ(Read("folder/inside"), "kept");
  EXPECT_EQ(MessageOf([&] { WriteOutputFile(root_ + "missing/out", Bytes{1}); }),
            root_ + "missing/out: cannot be written: No such file or directory");
  EXPECT_EQ(MessageOf([&] { WriteOutputFile(root_, Bytes{1}); }),
            root_ + ": cannot be written: Is a directory");
  EXPECT_EQ(MessageOf([&] { WriteOutputFile("", Bytes{1}); }), "the output file has no name");
  EXPECT_EQ(Names(), (std::vector<std::string>{"folder"}));
}

TEST_F(ToolFilesTest, KnowsTheSameFileUnderAnotherName) {
  Write("a.json", "{}");
  Write("b.json", "{}");
  fs::create_symlink(root_ + "a.json", root_ + "link.json");
  EXPECT_TRUE(IsSameFile(root_ + "a.json", root_ + "link.json"));
  EXPECT_TRUE(IsSameFile(root_ + "a.json", root_ + "./a.json"));
  EXPECT_FALSE(IsSameFile(root_ + "a.json", root_ + "b.json"));
  EXPECT_FALSE(IsSameFile(root_ + "a.json", root_ + "none.json"));
}

// Standard input replaced by a pipe that holds `text`, for the life of the object.
class PipedStandardInput {
 public:
  explicit PipedStandardInput(const std::string& text) : saved_(dup(STDIN_FILENO)) {
    int ends[2];
    EXPECT_EQ(pipe(ends), 0);
    EXPECT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(ends[1]);
    dup2(ends[0], STDIN_FILENO);
    close(ends[0]);
  }
  ~PipedStandardInput() {
    dup2(saved_, STDIN_FILENO);
    close(saved_);
  }

 private:
  int saved_;
};

TEST_F(ToolFilesTest, ADashIsStandardInputAndAHugeFileIsRefusedUnread) {
  {
    const PipedStandardInput input("from stdin");
    EXPECT_EQ(ReadInputFile("-"), Bytes({'f', 'r', 'o', 'm', ' ', 's', 't', 'd', 'i', 'n'}));
  }
  {
    const PipedStandardInput input("123456");
    EXPECT_EQ(MessageOf([] { ReadInputFile("-", 5); }), "standard input: is larger than 5 bytes");
  }
  // Sparse: read, it would take seconds and a gigabyte of memory before the refusal.
  Write("huge.pld", "");
  fs::resize_file(root_ + "huge.pld", std::uintmax_t{3} << 30);
  EXPECT_EQ(MessageOf([&] { ReadInputFile(root_ + "huge.pld"); }),
            root_ + "huge.pld: is larger than 1073741824 bytes");
  EXPECT_EQ(MessageOf([&] { RegularInputFile(root_ + "huge.pld"); }),
            root_ + "huge.pld: is larger than 1073741824 bytes");
}

TEST_F(ToolFilesTest, ALibraryOpensOnlyRegularFiles) {
  Write("d.pld", "PLD");
  EXPECT_EQ(RegularInputFile(root_ + "d.pld"), root_ + "d.pld");
  ASSERT_EQ(mkfifo((root_ + "fifo").c_str(), 0600), 0);
  EXPECT_EQ(MessageOf([&] { RegularInputFile(root_ + "fifo"); }),
            root_ + "fifo: is not a regular file");
  EXPECT_EQ(MessageOf([] { RegularInputFile("/dev/zero"); }), "/dev/zero: is not a regular file");
  EXPECT_EQ(MessageOf([&] { RegularInputFile(root_); }), root_ + ": is a folder");
  EXPECT_EQ(MessageOf([&] { RegularInputFile(root_ + "none"); }),
            root_ + "none: cannot be opened: No such file or directory");
}

TEST_F(ToolFilesTest, DevicesAndFifosAreWrittenStraightAndLinksLeadToTheirFile) {
  ASSERT_EQ(mkfifo((root_ + "fifo").c_str(), 0600), 0);
  auto reader = std::async(std::launch::async, [this] { return Read("fifo"); });
  WriteOutputFile(root_ + "fifo", Bytes{'p', 'i', 'p', 'e'});
  EXPECT_EQ(reader.get(), "pipe");
  EXPECT_TRUE(fs::is_fifo(root_ + "fifo"));
  WriteOutputFile("/dev/null", Bytes{1});
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_EQ(MessageOf([] { WriteOutputFile("/dev/full", Bytes{1}); }),
            "/dev/full: cannot be written: No space left on device");

  fs::create_directory(root_ + "real");
  Write("real/file.po", "old");
  fs::create_symlink(root_ + "real/file.po", root_ + "link.po");
  WriteOutputFile(root_ + "link.po", Bytes{'n', 'e', 'w'});
  EXPECT_TRUE(fs::is_symlink(root_ + "link.po"));
  EXPECT_EQ(Read("real/file.po"), "new");
  fs::create_symlink(root_ + "nowhere", root_ + "dangling");
  EXPECT_EQ(MessageOf([&] { WriteOutputFile(root_ + "dangling", Bytes{1}); }),
            root_ + "dangling: cannot be written: the link leads to no file");
  EXPECT_EQ(Names(), (std::vector<std::string>{"dangling", "fifo", "link.po", "real"}));
}

TEST_F(ToolFilesTest, OutputFilesReplaceTheirTargetsTogetherOrNotAtAll) {
  Write("a.po", "old a");
  fs::create_directory(root_ + "b.po");
  {
    OutputFiles files;
    files.Add(root_ + "a.po", Bytes{'n'});
    EXPECT_EQ(MessageOf([&] { files.Add(root_ + "b.po", Bytes{'n'}); }),
              root_ + "b.po: cannot be written: Is a directory");
  }
  EXPECT_EQ(Read("a.po"), "old a");
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.po", "b.po"}));

  OutputFiles files;
  files.Add(root_ + "a.po", Bytes{'n', 'a'});
  files.Add(root_ + "c.po", Bytes{'n', 'c'});
  EXPECT_EQ(Read("a.po"), "old a");  // nothing replaced before the commit
  files.Commit();
  EXPECT_EQ(Read("a.po"), "na");
  EXPECT_EQ(Read("c.po"), "nc");
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.po", "b.po", "c.po"}));

  // A rename that fails at the commit puts back what was replaced before it.
  OutputFiles late;
  late.Add(root_ + "a.po", Bytes{'x'});
  late.Add(root_ + "c.po", Bytes{'x'});
  late.Add(root_ + "d.po", Bytes{'x'});
  fs::remove(root_ + "c.po");
  fs::create_directory(root_ + "c.po");
  EXPECT_EQ(MessageOf([&] { late.Commit(); }), root_ + "c.po: cannot be written: Is a directory");
  EXPECT_EQ(Read("a.po"), "na");
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.po", "b.po", "c.po"}));
}

TEST_F(ToolFilesTest, StandardOutputIsNoInput) {
  Write("a.json", "{}");
  std::ostringstream out;
  WriteOutput("-", Bytes{'o', 'k'}, out);
  EXPECT_EQ(out.str(), "ok");
  EXPECT_FALSE(IsSameFile(root_ + "a.json", "-"));
}

TEST(ToolTextsTest, PrintableKeepsCharactersAndQuotesEveryOtherByte) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"plain 'Grüße' П 文件", "plain 'Grüße' П 文件"},
      {"\x1b]0;title\x07 and \x1b[2J", "?]0;title? and ?[2J"},
      {"tab\tnew\nline\x7f", "tab?new?line?"},
      {"\xC3(", "?("},               // a lead byte without its continuation
      {"\xC2\x9B", "??"},            // C1 control (CSI)
      {"\xED\xA0\x80", "???"},       // a surrogate
      {"\xF4\x90\x80\x80", "????"},  // past U+10FFFF
      {"\xE6\x96", "??"},            // cut short
  };
  for (const auto& [raw, shown] : cases)
    EXPECT_EQ(Printable(raw), shown) << raw;
}

TEST(ToolTextsTest, QuoteExcerptsAndCountNouns) {
  EXPECT_EQ(Excerpt("short"), "short");
  EXPECT_EQ(Excerpt(std::string(100, 'x'), 10), "xxxxxxxxxx...");
  EXPECT_EQ(Excerpt("abcd\xC3\xA9", 5), "abcd...");  // never half a character
  EXPECT_EQ(ShortenQuoted("last read: '" + std::string(70000, 'x') + "'", 3),
            "last read: 'xxx...'");
  EXPECT_EQ(ShortenQuoted("no quote"), "no quote");
  EXPECT_EQ(Counted(1, "language"), "1 language");
  EXPECT_EQ(Counted(2, "language"), "2 languages");
  EXPECT_EQ(Counted(0, "text"), "0 texts");
}

}  // namespace
}  // namespace lx::tools
