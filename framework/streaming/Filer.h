// Form streaming: the binary form stream, its reader TReader and its writer TWriter.
//
// A stored form is the signature "TPF0" followed by its root component. A component is an
// optional prefix (the byte 0xF0 | flags, then the child position as an integer value when
// ffChildPos is among the flags), its class name and its name as short strings (a length byte
// and the characters), its properties up to a null value, and its child components, stored the
// same way, up to another null value. A property is its name as a short string (a dotted path
// for the properties of a sub-object: "Font.Name") and one value. Every value starts with its
// kind (TValueType); numbers are little-endian.
//
// Reading a form creates its components from the class registry (framework/rtti/ClassRegistry.h)
// and sets their properties while they are in csLoading (and csReading while their own part
// of the stream is read). References to other components are stored by name ("Button1" for a
// component of the form, "Owner" for the form itself, "Form2.Button1" for a component of
// another form with the same owner) and set once the whole form is read; a name that names no
// component is an error. Events are stored by the name of the form's published method they
// are bound to. An integer property whose type has named constants (colours, character sets,
// cursors: TPropInfo::IdentMap) is written by name when its value has one, and read from a
// name or a number; a name the type does not know raises "Invalid property value: <name>".
// Then Loaded is called on every component read, the root first and then the
// others in the order they were met in the stream (see framework/streaming/LoadedList.h).
//
// Every failure of a reader raises an EFilerError descendant: EReadError for what the bytes
// hold ("Stream read error" when they end early, "Invalid stream format" for a wrong signature,
// "Invalid property value" for a value of the wrong kind), EClassNotFound for a class that is
// not registered. A failure while a property of a component is read names it: "Error reading
// Button1.Caption: ...". Errors of other classes raised by a component's own code (a defined
// property's reader, a setter of the engine) pass unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Set.h"
#include "framework/streaming/Streams.h"

namespace lx::framework {

class TCollection;
class TLoadedList;

/// The kinds of stored values, numbered as in the stream.
enum TValueType : std::uint8_t {
  vaNull,  // end of a list
  vaList,
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,  // 80-bit float
  vaString,    // short string
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaLString,  // long string
  vaNil,
  vaCollection,
  vaSingle,
  vaCurrency,  // 64-bit integer of ten-thousandths
  vaDate,      // 64-bit float
  vaWString,   // UTF-16 string
  vaInt64,
  vaUTF8String,
};
constexpr int kLastValueType = vaUTF8String;

/// The flags of a component's prefix: bit 0 inherited (the component exists in the ancestor
/// form), bit 1 child position (an integer follows), bit 2 inline (a frame).
LX_ENUM(TFilerFlag, ffInherited, ffChildPos, ffInline)
using TFilerFlags = TSet<TFilerFlag, std::uint8_t>;

/// The signature of a binary form stream.
inline constexpr std::string_view kFormSignature = "TPF0";
/// How deeply components, lists and collections may nest in a stored form; deeper nesting is
/// refused with EReadError "Stream nesting too deep" rather than overflowing the stack.
constexpr int kMaxStreamNesting = 100;

class TReader;
class TWriter;

/// What a tolerant reader does with what the program does not know (TReader::SetTolerance).
/// Without one, the reader refuses it as described above.
class TReadTolerance {
 public:
  virtual ~TReadTolerance() = default;
  /// A component of the class `className`, which is not registered, owned by `owner`.
  virtual TComponent* CreateStandIn(const std::string& className, TComponent* owner) = 0;
  /// A stored property that `instance` cannot take: a property it lacks, a defined property
  /// that nobody reads, a value that its property refuses (an event that names a method the
  /// root lacks, a reference to no component, an unknown name). `value` is the stored value's
  /// bytes, kind first.
  virtual void Keep(TPersistent& instance, const std::string& path,
                    std::vector<std::uint8_t> value) = 0;
  /// Every property stored directly for `component`: where its name and its value start and
  /// where the value ends, as stream positions.
  virtual void PropertyMet(TComponent& component, const std::string& path, std::int64_t nameStart,
                           std::int64_t valueStart, std::int64_t valueEnd) = 0;
  /// Where the stored properties of `component` end (the position of their null).
  virtual void PropertiesEnd(TComponent& component, std::int64_t position) = 0;
};

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

/// What the reader and the writer share: the stream, the root of the form, the ancestor that
/// the writer compares with, and the declaration of defined properties.
class TFiler {
 public:
  explicit TFiler(TStream& stream) : stream_(stream) {}
  virtual ~TFiler() = default;
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;

  /// Declares a stored value that is not a published property, from DefineProperties: a reader
  /// calls `readData` when the stream holds the property `name` of the object being read; a
  /// writer calls `writeData` when `hasData` is true. The data is any sequence of values (a
  /// list, say) read and written with the filer's value operations.
  virtual void DefineProperty(const std::string& name, const TReaderProc& readData,
                              const TWriterProc& writeData, bool hasData) = 0;
  /// The same for a block of bytes, stored as one binary value: `readData` gets a stream
  /// positioned at the start of the bytes; `writeData` writes them into the stream it gets.
  virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                    const TStreamProc& writeData, bool hasData) = 0;
  /// Brings the underlying stream up to date: the reader gives back the bytes it buffered
  /// beyond its position, the writer writes what it holds.
  virtual void FlushBuffer() = 0;

  /// The root component of the form being read or written.
  TComponent* Root() const { return root_; }
  void SetRoot(TComponent* root) { root_ = root; }
  /// The component whose owned components stored names refer to (the root).
  TComponent* LookupRoot() const { return lookupRoot_; }
  /// Writing: the object that the one being written is compared with (the same object in the
  /// ancestor form), or null. Defined properties use it to decide whether they have data.
  TPersistent* Ancestor() const { return ancestor_; }
  void SetAncestor(TPersistent* ancestor) { ancestor_ = ancestor; }
  /// Writing: leaves the child components out.
  bool IgnoreChildren() const { return ignoreChildren_; }
  void SetIgnoreChildren(bool value) { ignoreChildren_ = value; }

 protected:
  TStream& Stream() { return stream_; }
  void SetLookupRoot(TComponent* lookupRoot) { lookupRoot_ = lookupRoot; }

 private:
  TStream& stream_;
  TComponent* root_ = nullptr;
  TComponent* lookupRoot_ = nullptr;
  TPersistent* ancestor_ = nullptr;
  bool ignoreChildren_ = false;
};

/// Reads values and components from a binary form stream through a buffer. The reader takes
/// bytes from the stream ahead of its own position; FlushBuffer (also run by the destructor)
/// puts the stream back where the reader stands.
class TReader : public TFiler {
 public:
  /// A reader on `stream` from its current position, buffering `bufSize` bytes at a time.
  TReader(TStream& stream, int bufSize);
  ~TReader() override;

  void DefineProperty(const std::string& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;
  void FlushBuffer() override;
  /// The position in the stream of the next byte the reader gives.
  std::int64_t Position();

  // Values. Each typed read takes one value of a fitting kind and raises EReadError "Invalid
  // property value" for a value of any other kind, which it leaves unread, and for a value
  // that does not fit (a string of two characters for a character, an unknown set element).

  /// The kind of the next value, consumed or not. Any byte is given as it is, so a kind
  /// above kLastValueType is for the caller to refuse.
  TValueType ReadValue();
  TValueType NextValue();
  /// True when the next value is the null that ends a list.
  bool EndOfList();
  /// Consumes a value kind that must be `kind`.
  void CheckValue(TValueType kind);
  void ReadListBegin();
  void ReadListEnd();
  /// An 8-, 16- or 32-bit integer.
  int ReadInteger();
  /// Any integer, 64-bit ones included.
  std::int64_t ReadInt64();
  bool ReadBoolean();
  /// A string of one character.
  char ReadChar();
  char16_t ReadWideChar();
  /// A float of any kind, or an integer.
  double ReadFloat();
  float ReadSingle();
  double ReadCurrency();
  double ReadDate();
  /// 8-bit text; wide and UTF-8 strings are converted to the system's ANSI code page.
  std::string ReadString();
  /// UTF-16 text; 8-bit strings are converted from the system's ANSI code page.
  std::u16string ReadWideString();
  /// An identifier; false, true and nil are given as "False", "True" and "nil".
  std::string ReadIdent();
  /// A set of the elements of `elements`, as a mask (bit n for element n).
  std::uint64_t ReadSet(const TEnumInfo& elements);
  /// The bytes of a binary value.
  std::vector<std::uint8_t> ReadBinary();

  // The parts of a stored component.

  /// Consumes the signature; raises EReadError "Invalid stream format" when it is not there.
  void ReadSignature();
  /// A component's prefix: its flags, and its child position (-1 without one).
  void ReadPrefix(TFilerFlags& flags, int& childPos);
  /// A short string: a length byte and that many characters.
  std::string ReadStr();
  /// Bytes without a value kind.
  void Read(void* buffer, std::int64_t count);

  // Skipping. A value kind above kLastValueType raises EReadError
  // "Unknown property value: <kind>"; an item of a collection must start (after its optional
  // index) with a list marker, else "Invalid property value".

  void SkipValue();
  /// A property name and its value.
  void SkipProperty();
  /// A whole component: its prefix, class name and name (when `skipHeader`), its properties
  /// and its children, each group with its end marker.
  void SkipComponent(bool skipHeader = true);
  void SkipBytes(std::int64_t count);

  // Components.

  /// Reads a stored form into `root`, or into a new component of the stored class when `root`
  /// is null (which the caller then owns). Reads the signature, the root's name (a root that
  /// is not designing takes it), its properties and its components, sets the references by
  /// name and calls Loaded on every component read. When reading fails, a root created here is
  /// freed; components created inside a given root stay owned by it.
  TComponent* ReadRootComponent(TComponent* root);
  /// Reads one stored component: `component` itself, or else the existing component of the
  /// ancestor form for an inherited one, or else a new component of the stored class owned by
  /// Owner() whose parent component becomes Parent().
  TComponent* ReadComponent(TComponent* component);
  /// Reads the properties and then the children of `instance`, each group with its end marker.
  /// A component's ReadState calls it.
  void ReadData(TComponent& instance);
  /// Reads one property of `instance`: its name (a dotted path through sub-objects) and value.
  void ReadProperty(TPersistent& instance);
  /// Reads the items of a collection value (after its kind), replacing those it holds.
  void ReadCollection(TCollection& collection);

  /// The owner of the components created, and their parent component.
  TComponent* Owner() const { return owner_; }
  void SetOwner(TComponent* owner) { owner_ = owner; }
  TComponent* Parent() const { return parent_; }
  void SetParent(TComponent* parent) { parent_ = parent; }
  /// Puts every component read on `list` instead of a list of this reader's own, so that
  /// several forms read one after another (an inherited form's ancestors) share one round
  /// of Loaded; the caller then calls NotifyLoaded. Null goes back to the reader's own list.
  void SetLoadedList(TLoadedList* list) { sharedLoaded_ = list; }
  /// Reads tolerantly: what the program does not know goes to `tolerance` instead of being
  /// refused (null, the default, goes back to refusing). The stream must be able to seek, as
  /// a refused value is read again as bytes.
  void SetTolerance(TReadTolerance* tolerance) { tolerance_ = tolerance; }
  TReadTolerance* Tolerance() const { return tolerance_; }

 private:
  class TFixups;
  // One more level of nesting for as long as it lives.
  class TNesting {
   public:
    explicit TNesting(TReader& reader);
    ~TNesting() { --reader_.nesting_; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

   private:
    TReader& reader_;
  };

  void Fill();
  std::uint8_t ReadByte();
  template <typename T>
  T ReadLittleEndian();
  [[noreturn]] void PropValueError();
  std::string ReadBytesAsString(std::int64_t count);
  std::string ReadUtf8Bytes();
  std::u16string ReadUtf16();
  void SkipSetElements();
  void SkipCollection();

  void ReadRootInto(TComponent& root, TLoadedList& loaded);
  TComponent* CreateComponent(const std::string& className, TFilerFlags flags);
  TComponent* CreateTolerantlyOwned(const std::string& className, const std::string& name,
                                    TFilerFlags flags);
  TComponent* FindAncestorComponent(const std::string& name);
  void ReadComponentState(TComponent& component, TFilerFlags flags, int childPos);
  void ReadOwnState(TComponent& component);
  void ReadPropertyPath(TPersistent& instance, const std::string& path);
  void ReadPropValue(TPersistent& instance, const TPropInfo& property);
  void ReadObjectValue(TPersistent& instance, const TPropInfo& property);
  void ReadMethodValue(TPersistent& instance, const TPropInfo& property);
  void ReadDefinedProperty(TPersistent& instance, const std::string& name);
  void ReadPropertyTolerantly(TPersistent& instance, const std::string& path);
  void KeepValue(TPersistent& instance, const std::string& path, std::int64_t start);
  void SeekTo(std::int64_t position);

  std::vector<std::uint8_t> buffer_;
  std::size_t bufPos_ = 0;
  std::size_t bufEnd_ = 0;
  TComponent* owner_ = nullptr;
  TComponent* parent_ = nullptr;
  TLoadedList* loaded_ = nullptr;
  TLoadedList* sharedLoaded_ = nullptr;
  TReadTolerance* tolerance_ = nullptr;
  std::unique_ptr<TFixups> fixups_;
  std::vector<const TCollection*> collections_;  // being read, outermost first
  TPersistent* propertyOwner_ = nullptr;         // whose property is being read
  const std::string* propertyPath_ = nullptr;    // and which, while it is read
  /// What an error in the property being read is prefixed with: "Error reading
  /// Button1.Caption: ". Made only when needed: most properties read without one.
  std::string PropertyContext() const;
  std::string propName_;  // the defined property being looked for
  bool propRead_ = false;
  int nesting_ = 0;
};

/// Writes values and components as a binary form stream. The writer holds what it writes
/// until FlushBuffer (run by WriteRootComponent and WriteDescendent when they are done, and by
/// the destructor), so that an inherited component found unchanged can be taken back.
class TWriter : public TFiler {
 public:
  explicit TWriter(TStream& stream);
  /// Writes what is still held; a failure here goes unreported (call FlushBuffer to see it).
  ~TWriter() override;

  void DefineProperty(const std::string& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;
  /// Writes what the writer holds to the stream; raises EWriteError "Stream write error" when
  /// the stream does not take it.
  void FlushBuffer() override;
  /// The position in the stream of the next byte written.
  std::int64_t Position() const { return flushed_ + static_cast<std::int64_t>(bytes_.size()); }

  // Values. Each writes its kind and then its data in the smallest canonical form, so that a
  // stream converted to text and back is the same to the byte.

  void WriteValue(TValueType kind);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  /// An 8-, 16- or 32-bit integer, whichever holds the value, or a 64-bit one beyond that.
  void WriteInteger(std::int64_t value);
  void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
  void WriteChar(char value);
  /// A character below 128 is written as an 8-bit character.
  void WriteWideChar(char16_t value);
  /// An 80-bit float: the one nearest to the shortest decimal that reads back as `value`, so
  /// that 0.1 stays 0.1 in a text form.
  void WriteFloat(double value);
  void WriteSingle(float value);
  /// Rounded to ten-thousandths.
  void WriteCurrency(double value);
  void WriteDate(double value);
  /// A short string up to 255 bytes, a long string beyond.
  void WriteString(std::string_view value);
  /// A text of characters below 128 only is written as an 8-bit string (ASCII reads the same
  /// in every code page), any other as a wide string.
  void WriteWideString(std::u16string_view value);
  /// An identifier; "False", "True" and "nil" (any case) are written as their own kinds.
  void WriteIdent(std::string_view ident);
  /// The names of the elements whose bits are set in `mask`.
  void WriteSet(const TEnumInfo& elements, std::uint64_t mask);
  void WriteBinary(std::span<const std::uint8_t> bytes);
  /// The items of a collection and their properties (none for a null collection).
  void WriteCollection(TCollection* collection);

  // The parts of a stored component.

  void WriteSignature();
  /// A component's prefix: nothing when there are no flags.
  void WritePrefix(TFilerFlags flags, int childPos);
  /// A component's prefix, class name and name. A class name of 240 characters or more gets
  /// a prefix even without flags, so that its length byte is not taken for one.
  void WriteComponentHeader(TFilerFlags flags, int childPos, std::string_view className,
                            std::string_view name);
  /// A short string; raises EWriteError "String too long for a short string" beyond 255 bytes.
  void WriteStr(std::string_view text);
  /// Bytes without a value kind.
  void Write(const void* buffer, std::int64_t count);

  // Components.

  /// Writes the signature and `root` with everything it stores, as a form of its own.
  void WriteRootComponent(TComponent& root);
  /// Writes `root` as a form inherited from `ancestor` (another instance of the form it
  /// derives from, or null for none): only what differs from the ancestor is written, and the
  /// components of the ancestor are marked inherited.
  void WriteDescendent(TComponent& root, TComponent* ancestor);
  /// Writes one component: its prefix, class and name, its properties and its children (as
  /// its GetChildren gives them). A component's WriteState calls WriteData.
  void WriteComponent(TComponent& component);
  void WriteData(TComponent& instance);
  /// Writes the stored published properties that differ from their default (or from the
  /// ancestor) and then the defined properties. Sub-objects write their own properties under
  /// a dotted path; an event bound to anything but a published method of the root, and a
  /// reference to a component that cannot be named, are not stored.
  void WriteProperties(TPersistent& instance);
  /// WriteProperties of `instance` alone, without the signature or any end marker, names and
  /// references seen from `root`: what a stored form holds for it.
  void WriteStoredProperties(TComponent& root, TPersistent& instance);
  /// The root of the ancestor form while a descendant is written.
  TComponent* RootAncestor() const { return rootAncestor_; }

 private:
  // One more level of nesting for as long as it lives.
  class TNesting {
   public:
    explicit TNesting(TWriter& writer);
    ~TNesting() { --writer_.nesting_; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

   private:
    TWriter& writer_;
  };

  void WritePropName(std::string_view name);
  const TPropInfo* AncestorProperty(const TPropInfo& property) const;
  void WriteProperty(TPersistent& instance, const TPropInfo& property);
  void WritePropValue(const TPersistent& instance, const TPropInfo& property);
  void WriteMethodProp(TPersistent& instance, const TPropInfo& property,
                       const TPropInfo* ancestorProperty);
  void WriteObjectProp(TPersistent& instance, const TPropInfo& property,
                       const TPropInfo* ancestorProperty);
  void WriteSubObject(TPersistent& value, const TPropInfo& property, TObject* ancestorValue);
  bool SameComponentAsAncestor(const TComponent& value, const TObject* ancestorValue) const;
  std::string ComponentReference(const TComponent& component) const;
  bool CollectionsEqual(TCollection& collection, TCollection& ancestor);
  void FindAncestor(const std::string& name);
  TFilerFlags ComponentFlags(const TComponent& instance) const;
  void WriteChildren(TComponent& instance);

  std::vector<std::uint8_t> bytes_;
  std::int64_t flushed_ = 0;
  std::string propPath_;
  std::vector<TComponent*>* ancestorList_ = nullptr;
  std::size_t ancestorPos_ = 0;
  int childPos_ = 0;
  TComponent* rootAncestor_ = nullptr;
  int nesting_ = 0;
  int uncaught_;
};

/// Reads a stored form from `stream` into `instance` (or a new component when null) with a
/// reader of 4096-byte buffer; see TReader::ReadRootComponent.
TComponent* ReadComponentFrom(TStream& stream, TComponent* instance);
/// Writes `instance` as a stored form, inherited from `ancestor` when it is not null.
void WriteComponentTo(TStream& stream, TComponent& instance, TComponent* ancestor = nullptr);

}  // namespace lx::framework
