#include <gtest/gtest.h>

#include "framework/Persistent.h"
#include "framework/Published.h"
#include "framework/Rtti.h"
#include "framework/TypInfo.h"

namespace lx::framework {
namespace {

LX_ENUM(TColorKind, ckRed, ckGreen, ckBlue)
using TColorKinds = TSet<TColorKind, std::uint8_t>;

class TSample : public TPersistent {
  LX_CLASS(TSample, TPersistent)
 public:
  int Count() const { return count_; }
  void SetCount(int v) { count_ = v; }
  const std::string& Text() const { return text_; }
  void SetText(const std::string& v) { text_ = v; }
  TColorKind Kind() const { return kind_; }
  void SetKind(TColorKind v) { kind_ = v; }
  TColorKinds Kinds() const { return kinds_; }
  void SetKinds(TColorKinds v) { kinds_ = v; }
  TSample* Next() const { return next_; }
  void SetNext(TSample* v) { next_ = v; }
  bool flag = false;
  TNotifyEvent OnChange;
  void Handler(TObject*) { ++calls; }
  int calls = 0;

 private:
  int count_ = 0;
  std::string text_;
  TColorKind kind_ = ckRed;
  TColorKinds kinds_;
  TSample* next_ = nullptr;
};

LX_PUBLISHED(TSample, Property("Count", &TSample::Count, &TSample::SetCount, 3),
             Property("Text", &TSample::Text, &TSample::SetText),
             Property("Kind", &TSample::Kind, &TSample::SetKind, ckRed),
             Property("Kinds", &TSample::Kinds, &TSample::SetKinds),
             Property("Next", &TSample::Next, &TSample::SetNext),
             Property("Flag", &TSample::flag, &TSample::flag).Stored(false),
             Event("OnChange", &TSample::OnChange), Method("Handler", &TSample::Handler))

TEST(RttiTest, Smoke) {
  TSample s;
  EXPECT_EQ(s.ClassName(), "TSample");
  SetOrdProp(s, "Count", 5);
  EXPECT_EQ(s.Count(), 5);
  SetSetProp(s, "Kinds", "[ckRed, ckBlue]");
  EXPECT_EQ(GetSetProp(s, "Kinds", true), "[ckRed,ckBlue]");
  SetMethodProp(s, "OnChange", TMethod{&s, "handler"});
  s.OnChange(&s);
  EXPECT_EQ(s.calls, 1);
  EXPECT_EQ(GetMethodProp(s, "OnChange").name, "Handler");
}

}  // namespace
}  // namespace lx::framework
