#include <gtest/gtest.h>

#include "framework/core/Font.h"
#include "framework/core/Persistent.h"
#include "framework/core/Strings.h"
#include "framework/rtti/Published.h"
#include "samples/Gadget.h"

namespace lx::framework {
namespace {

// A class that knows how to copy itself into a TPart, which does not know it.
class TPartSource : public TPersistent {
  LX_CLASS(TPartSource, TPersistent)

 public:
  int weight = 0;

 protected:
  void AssignTo(TPersistent* dest) const override {
    if (auto* part = dynamic_cast<support::TPart*>(dest)) {
      part->weight = weight;
      return;
    }
    TPersistent::AssignTo(dest);
  }
};

LX_PUBLISHED(TPartSource)

void ExpectAssignError(TPersistent& dest, const TPersistent* source, const std::string& message) {
  try {
    dest.Assign(source);
    FAIL() << "no exception";
  } catch (const platform::EConvertError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST(PersistentTest, AssignmentBetweenStrangersFailsWithBothClassNames) {
  support::TPart part;
  TFont font;
  TStringList list;
  ExpectAssignError(part, nullptr, "Cannot assign a nil to a TPart");
  ExpectAssignError(font, &list, "Cannot assign a TStringList to a TFont");
  ExpectAssignError(list, &font, "Cannot assign a TFont to a TStringList");
  TPartSource source;
  ExpectAssignError(source, &part, "Cannot assign a TPart to a TPartSource");
}

TEST(PersistentTest, TheSourceMayKnowTheDestination) {
  TPartSource source;
  source.weight = 12;
  support::TPart part;
  part.Assign(&source);
  EXPECT_EQ(part.weight, 12);
  part.Assign(&part);
  EXPECT_EQ(part.weight, 12);
}

}  // namespace
}  // namespace lx::framework
