// The Qt half of the screen benchmark (`make bench-screen`): the window of bench/screen_form.py
// as a Qt Designer form compiled by uic, its texts from .qm files built by lrelease from the
// same translations. A switch installs a new QTranslator in place of the old one, which makes
// the window retranslate itself on QEvent::LanguageChange (retranslateUi, as Qt documents
// it); right to left is QApplication::setLayoutDirection.
//
//   screen_bench_qt QM_FOLDER
//
// Each time runs from the call that starts the work until the window has painted and flushed
// the frame that shows it, followed by a round trip to the X server. Prints one JSON line.
#include <xcb/xcb.h>

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ScreenReport.h"
#include "ui_ScreenForm.h"

namespace {

using lx::bench::NowMs;

enum TLanguage { kEnglish, kGerman, kFrench, kArabic };
const char* const kFiles[] = {"", "screen_de.qm", "screen_fr.qm", "screen_ar.qm"};
const char* const kTitles[] = {"Screen benchmark", "Bildschirmtest", "Banc d'essai",
                               "\xD8\xA7\xD8\xAE\xD8\xAA\xD8\xA8\xD8\xA7\xD8\xB1"};

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "screen_bench_qt: %s\n", why.c_str());
  std::exit(1);
}

class BenchWindow : public QMainWindow {
 public:
  BenchWindow() { ui_.setupUi(this); }
  int retranslations = 0;

 protected:
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::LanguageChange) {
      ui_.retranslateUi(this);
      ++retranslations;
    }
    QMainWindow::changeEvent(event);
  }

 private:
  Ui::BenchForm ui_;
};

// Counts the paint events of every widget.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Runs the loop until a pass of it has painted (Qt flushes what it painted to the window in
// the same pass), then waits for the X server to carry it out.
void WaitForFrame(const PaintCounter& counter) {
  const int before = counter.paints;
  const double start = NowMs();
  while (counter.paints == before) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 100);
    if (NowMs() - start > 20000) Fail("no frame was painted within 20 s");
  }
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) Fail("not on an X server");
  xcb_connection_t* connection = x11->connection();
  free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// The user's pause before a choice: the loop runs with nothing to do.
void Pause() {
  const double end = NowMs() + lx::bench::kPauseMs;
  for (double now = NowMs(); now < end; now = NowMs())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                    static_cast<int>(end - now) + 1);
}

class Bench {
 public:
  explicit Bench(std::string folder) : folder_(std::move(folder)) {
    qApp->installEventFilter(&counter_);
  }

  double FirstShow(TLanguage language) {
    const double start = NowMs();
    Install(language);
    window_ = std::make_unique<BenchWindow>();
    window_->show();
    WaitForFrame(counter_);
    const double time = NowMs() - start;
    Expect(language);
    return time;
  }

  double Switch(TLanguage language) {
    Pause();
    const double start = NowMs();
    const Qt::LayoutDirection direction = language == kArabic ? Qt::RightToLeft : Qt::LeftToRight;
    if (QApplication::layoutDirection() != direction) QApplication::setLayoutDirection(direction);
    Install(language);
    WaitForFrame(counter_);
    const double time = NowMs() - start;
    Expect(language);
    return time;
  }

 private:
  void Install(TLanguage language) {
    auto translator = std::make_unique<QTranslator>();
    const std::string file = folder_ + "/" + kFiles[language];
    if (!translator->load(QString::fromStdString(file))) Fail("cannot load " + file);
    if (translator_) QCoreApplication::removeTranslator(translator_.get());
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
  }

  void Expect(TLanguage language) {
    if (window_->windowTitle().toStdString() != kTitles[language])
      Fail("the window shows \"" + window_->windowTitle().toStdString() + "\" instead of \"" +
           kTitles[language] + "\"");
  }

  std::string folder_;
  PaintCounter counter_;
  std::unique_ptr<QTranslator> translator_;
  std::unique_ptr<BenchWindow> window_;

 public:
  int Retranslations() const { return window_->retranslations; }
  unsigned long WindowId() const { return window_->winId(); }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: screen_bench_qt QM_FOLDER\n");
    return 2;
  }
  QApplication application(argc, argv);
  lx::bench::TScreenReport report;
  report.program = "qt";
  {
    Bench bench(argv[1]);
    report.firstShow = bench.FirstShow(kGerman);
    for (int round = 0; round < lx::bench::kRounds; ++round) {
      report.ltr.push_back(bench.Switch(kFrench));
      report.rtl.push_back(bench.Switch(kArabic));
      report.back.push_back(bench.Switch(kGerman));
    }
    // One retranslation per switch: Qt folds the removal's and the installation's events.
    if (bench.Retranslations() != 3 * lx::bench::kRounds)
      std::fprintf(stderr, "screen_bench_qt: %d retranslations for %d switches\n",
                   bench.Retranslations(), 3 * lx::bench::kRounds);
    report.residentMegabytes = lx::bench::ResidentMegabytes();
    report.pixmapMegabytes = lx::bench::PixmapMegabytes(bench.WindowId());
  }
  lx::bench::Print(report);
  return 0;
}
