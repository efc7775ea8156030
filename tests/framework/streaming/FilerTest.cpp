#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/rtti/ClassRegistry.h"
#include "framework/streaming/Filer.h"
#include "framework/streaming/LoadedList.h"
#include "framework/streaming/TextForm.h"
#include "samples/AllocationWatch.h"
#include "samples/FormSamples.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

using Bytes = std::vector<std::uint8_t>;
using support::TSampleForm;
using support::TSampleItem;
using support::TSampleWidget;

Bytes Written(const std::function<void(TWriter&)>& write) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    write(writer);
  }
  return stream.Bytes();
}

// Reads the text form `text` into a new root, and frees it.
void ReadAndFree(const std::string& text) {
  const Bytes bytes = FormTextToBinary(text);
  TReadOnlyMemoryStream stream(bytes);
  delete ReadComponentFrom(stream, nullptr);
}

std::unique_ptr<TComponent> ReadForm(const std::string& text) {
  const Bytes bytes = FormTextToBinary(text);
  TReadOnlyMemoryStream stream(bytes);
  return std::unique_ptr<TComponent>(ReadComponentFrom(stream, nullptr));
}

class FilerTest : public testing::Test {
 protected:
  void SetUp() override {
    support::RegisterFormSamples();
    support::LoadedLog().clear();
  }
  support::FixedSystem system_;
};

TEST_F(FilerTest, IntegersTakeTheSmallestKindThatHoldsThem) {
  const Bytes bytes = Written([](TWriter& w) {
    for (std::int64_t value : {-128LL, 128LL, -32769LL, 2147483647LL, 2147483648LL})
      w.WriteInteger(value);
  });
  EXPECT_EQ(bytes, (Bytes{vaInt8, 0x80, vaInt16, 0x80, 0x00, vaInt32, 0xFF, 0x7F,
                          0xFF,   0xFF, vaInt32, 0xFF, 0xFF, 0xFF,    0x7F, vaInt64,
                          0,      0,    0,       0x80, 0,    0,       0,    0}));
  TReadOnlyMemoryStream stream(bytes);
  TReader reader(stream, 4096);
  EXPECT_EQ(reader.ReadInteger(), -128);
  EXPECT_EQ(reader.ReadInt64(), 128);
  EXPECT_EQ(reader.ReadInteger(), -32769);
  EXPECT_EQ(reader.ReadInteger(), 2147483647);
  // A 64-bit integer is no integer, and a refused value stays to be read otherwise.
  EXPECT_RAISES(reader.ReadInteger(), platform::Exception, "Invalid property value");
  EXPECT_EQ(reader.NextValue(), vaInt64);
  EXPECT_EQ(reader.ReadInt64(), 2147483648LL);
}

TEST_F(FilerTest, StringsAreShortLongOrWideAsTheirContentNeeds) {
  const std::string longText(300, 'x');
  const Bytes bytes = Written([&](TWriter& w) {
    w.WriteString("ab");
    w.WriteString(longText);
    w.WriteWideString(u"ab");
    w.WriteWideString(u"\u00E9\u20AC");
    w.WriteString("\xE9");
    w.WriteWideChar(u'z');
    w.WriteWideChar(u'\u20AC');
  });
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{vaString, 2, 'a', 'b'}));
  EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 9), (Bytes{vaLString, 44, 1, 0, 0}));
  TReadOnlyMemoryStream stream(bytes);
  TReader reader(stream, 16);
  EXPECT_EQ(reader.ReadString(), "ab");
  EXPECT_EQ(reader.ReadString(), longText);
  EXPECT_EQ(reader.NextValue(), vaString);
  EXPECT_EQ(reader.ReadWideString(), u"ab");
  EXPECT_EQ(reader.NextValue(), vaWString);
  // Wide text read as 8-bit text, and 8-bit text read wide, go through the ANSI code page.
  EXPECT_EQ(reader.ReadString(), "\xE9\x80");
  EXPECT_EQ(reader.ReadWideString(), u"\u00E9");
  EXPECT_EQ(reader.ReadWideChar(), u'z');
  EXPECT_EQ(reader.ReadWideChar(), u'\u20AC');
}

TEST_F(FilerTest, EveryValueComesBackAsWritten) {
  const Bytes bytes = Written([](TWriter& w) {
    w.WriteListBegin();
    w.WriteFloat(0.1);
    w.WriteSingle(2.5f);
    w.WriteCurrency(-12.3456);
    w.WriteDate(45000.25);
    w.WriteBoolean(true);
    w.WriteChar('q');
    w.WriteIdent("nil");
    w.WriteIdent("Widget1");
    w.WriteSet(support::EnumInfoOf(static_cast<support::TTone*>(nullptr)), 0b101);
    w.WriteBinary(Bytes{1, 2, 3});
    w.WriteListEnd();
  });
  TReadOnlyMemoryStream stream(bytes);
  TReader reader(stream, 4096);
  reader.ReadListBegin();
  EXPECT_EQ(reader.ReadFloat(), 0.1);
  EXPECT_EQ(reader.ReadFloat(), 2.5);
  EXPECT_EQ(reader.ReadCurrency(), -12.3456);
  EXPECT_EQ(reader.ReadDate(), 45000.25);
  EXPECT_TRUE(reader.ReadBoolean());
  EXPECT_EQ(reader.ReadChar(), 'q');
  EXPECT_EQ(reader.ReadIdent(), "nil");
  EXPECT_EQ(reader.ReadIdent(), "Widget1");
  EXPECT_EQ(reader.ReadSet(support::EnumInfoOf(static_cast<support::TTone*>(nullptr))), 0b101u);
  EXPECT_EQ(reader.ReadBinary(), (Bytes{1, 2, 3}));
  EXPECT_TRUE(reader.EndOfList());
  reader.ReadListEnd();
  EXPECT_EQ(reader.Position(), static_cast<std::int64_t>(bytes.size()));
}

TEST_F(FilerTest, TheReaderGivesBackTheBytesItBufferedAhead) {
  const Bytes bytes = FormTextToBinary("object TSampleForm\nend\n");
  TReadOnlyMemoryStream stream(bytes);
  {
    TReader reader(stream, 4096);
    reader.ReadSignature();
    EXPECT_EQ(reader.Position(), 4);
    EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(bytes.size()));
  }
  EXPECT_EQ(stream.Position(), 4);
}

TEST_F(FilerTest, ShortOrForeignStreamsAreReadErrors) {
  const Bytes empty;
  TReadOnlyMemoryStream nothing(empty);
  TReader reader(nothing, 4096);
  EXPECT_RAISES(reader.NextValue(), platform::EReadError, "Stream read error");

  const Bytes foreign{'P', 'K', 3, 4, 0};
  TReadOnlyMemoryStream zip(foreign);
  EXPECT_RAISES(ReadComponentFrom(zip, nullptr), platform::EReadError, "Invalid stream format");

  // Lengths far beyond the stream end in a read error, not in an allocation of their size.
  for (TValueType kind : {vaLString, vaWString, vaBinary, vaUTF8String}) {
    Bytes huge{kind, 0xFF, 0xFF, 0xFF, 0xFF};
    huge.resize(100, 'x');
    TReadOnlyMemoryStream stream(huge);
    TReader hugeReader(stream, 4096);
    const support::AllocationWatch watch;
    EXPECT_RAISES(if (kind == vaBinary) hugeReader.ReadBinary();
                  if (kind != vaBinary) hugeReader.ReadWideString(), platform::EReadError,
                  "Stream read error");
    EXPECT_LT(watch.Largest(), std::size_t{1} << 20) << "value kind " << static_cast<int>(kind);
  }
}

TEST_F(FilerTest, SkippingPassesOverEveryKindOfValue) {
  const Bytes bytes = Written([](TWriter& w) {
    w.WriteListBegin();
    for (std::int64_t value : {1LL, 1000LL, 100000LL, 10000000000LL})
      w.WriteInteger(value);
    w.WriteFloat(1.5);
    w.WriteSingle(1.5f);
    w.WriteCurrency(1.5);
    w.WriteDate(1.5);
    w.WriteString("short");
    w.WriteString(std::string(256, 'l'));
    w.WriteWideString(u"\u20AC");
    w.WriteIdent("ident");
    w.WriteBoolean(false);
    w.WriteIdent("nil");
    w.WriteSet(support::EnumInfoOf(static_cast<support::TTone*>(nullptr)), 3);
    w.WriteBinary(Bytes(300, 7));
    w.WriteValue(vaUTF8String);
    const std::uint8_t utf8[] = {2, 0, 0, 0, 'o', 'k'};
    w.Write(utf8, sizeof utf8);
    // A collection whose first item carries an index.
    w.WriteValue(vaCollection);
    w.WriteInteger(3);
    w.WriteListBegin();
    w.WriteStr("Caption");
    w.WriteString("x");
    w.WriteListEnd();
    w.WriteListBegin();
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteListEnd();
    w.WriteInteger(99);
  });
  TReadOnlyMemoryStream stream(bytes);
  TReader reader(stream, 16);
  reader.SkipValue();
  EXPECT_EQ(reader.ReadInteger(), 99);

  const Bytes unknown{vaList, 21, vaNull};
  TReadOnlyMemoryStream unknownStream(unknown);
  TReader unknownReader(unknownStream, 4096);
  EXPECT_RAISES(unknownReader.SkipValue(), platform::EReadError, "Unknown property value: 21");
}

TEST_F(FilerTest, SkippingAComponentLeavesTheReaderAfterIt) {
  const Bytes bytes = FormTextToBinary(
      "object Form: TSampleForm\n"
      "  Caption = 'x'\n"
      "  object W: TSampleWidget\n"
      "    Items = <\n      item\n        Caption = 'a'\n      end>\n"
      "    object Inner: TSampleWidget\n    end\n"
      "  end\n"
      "end\n");
  TReadOnlyMemoryStream stream(bytes);
  TReader reader(stream, 4096);
  reader.ReadSignature();
  reader.SkipComponent();
  EXPECT_EQ(reader.Position(), static_cast<std::int64_t>(bytes.size()));
}

TEST_F(FilerTest, DeepNestingIsRefusedBeforeTheStackRunsOut) {
  Bytes lists(100000, vaList);
  TReadOnlyMemoryStream listStream(lists);
  TReader reader(listStream, 4096);
  EXPECT_RAISES(reader.SkipValue(), platform::EReadError, "Stream nesting too deep");

  // Components inside components, past the limit; the text parser refuses such nesting itself.
  const Bytes nested = Written([](TWriter& w) {
    w.WriteSignature();
    w.WriteStr("TSampleForm");
    w.WriteStr("Form");
    w.WriteListEnd();
    for (int i = 0; i < 150; ++i) {
      w.WriteStr("TSampleWidget");
      std::string name = "W";
      name += std::to_string(i);
      w.WriteStr(name);
      w.WriteListEnd();
    }
  });
  TSampleForm form(nullptr);
  TReadOnlyMemoryStream nestedStream(nested);
  EXPECT_RAISES(ReadComponentFrom(nestedStream, &form), platform::EReadError,
                "Stream nesting too deep");
  EXPECT_TRUE(form.ComponentState().Empty());
}

TEST_F(FilerTest, ReaderErrorsNameTheComponentAndProperty) {
  const std::string head = "object Form: TSampleForm\n  object W: TSampleWidget\n";
  const std::string tail = "  end\nend\n";
  EXPECT_RAISES(ReadAndFree("object Form: TNoSuchForm\nend\n"), platform::EFilerError,
                "Class TNoSuchForm not found");
  // A registered class that is no component is no stored component either.
  RegisterClass(TFont::StaticClassInfo());
  EXPECT_RAISES(ReadAndFree(head + "  end\n  object X: TFont\n" + tail), platform::EFilerError,
                "Class TFont not found");
  EXPECT_RAISES(ReadAndFree(head + "    Nope = 1\n" + tail), platform::EFilerError,
                "Error reading W.Nope: Property Nope does not exist");
  EXPECT_RAISES(ReadAndFree(head + "    Font.Nope = 1\n" + tail), platform::EFilerError,
                "Error reading W.Font.Nope: Property Nope does not exist");
  EXPECT_RAISES(ReadAndFree(head + "    Caption.Size = 1\n" + tail), platform::EFilerError,
                "Error reading W.Caption.Size: Invalid property path");
  EXPECT_RAISES(ReadAndFree(head + "    Count = 'x'\n" + tail), platform::EFilerError,
                "Error reading W.Count: Invalid property value");
  EXPECT_RAISES(ReadAndFree(head + "    Tone = toShrill\n" + tail), platform::EFilerError,
                "Error reading W.Tone: Invalid property value");
  EXPECT_RAISES(ReadAndFree(head + "    Tones = [toSoft, toShrill]\n" + tail),
                platform::EFilerError, "Error reading W.Tones: Invalid property value");
  EXPECT_RAISES(ReadAndFree(head + "    Letter = 'ab'\n" + tail), platform::EFilerError,
                "Error reading W.Letter: Invalid property value");
  EXPECT_RAISES(ReadAndFree(head + "    Blob = 5\n" + tail), platform::EFilerError,
                "Error reading W.Blob: Invalid property value");
  EXPECT_RAISES(ReadAndFree(head + "    Lines.Strings = ('a' 1)\n" + tail), platform::EFilerError,
                "Error reading W.Lines.Strings: Invalid property value");
  EXPECT_RAISES(ReadAndFree(head + "    Targets = (1 0 2)\n" + tail), platform::EFilerError,
                "Error reading W.Targets: Invalid property value");
  EXPECT_RAISES(
      ReadAndFree(head + "    Items = <\n      item\n        Size = 1\n      end>\n" + tail),
      platform::EFilerError, "Error reading W.Items: Property Size does not exist");
  EXPECT_RAISES(ReadAndFree(head + "    Buddy = Nobody\n" + tail), platform::EFilerError,
                "Error reading W.Buddy: Component Nobody not found");
  EXPECT_RAISES(ReadAndFree(head + "    OnPing = NoSuchMethod\n" + tail), platform::EFilerError,
                "Error reading W.OnPing: Method NoSuchMethod does not exist in TSampleForm");
  EXPECT_RAISES(ReadAndFree(head + "  end\n  object W: TSampleWidget\n" + tail),
                platform::EFilerError, "A component named W already exists");
  EXPECT_RAISES(ReadAndFree(head + "  end\n  inherited Gone: TSampleWidget\n" + tail),
                platform::EFilerError, "Ancestor for 'Gone' not found");
}

TEST_F(FilerTest, ReferencesAreSetOnceTheWholeFormIsRead) {
  const auto form = ReadForm(
      "object Form: TSampleForm\n"
      "  object A: TSampleWidget\n"
      "    Buddy = B\n"
      "    Items = <\n      item\n        Link = B\n      end>\n"
      "  end\n"
      "  object B: TSampleWidget\n"
      "    Buddy = Form.A\n"
      "  end\n"
      "end\n");
  auto* a = dynamic_cast<TSampleWidget*>(form->FindComponent("A"));
  auto* b = dynamic_cast<TSampleWidget*>(form->FindComponent("B"));
  EXPECT_EQ(a->buddy, b);
  EXPECT_EQ(b->buddy, a);
  EXPECT_EQ(dynamic_cast<TSampleItem*>(a->Items()->Items(0))->link, b);
}

TEST_F(FilerTest, ItemsReadAgainDropTheReferencesOfTheirPredecessors) {
  const auto form = ReadForm(
      "object Form: TSampleForm\n"
      "  object A: TSampleWidget\n"
      "    Items = <\n      item\n        Link = A\n      end>\n"
      "    Items = <\n      item\n        Caption = 'b'\n      end>\n"
      "  end\n"
      "end\n");
  auto* a = dynamic_cast<TSampleWidget*>(form->FindComponent("A"));
  ASSERT_EQ(a->Items()->Count(), 1);
  EXPECT_EQ(dynamic_cast<TSampleItem*>(a->Items()->Items(0))->link, nullptr);
}

TEST_F(FilerTest, AFailedReadLeavesNoLoadingStateAndCallsNoLoaded) {
  TSampleForm form(nullptr);
  const Bytes bytes = FormTextToBinary(
      "object Form: TSampleForm\n"
      "  object A: TSampleWidget\n  end\n"
      "  object B: TSampleWidget\n    Count = 'x'\n  end\n"
      "end\n");
  TReadOnlyMemoryStream stream(bytes);
  EXPECT_RAISES(ReadComponentFrom(stream, &form), platform::EReadError,
                "Error reading B.Count: Invalid property value");
  // A was read and stays owned; B, which failed, is gone.
  ASSERT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Components(0)->Name(), "A");
  EXPECT_TRUE(form.ComponentState().Empty());
  EXPECT_TRUE(form.Components(0)->ComponentState().Empty());
  EXPECT_TRUE(support::LoadedLog().empty());
}

TEST_F(FilerTest, EveryTruncationOfAFormIsAReadError) {
  const auto resource = platform::FindResource(platform::MainModule(), "RCDATA", "TSampleForm");
  ASSERT_TRUE(resource.has_value());
  const Bytes whole(resource->begin(), resource->end());
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    TReadOnlyMemoryStream stream(part);
    // Where the cut falls decides the message; each is a read error.
    EXPECT_THROW(delete ReadComponentFrom(stream, nullptr), platform::EReadError) << size;
  }
  EXPECT_TRUE(support::LoadedLog().empty());
}

TEST_F(FilerTest, ALoadedListSharedBetweenReadsWaitsForItsOwner) {
  TSampleForm form(nullptr);
  const Bytes bytes =
      FormTextToBinary("object Form: TSampleForm\n  object A: TSampleWidget\n  end\nend\n");
  TLoadedList loaded;
  TReadOnlyMemoryStream stream(bytes);
  TReader reader(stream, 4096);
  reader.SetLoadedList(&loaded);
  reader.ReadRootComponent(&form);
  EXPECT_TRUE(support::LoadedLog().empty());
  EXPECT_TRUE(form.ComponentState().Contains(csLoading));
  loaded.NotifyLoaded();
  EXPECT_EQ(support::LoadedLog(), (std::vector<std::string>{"Form", "A"}));
}

TEST_F(FilerTest, AWriterLeftByAnExceptionWritesNothing) {
  TMemoryStream stream;
  try {
    TWriter writer(stream);
    writer.WriteString("half");
    writer.WriteStr(std::string(256, 'n'));
  } catch (const platform::EWriteError& e) {
    EXPECT_EQ(e.Message(), "String too long for a short string");
  }
  EXPECT_EQ(stream.Size(), 0);
}

TEST_F(FilerTest, DefaultValuesAreLeftOutAndStoredOnesKept) {
  TSampleForm form(nullptr);
  form.SetName("Form");
  auto* widget = new TSampleWidget(&form);
  widget->SetName("W");
  widget->count = 0;  // the default
  widget->letter = 'a';
  widget->enabled = true;
  widget->caption = "c";
  widget->OnPing = [](TObject*) {};  // not a published method: cannot be stored
  TMemoryStream stream;
  WriteComponentTo(stream, form);
  EXPECT_EQ(FormBinaryToText(stream.Bytes()),
            "object Form: TSampleForm\n"
            "  object W: TSampleWidget\n"
            "    Caption = 'c'\n"
            "    Font.Charset = DEFAULT_CHARSET\n"
            "    Font.Color = clWindowText\n"
            "    Font.Height = -11\n"
            "    Font.Name = 'MS Sans Serif'\n"
            "    Font.Style = []\n"
            "    Items = <>\n"
            "  end\n"
            "end\n");
}

TEST_F(FilerTest, NamedConstantsAreReadByNameOrNumberAndWrittenByName) {
  const std::string head = "object Form: TSampleForm\n  object W: TSampleWidget\n";
  const std::string tail = "  end\nend\n";
  auto form = ReadForm(head +
                       "    Font.Charset = gb2312_charset\n"
                       "    Font.Color = clBtnFace\n"
                       "    Font.Height = -12\n" +
                       tail);
  auto* widget = dynamic_cast<TSampleWidget*>(form->FindComponent("W"));
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->Font()->Charset(), GB2312_CHARSET);
  EXPECT_EQ(widget->Font()->Color(), clBtnFace);
  EXPECT_EQ(clBtnFace, -2147483633);

  // A value with a name is written by it, any other as a number; both read back.
  const auto written = [&](TFontCharset charset, TColor color) {
    widget->Font()->SetCharset(charset);
    widget->Font()->SetColor(color);
    TMemoryStream stream;
    WriteComponentTo(stream, *form);
    const std::string text = FormBinaryToText(stream.Bytes());
    auto again = ReadForm(text);
    auto* copy = dynamic_cast<TSampleWidget*>(again->FindComponent("W"));
    EXPECT_EQ(copy->Font()->Charset(), charset);
    EXPECT_EQ(copy->Font()->Color(), color);
    const std::size_t at = text.find("Font.Charset");
    return text.substr(at, text.find("Font.Height") - at);
  };
  EXPECT_EQ(written(VIETNAMESE_CHARSET, clRed),
            "Font.Charset = VIETNAMESE_CHARSET\n    Font.Color = clRed\n    ");
  EXPECT_EQ(written(3, 0x123456), "Font.Charset = 3\n    Font.Color = 1193046\n    ");
  EXPECT_EQ(written(OEM_CHARSET, clLtGray),
            "Font.Charset = OEM_CHARSET\n    Font.Color = clSilver\n    ");

  // A name the type does not know, and a name where no constant is known at all.
  EXPECT_RAISES(ReadAndFree(head + "    Font.Color = clNoSuchColour\n" + tail),
                platform::EFilerError,
                "Error reading W.Font.Color: Invalid property value: clNoSuchColour");
  EXPECT_RAISES(ReadAndFree(head + "    Font.Charset = clRed\n" + tail), platform::EFilerError,
                "Error reading W.Font.Charset: Invalid property value: clRed");
  EXPECT_RAISES(ReadAndFree(head + "    Count = clRed\n" + tail), platform::EFilerError,
                "Error reading W.Count: Invalid property value: clRed");
  EXPECT_RAISES(ReadAndFree(head + "    Font.Color = True\n" + tail), platform::EFilerError,
                "Error reading W.Font.Color: Invalid property value");
}

}  // namespace
}  // namespace lx::framework
