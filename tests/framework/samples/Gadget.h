// Sample published classes for the framework's tests: a component with a property of every
// kind the framework publishes, a descendant that adds and republishes properties, and a
// persistent part that refers to its own class.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/Component.h"
#include "framework/core/Set.h"

namespace lx::support {

LX_ENUM(TShade, shLight, shMedium, shDark)
using TShades = framework::TSet<TShade, std::uint8_t>;

class TPart : public framework::TPersistent {
  LX_CLASS(TPart, framework::TPersistent)

 public:
  int weight = 0;
  TPart* next = nullptr;
};

class TGadget : public framework::TComponent {
  LX_CLASS(TGadget, framework::TComponent)

 public:
  explicit TGadget(framework::TComponent* owner) : TComponent(owner) {}

  int Count() const { return count_; }
  void SetCount(int value) { count_ = value; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }

  char letter = 'a';
  TShade shade = shMedium;
  double ratio = 0;
  std::string code;
  TShades shades;
  TPart* part = nullptr;
  char16_t glyph = u'a';
  std::u16string title;
  std::int64_t big = 0;
  bool enabled = true;
  std::uint8_t small = 0;
  framework::TNotifyEvent OnPing;
  int hidden = 5;
  std::string written;

  int pings = 0;
  framework::TObject* lastSender = nullptr;
  void Ping(framework::TObject* sender) {
    ++pings;
    lastSender = sender;
  }
  int Twice(int value) { return 2 * value; }
  bool IsCodeStored() const { return code != "none"; }

 private:
  int count_ = 0;
  std::string caption_;
};

class TBigGadget : public TGadget {
  LX_CLASS(TBigGadget, TGadget)

 public:
  explicit TBigGadget(framework::TComponent* owner) : TGadget(owner) { SetCount(7); }

  int volume = 0;
  TGadget* buddy = nullptr;
};

}  // namespace lx::support
