// TLxTranslator: the component that translates its form.
//
// A form (or data module) that is to appear in the user's language owns one translator,
// bound by name to a dictionary (`DictionaryName`, see lang/LxCustomTranslator.h). Opening it
// walks every component its root owns, translates each published text whose (class, property)
// pair is among its `Targets`, and remembers the native texts in its table, so that every
// later pass (another language, or `Revert` with no dictionary) starts from the native texts.
// The dictionary runs the pass again after each change of language or locale. With a
// dictionary that answers by position (TLxDictionary::KeysVersion, the file dictionaries),
// each remembered text also keeps where the dictionary found it: a change of language keeps
// the keys, so the next pass reads the new text there instead of searching.
//
//   object MainForm: TMainForm
//     object Translator1: TLxTranslator
//       DictionaryName = 'Dictionary1'
//       TargetsData = (1 2 ('*' 'Hint' 0) ('*' 'Caption' 0))
//     end
//   end
//
// Look-up contexts: a dictionary with context keys is asked with the class name of the root
// (and then of its ancestor form classes, stopping before TForm, TCustomForm and TComponent)
// as the context and the component's name as the id. So every form class a program
// translates must be a class of its own, registered with LX_CLASS under the name its
// dictionary uses; two forms that share one class share their translations.
//
// Restrictions let the application limit what is done to one component (`OnRestrictComponent`),
// one object (`OnRestrictObject`) or one property (`OnRestrictProperty`). Without these two
// last events the walk passes by objects that have nothing to translate.
//
// What a class's objects need (the properties visited, which of them are targets) is worked
// out once per class; a change of `Targets` is seen at the start of the next pass.
//
// Fonts, far-east scaling and right-to-left mirroring are steps of the pass with their own
// functions (ChangeFormFont, ChangeFont, ApplyMultiByteScale, ApplyMirrorFlag,
// ApplyReadingOrderStep, MirrorControl, UnmirrorControl, RealignControl(s)); the pass calls
// them at their fixed points.
//
// The translator keeps the component's interface and delegates to units of its own: the
// walk's plans per class (LxWalkPlans.h), fonts, scaling and mirroring with their state
// (LxLayout.h), the look-up of one text (LxTextLookup.h) and the menus (LxMenus.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "framework/core/Font.h"
#include "framework/core/Set.h"
#include "framework/core/Strings.h"
#include "lang/LxCustomTranslator.h"
#include "translator/LxTargetProperties.h"
#include "translator/LxTranslatorTable.h"

namespace lx::framework {
class TControl;
class TMenu;
class TWinControl;
}  // namespace lx::framework

namespace lx::translator {

class TLxFormMenus;
class TLxLayoutState;
class TLxTextLookup;
class TLxWalkCache;
struct TLxClassPlan;
struct TLxPropertyStep;
struct TLxStrippedText;

// The names and order of these values are part of the stored form.

LX_ENUM(TLxReadingOrder, lxroLeftToRight, lxroRightToLeft)
LX_ENUM(TLxCharsetChange, lxccDisabled, lxccNormal, lxccAll)
LX_ENUM(TLxTranslatorOption, lxtoAutoTranslate, lxtoCheckFont, lxtoScaleMultiByte,
        lxtoMirrorBiDirectional, lxtoChangeFontCharset, lxtoUpdateLocaleProperty, lxtoAutoOpen,
        lxtoTranslateSystemMenu, lxtoTranslateOCX, lxtoForceCharsetChange)
using TLxTranslatorOptions = framework::TSet<TLxTranslatorOption, std::uint16_t>;
/// {AutoTranslate, CheckFont, ScaleMultiByte, MirrorBiDirectional, AutoOpen,
/// TranslateSystemMenu, TranslateOCX}: the default of `Options`.
inline constexpr TLxTranslatorOptions kLxDefaultTranslatorOptions =
    TLxTranslatorOptions::FromMask(463);

/// What is not done to a component: its published texts (BuildInTranslation), its control
/// text and module translation (CustomTranslation), mirroring and "locale" properties (Flip),
/// its reading order, its fonts (Charset). ThisComponentOnly: its owned components are walked
/// without restrictions.
LX_ENUM(TLxRestriction, lxrBuildInTranslation, lxrCustomTranslation, lxrFlip, lxrReadingOrder,
        lxrThisComponentOnly, lxrCharset)
using TLxRestrictions = framework::TSet<TLxRestriction, std::uint8_t>;

class TLxTranslator;

using TLxTranslateNotifyEvent =
    std::function<void(TLxTranslator* translator, framework::TComponent* component)>;
using TLxRestrictComponentEvent = std::function<void(
    TLxTranslator* translator, framework::TComponent* component, TLxRestrictions& restrictions)>;
using TLxRestrictObjectEvent =
    std::function<void(TLxTranslator* translator, framework::TObject* obj, bool& translate)>;
using TLxRestrictPropertyEvent = std::function<void(
    TLxTranslator* translator, framework::TObject* obj, const std::string& name, bool& translate)>;

/// The mirroring state of one control, kept by its translator.
class TLxBidirectionalState : public framework::TObject {
  LX_CLASS(TLxBidirectionalState, framework::TObject)

 public:
  TLxBidirectionalState() = default;

  framework::TControl* Control = nullptr;
  bool Flipped = false;
  int NativeLeft = 0;
  TLxReadingOrder ReadingOrder = lxroLeftToRight;
};

class TLxTranslator : public lang::TLxCustomTranslator {
  LX_CLASS(TLxTranslator, lang::TLxCustomTranslator)

 public:
  explicit TLxTranslator(framework::TComponent* owner);
  /// Closes; the texts stay as last written.
  ~TLxTranslator() override;

  // ---- Published properties

  /// The reading order the form was designed in.
  TLxReadingOrder NativeLayout() const { return nativeLayout_; }
  void SetNativeLayout(TLxReadingOrder value) { nativeLayout_ = value; }
  /// The (class, property) pairs translated; setting copies the list.
  TLxTargetProperties* Targets() const { return targets_.get(); }
  void SetTargets(TLxTargetProperties* value);
  TLxCharsetChange CharsetChange() const { return charsetChange_; }
  void SetCharsetChange(TLxCharsetChange value) { charsetChange_ = value; }
  TLxTranslatorOptions Options() const { return options_; }
  void SetOptions(TLxTranslatorOptions value) { options_ = value; }
  /// Percentage by which far-east languages scale the root.
  int MultiByteScale() const { return multiByteScale_; }
  void SetMultiByteScale(int value) { multiByteScale_ = value; }

  /// After each component of a pass.
  TLxTranslateNotifyEvent OnTranslate;
  /// After the root was scaled or scaled back.
  TLxTranslateNotifyEvent OnScale;
  TLxRestrictComponentEvent OnRestrictComponent;
  TLxRestrictObjectEvent OnRestrictObject;
  TLxRestrictPropertyEvent OnRestrictProperty;

  // ---- State

  /// Falls back to word-only look-up even when the dictionary's lxdoUseFlatTranslation is off.
  bool FlatTranslation = false;
  /// The reading order of the dictionary's current language, worked out by each pass.
  TLxReadingOrder ReadingOrder() const;
  bool Scaled() const { return State().Contains(lang::lxtsScaled); }
  bool Mirrored() const { return State().Contains(lang::lxtsMirrored); }
  /// The component whose owned components are translated; null until opened.
  framework::TComponent* Root() const { return root_; }
  const TLxTranslatorTable& Table() const { return table_; }
  const std::string& SavedFontName() const;
  int SavedFontSize() const;
  const std::vector<std::unique_ptr<TLxBidirectionalState>>& BidiStates() const;
  /// The mirroring state of `control`; with `create` a new one (its Left as native, not
  /// flipped) when there is none, else null.
  TLxBidirectionalState* FindBidiState(framework::TControl* control, bool create);

  // ---- Life cycle

  /// The root's window when it is a windowed control with a window; else 0.
  platform::HWND GetWindowHandle() override;
  /// The translation pass over the root.
  void DoTranslate() override;
  /// Runs the pass again when active with lxtoAutoTranslate, then fires the events.
  void LanguageChanged(bool languageChanged, bool localeChanged) override;
  /// Binds (by name, else to the first registered dictionary), opens the dictionary,
  /// translates, and registers with it. Does nothing without a usable dictionary or targets;
  /// an active translator just runs the pass again.
  void Open() override;
  /// Leaves the dictionary, forgets the native texts and the root.
  void Close() override;
  /// Writes back every native text, then closes.
  void Revert() override;

  virtual framework::TComponent* GetRoot() const;
  /// Makes `root` the root and opens.
  virtual void TranslateRoot(framework::TComponent* root);
  virtual void TranslateForm(framework::TComponent* form);
  /// Translates into the dictionary's language 0 and closes; the dictionary stays there.
  virtual void TranslateToNative();

  // ---- The walk

  virtual void TranslateComponent(framework::TComponent* component, TLxRestrictions restrictions);
  virtual void TranslateObject(framework::TObject* obj, TLxRestrictions restrictions);
  /// A memo's text (after the modules' own translation of the component).
  virtual void TranslateControlText(framework::TComponent* control);
  /// Every line of `strings`, which `obj` holds as `propertyName`.
  void TranslateStrings(framework::TObject* obj, const std::string& name,
                        framework::TStrings* strings, const std::string& propertyName);

  // ---- Fonts, scaling and mirroring

  virtual void ChangeFormFont();
  virtual void MirrorControl(framework::TControl* control, TLxBidirectionalState* state);
  virtual void UnmirrorControl(framework::TControl* control, TLxBidirectionalState* state);
  /// Asks the modules to apply the reading order; the translator itself changes nothing.
  virtual bool ApplyReadingOrder(framework::TComponent* component);
  virtual void RealignControl(framework::TControl* control);
  virtual void RealignControls();

  // ---- One text

  /// The text to write for `value` found in `obj`'s property: its translation from the
  /// native text remembered for it, or, for a text met the first time, from `value` itself,
  /// which is then remembered.
  std::string TranslateValue(framework::TObject* obj, const std::string& name,
                             const std::string& value, const std::string& propertyName);
  /// The dictionary's text for a native text (the native text itself when unbound). A
  /// `nativeStripped` other than `native` (a menu item's text without its hot key) is looked
  /// up too where `native` is not found.
  std::string LookupTranslation(const std::string& native, const std::string& nativeStripped,
                                const std::string& componentName);
  /// `text` without hot-key markers ("&&" stays one "&", "(&F)" goes), and whether it had one.
  static TLxStrippedText StripHotkey(const std::string& text);
  /// Translates the standard items of the window's system menu from their English texts.
  void TranslateSystemMenu(platform::HWND handle);

 protected:
  /// Opens with lxtoAutoOpen once the owner has been loaded, when a dictionary may be found.
  void Loaded() override;
  void Notification(framework::TComponent* component, framework::TOperation operation) override;
  /// Stores the targets as "TargetsData".
  void DefineProperties(framework::TFiler& filer) override;

  // The steps that fonts, scaling and mirroring add to the walk and the pass. ChangeFont is
  // called for the fonts that may change: not for those of a control whose window does not
  // exist and cannot be made (lxccNormal), nor when the font step is off altogether.
  virtual void ChangeFont(framework::TObject* obj, framework::TFont* font,
                          TLxRestrictions restrictions);
  virtual void ApplyReadingOrderStep(framework::TComponent* component,
                                     TLxRestrictions restrictions);
  virtual void ApplyMultiByteScale();
  virtual void ApplyMirrorFlag();

 private:
  // Fonts, scaling and mirroring keep their state there and set the translator's flags.
  friend class TLxLayoutState;

  bool CanOpenDictionary();
  void ResolveDictionary();
  const TLxClassPlan& PlanOf(const framework::TObject& obj) const;
  bool Visit(framework::TObject* obj);
  bool LocalesTranslated() const;
  void TranslateProperty(framework::TObject* obj, const TLxClassPlan& plan,
                         const TLxPropertyStep& step, const std::string& name,
                         TLxRestrictions restrictions);
  void TranslateStringProperty(framework::TObject* obj, const framework::TPropInfo& property,
                               const std::string& name, bool isMenuItem);
  void TranslateObjectProperty(framework::TObject* obj, const TLxClassPlan& plan,
                               const TLxPropertyStep& step, const std::string& name,
                               TLxRestrictions restrictions);
  void TranslateStringList(framework::TObject* obj, framework::TStrings* strings,
                           const std::string& name, const std::string& propertyName);
  const std::string* TranslateText(framework::TObject* obj, const std::string& name,
                                   const std::string& value, const std::string& propertyName,
                                   bool isMenuItem, std::string& buffer);
  void Watch(framework::TComponent* holder);
  void Unwatch();

  TLxReadingOrder nativeLayout_ = lxroLeftToRight;
  std::unique_ptr<TLxTargetProperties> targets_;
  TLxCharsetChange charsetChange_ = lxccNormal;
  TLxTranslatorOptions options_ = kLxDefaultTranslatorOptions;
  int multiByteScale_ = 100;
  framework::TComponent* root_ = nullptr;
  TLxTranslatorTable table_;
  // Components outside the owner's tree that hold table items or are the root: their
  // destruction is heard through free notification.
  std::unordered_set<framework::TComponent*> watched_;
  // What the walk worked out per class for the targets in force, and the objects handled in
  // this pass.
  std::unique_ptr<TLxWalkCache> walk_;
  std::unique_ptr<TLxLayoutState> layout_;
  std::unique_ptr<TLxTextLookup> lookup_;
  std::unique_ptr<TLxFormMenus> menus_;
};

/// Registers TLxTranslator with the framework, so that stored forms holding one can be read.
void RegisterTranslatorClasses();

}  // namespace lx::translator
