#include <gtest/gtest.h>

#include <fstream>

#include "lxpo/TsFile.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace lx::tools {
namespace {

// Writing and reading back is tested with the XLIFF files (XliffFileTest); here what only
// TS has.
TEST(TsFileTest, NamedContextsObsoleteAndPluralMessages) {
  support::TempFolder folder;
  const std::string path = (folder.Path() / "other.ts").string();
  // Contexts with names, as Qt's own programs have them; obsolete and plural messages.
  std::ofstream(path) << "<TS version=\"2.1\">\n<context><name>TMainForm</name>\n"
                         "<message><source>Open</source><comment>OpenButton</comment>"
                         "<translation>Öffnen</translation></message>\n"
                         "<message><source>Gone</source><translation type=\"vanished\">Weg"
                         "</translation></message>\n</context></TS>\n";
  PoReadCounts counts;
  const std::vector<PoEntry> read = ReadTs(path, counts);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0].context, "TMainForm");
  EXPECT_EQ(read[0].id, "OpenButton");
  EXPECT_EQ(counts.obsolete, 1);
  std::ofstream(path) << "<TS>\n<context>\n<message numerus=\"yes\"><source>%n files</source>"
                         "</message></context></TS>\n";
  EXPECT_RAISES(ReadTs(path, counts), PoError,
                path + ":3: plural messages are not supported (the dictionary has no plurals)");
}

}  // namespace
}  // namespace lx::tools
