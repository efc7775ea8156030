#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/rtti/TypInfo.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/StandIns.h"
#include "framework/streaming/TextForm.h"

namespace lx::framework {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The properties of the one component of `text`, given to a stand-in as a reader keeps them.
void TakeAll(TStoredValues& values, const std::string& text) {
  const Bytes bytes = FormTextToBinary(text);
  TReadOnlyMemoryStream stream(bytes);
  TReader reader(stream, 4096);
  reader.ReadSignature();
  reader.ReadStr();
  reader.ReadStr();
  while (!reader.EndOfList()) {
    const std::string path = reader.ReadStr();
    const std::int64_t start = reader.Position();
    reader.SkipValue();
    values.Take(path, Bytes(bytes.begin() + start, bytes.begin() + reader.Position()));
  }
}

std::string Written(TStandInComponent& component) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteRootComponent(component);
  }
  return FormBinaryToText(stream.Bytes());
}

constexpr char kStored[] =
    "object Grid1: TUnknownGrid\n"
    "  Left = 8\n"
    "  Caption = 'Grid'\n"
    "  Font.Name = 'Sans'\n"
    "  Items.Strings = (\n"
    "    'a'\n"
    "    'b')\n"
    "  Columns = <\n"
    "    item [2]\n"
    "      Title = 'T'\n"
    "    end>\n"
    "  OnClick = GridClick\n"
    "end\n";

TEST(StandInsTest, AWriterGivesEveryValueBackInItsOrder) {
  TStandInComponent grid("TUnknownGrid", nullptr);
  grid.SetName("Grid1");
  TakeAll(grid.Values(), kStored);
  EXPECT_EQ(Written(grid), kStored);
}

TEST(StandInsTest, TextsArePropertiesAndChangedOnesAreWritten) {
  TStandInComponent grid("TUnknownGrid", nullptr);
  grid.SetName("Grid1");
  TakeAll(grid.Values(), kStored);
  std::vector<std::string> published;
  for (const TPropInfo* property : grid.ClassInfo().Properties())
    published.push_back(property->Name());
  EXPECT_EQ(published, (std::vector<std::string>{"Name", "Tag", "Caption", "Items", "Columns"}));
  EXPECT_EQ(grid.ClassName(), "TUnknownGrid");
  EXPECT_TRUE(grid.ClassInfo().PerObject());

  SetStrProp(grid, "Caption", "Gitter");
  static_cast<TStrings*>(GetObjectProp(grid, "Items"))->SetStrings(0, "A");
  auto* columns = static_cast<TCollection*>(GetObjectProp(grid, "Columns"));
  SetStrProp(*columns->Items(0), "Title", "Titel");
  std::string expected = kStored;
  for (auto [from, to] : {std::pair{"'Grid'", "'Gitter'"}, {"'a'", "'A'"}, {"'T'", "'Titel'"}})
    expected.replace(expected.find(from), std::string(from).size(), to);
  EXPECT_EQ(Written(grid), expected);
}

TEST(StandInsTest, AValueTakenAgainReplacesTheFirst) {
  TStoredValues values;
  TakeAll(values, "object A: T\n  Caption = 'one'\n  Tag = 1\nend\n");
  TakeAll(values, "object A: T\n  caption = 'two'\nend\n");
  ASSERT_EQ(values.Count(), 2);
  EXPECT_EQ(values.Path(0), "caption");
  EXPECT_EQ(values.Path(1), "Tag");
}

}  // namespace
}  // namespace lx::framework
