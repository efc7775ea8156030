// TApplication: the program's application object.
//
// It owns the forms and data modules that CreateForm makes and frees them with itself; the
// first form it makes is the main form. Run shows the main form and carries out the actions
// posted to it, and returns once the application is terminated or no form is showing; headless
// (no message loop installed, see MessageLoop.h) it also returns when nothing is left to do. It
// returns at once when already terminated. Exceptions that
// reach it go to OnException when that is set, else to ShowException, a message box.
#pragma once

#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "framework/controls/Forms.h"
#include "platform/Menus.h"

namespace lx::framework {

using TExceptionEvent = std::function<void(TObject* sender, platform::Exception& e)>;

class TApplication : public TComponent {
  LX_CLASS(TApplication, TComponent)

 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  /// The executable's full path; the process's own unless set (hosts and tests set it).
  const std::string& ExeName() const { return exeName_; }
  void SetExeName(const std::string& value) { exeName_ = value; }
  /// The title; without one set, the executable's file name without its extension.
  std::string Title() const;
  void SetTitle(const std::string& value) { title_ = value; }
  const std::string& HelpFile() const { return helpFile_; }
  void SetHelpFile(const std::string& value) { helpFile_ = value; }
  /// The application's own hidden window, made on first use.
  platform::HWND Handle();
  bool HandleAllocated() const { return handle_ != 0; }

  TCustomForm* MainForm() const { return mainForm_; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool value) { showMainForm_ = value; }

  void Initialize() { initialized_ = true; }
  bool Initialized() const { return initialized_; }
  /// Makes a component of `instanceClass` owned by the application, hands it to
  /// `setReference` before it is set up, reads a form's or data module's form resources
  /// (LoadFormResource), fires its OnCreate, and makes the first form the main form. A failure
  /// frees the component, hands null to `setReference` and raises again.
  TComponent* CreateForm(const TClassInfo& instanceClass,
                         const std::function<void(TComponent*)>& setReference = {});
  template <typename T>
  void CreateForm(T*& reference) {
    CreateForm(T::StaticClassInfo(),
               [&reference](TComponent* instance) { reference = static_cast<T*>(instance); });
  }

  void Run();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  /// Carries out the actions posted so far, an exception in one going to HandleException,
  /// then frees the released forms. Once the application is terminated, actions are left.
  void ProcessMessages();
  /// One turn of the loop: the posted actions, then, with a message loop installed, a wait for
  /// input and its dispatch. False when headless and nothing was posted, so that nothing can
  /// ever happen by waiting.
  bool HandleMessage();
  /// Queues an action, as a message posted to the application.
  void Post(std::function<void()> action);

  /// Handles the exception being handled (call it in a catch block): OnException when set,
  /// else ShowException. Exceptions of other kinds are handled as an Exception with their text.
  TExceptionEvent OnException;
  void HandleException(TObject* sender);
  /// The message, with a full stop added unless it is empty or ends in one of the characters
  /// up to "." (such as "!" or "."), in a message box with the title and an error icon.
  void ShowException(const platform::Exception& e);

  /// The reading direction; every form whose ParentBiDiMode is set takes it over.
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode value);

  /// A message box over the application; see framework/controls/Dialogs.h.
  int MessageBox(const std::string& text, const std::string& caption, platform::UINT flags);

  /// Help requests, handed to the help manager with HelpFile; they raise EHelpSystemException
  /// when no viewer takes them, and answer true otherwise.
  bool HelpKeyword(const std::string& keyword);
  bool HelpContext(int context);
  bool HelpJump(const std::string& topic);
  bool HelpShowTableOfContents();

  /// A form goes: the main form is forgotten and a pending release dropped.
  void FormDestroyed(TCustomForm* form);
  void ReleaseForm(TCustomForm* form);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool AnyFormShowing() const;
  void FreeReleasedForms();
  void DispatchException(TObject* sender, platform::Exception& e);

  std::string exeName_;
  std::string title_;
  std::string helpFile_;
  platform::HWND handle_ = 0;
  TCustomForm* mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool initialized_ = false;
  bool terminated_ = false;
  TBiDiMode biDiMode_ = bdLeftToRight;
  std::deque<std::function<void()>> posted_;
  std::vector<TCustomForm*> released_;
};

/// The application object, made on first use.
TApplication& Application();
/// The application object when one exists, else null.
TApplication* ApplicationIfAny();
/// Frees the application object with the forms and data modules it owns; the next
/// Application() makes a new one. Programs call it at exit, tests between cases.
void DoneApplication();

}  // namespace lx::framework
