#include "samples/Gadget.h"

#include "framework/rtti/Published.h"

namespace lx::support {

// The declaration helpers are found through the classes' base in lx::framework.
LX_PUBLISHED(TPart, Property("Weight", &TPart::weight, &TPart::weight, 0),
             Property("Next", &TPart::next, &TPart::next))

LX_PUBLISHED(
    TGadget, Property("Count", &TGadget::Count, &TGadget::SetCount, 0),
    Property("Letter", &TGadget::letter, &TGadget::letter, 'a'),
    Property("Shade", &TGadget::shade, &TGadget::shade, shMedium),
    Property("Ratio", &TGadget::ratio, &TGadget::ratio),
    Property("Code", &TGadget::code, &TGadget::code).ShortString().Stored(&TGadget::IsCodeStored),
    Property("Shades", &TGadget::shades, &TGadget::shades),
    Property("Part", &TGadget::part, &TGadget::part),
    Property("Glyph", &TGadget::glyph, &TGadget::glyph),
    Property("Caption", &TGadget::Caption, &TGadget::SetCaption),
    Property("Title", &TGadget::title, &TGadget::title),
    Property("Big", &TGadget::big, &TGadget::big),
    Property("Enabled", &TGadget::enabled, &TGadget::enabled, true),
    Property("Small", &TGadget::small, &TGadget::small), Event("OnPing", &TGadget::OnPing),
    Property("Hidden", &TGadget::hidden, nullptr).Stored(false),
    Property("Written", nullptr, &TGadget::written), Method("Ping", &TGadget::Ping),
    Method("Twice", &TGadget::Twice))

LX_PUBLISHED(TBigGadget, Property("Volume", &TBigGadget::volume, &TBigGadget::volume),
             Property("Count", &TBigGadget::Count, &TBigGadget::SetCount, 7),
             Field("Buddy", &TBigGadget::buddy))

}  // namespace lx::support
