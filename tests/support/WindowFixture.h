#pragma once
// A fresh window per test over an empty settings store of its own, with the save dialog and
// message boxes answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "CurrentUserRegistry.h"
#include "DialogHost.h"
#include "LutTable.h"
#include "PalettorForm.h"
#include "RegistryVariables.h"
#include "SqliteRegistryStore.h"
#include "WindowWaits.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace palettor::test {

class ScriptedDialogs final : public IDialogHost {
 public:
  // Each Save As takes the next answer: a file name, or nullopt for Cancel.
  std::deque<std::optional<QString>> answers;
  int dialogsShown = 0;
  TSaveDialog lastShown;
  QStringList messages;
  QStringList errors;
  // Open dialogs and text prompts take the next of theirs the same way; questions are answered
  // with the next of `confirms` (No when there is none).
  std::deque<std::optional<QString>> openAnswers;
  std::deque<std::optional<QString>> promptAnswers;
  std::deque<bool> confirms;
  QStringList questions;
  // Choices take the next of `choices` (-1, the box closed, when there is none), after
  // `onChoice` has run (what the user did before answering).
  std::deque<int> choices;
  QStringList choicesShown;
  std::function<void()> onChoice;
  // Lists to choose from take the next of `itemAnswers`: an index, or nullopt for Cancel.
  std::deque<std::optional<int>> itemAnswers;
  QList<QStringList> itemListsShown;

  bool ExecuteSaveDialog(QWidget*, TSaveDialog& dialog) override {
    ++dialogsShown;
    lastShown = dialog;
    if (answers.empty()) return false;
    const std::optional<QString> answer = answers.front();
    answers.pop_front();
    if (!answer) return false;
    dialog.FileName = *answer;
    return true;
  }
  QList<TOpenDialog> openShown;
  void ShowMessage(QWidget*, const QString& text) override { messages << text; }
  void ShowError(QWidget*, const QString& text) override { errors << text; }
  bool ExecuteOpenDialog(QWidget*, TOpenDialog& dialog) override {
    openShown << dialog;
    return Next(openAnswers, dialog.FileName);
  }
  bool PromptText(QWidget*, const QString&, const QString&, QString& text) override {
    return Next(promptAnswers, text);
  }
  bool Confirm(QWidget*, const QString& text) override {
    questions << text;
    if (confirms.empty()) return false;
    const bool yes = confirms.front();
    confirms.pop_front();
    return yes;
  }
  int Choose(QWidget*, const QString& text, const QStringList&) override {
    choicesShown << text;
    if (onChoice) onChoice();
    if (choices.empty()) return -1;
    const int chosen = choices.front();
    choices.pop_front();
    return chosen;
  }
  bool ChooseItem(QWidget*, const QString&, const QString&, const QStringList& items, int& chosen) override {
    itemListsShown << items;
    if (itemAnswers.empty()) return false;
    const std::optional<int> answer = itemAnswers.front();
    itemAnswers.pop_front();
    if (!answer) return false;
    chosen = *answer;
    return true;
  }

 private:
  static bool Next(std::deque<std::optional<QString>>& queue, QString& out) {
    if (queue.empty()) return false;
    const std::optional<QString> answer = queue.front();
    queue.pop_front();
    if (!answer) return false;
    out = *answer;
    return true;
  }
};

// A settings store in a temporary folder, opened as the program's main does, for a running
// program named "Palettor".
class TemporaryStore {
 public:
  TemporaryStore() : old_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    store_ = std::make_unique<SqliteRegistryStore>(RegistryStorePath());
    registry_ = std::make_unique<CurrentUserRegistry>(*store_, ProgramPath());
  }
  ~TemporaryStore() {
    registry_.reset();
    store_.reset();
    qputenv("XDG_CONFIG_HOME", old_);
  }
  QString Path() const { return dir_.path(); }
  SqliteRegistryStore& Store() { return *store_; }
  // The store as the program hands it to the window.
  const CurrentUserRegistry& Registry() const { return *registry_; }
  // Registers a viewer installed at `exe`, as the viewer does itself when it starts.
  void RegisterViewer(const QString& exe) { RegisterAppPath(CurrentUserRegistry(*store_, exe.toStdString())); }

 private:
  std::string ProgramPath() const { return (dir_.path() + QStringLiteral("/bin/Palettor")).toStdString(); }

  QTemporaryDir dir_;
  QByteArray old_;
  std::unique_ptr<SqliteRegistryStore> store_;
  std::unique_ptr<CurrentUserRegistry> registry_;
};

class WindowTest : public testing::Test {
 protected:
  void TearDown() override { CloseWindow(); }

  // A window over the test's store, or over `registry` when one is given.
  TFormPalettor& Open(const CurrentUserRegistry* registry = nullptr) {
    form_ = std::make_unique<TFormPalettor>(registry ? *registry : store_.Registry(), &dialogs_);
    form_->show();
    EXPECT_TRUE(WaitUntilExposed(form_.get()));
    // Keyboard input and menu mnemonics need the active window; without a window manager
    // (a bare X server) nobody else activates it.
    form_->activateWindow();
    EXPECT_TRUE(WaitUntilActive(form_.get()));
    return *form_;
  }
  // Closes through the close box path and destroys the window, which stores the settings.
  void CloseWindow() {
    if (!form_) return;
    form_->close();
    form_.reset();
  }
  TFormPalettor& Form() { return *form_; }

  void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }
  // Selects the whole text of an edit box by keyboard and types over it.
  void TypeInto(QWidget* edit, const QString& text) {
    Click(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
      QTest::keyClick(edit, Qt::Key_Delete);
    } else {
      QTest::keyClicks(edit, text);
    }
  }

  // The window as it is on screen.
  QImage Screen() { return form_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  // The table as the window shows it, read back at the first of each column's three screen
  // pixels; also checks that all three agree.
  void ExpectShownTableEquals(const LutPixels& expected) {
    const QImage screen = Screen();
    const QPoint origin = Form().ImageLUT->mapTo(form_.get(), QPoint(0, 0));
    int mismatches = 0;
    for (int y = 0; y < kTableHeight && mismatches < 5; ++y) {
      for (int x = 0; x < kTableWidth * 3 && mismatches < 5; ++x) {
        const PackedColour want = expected[static_cast<std::size_t>(y * kTableWidth + x / 3)];
        const PackedColour got = FromQColor(QColor(screen.pixel(origin.x() + x, origin.y() + y)));
        if (got != want) {
          ++mismatches;
          ADD_FAILURE() << "screen pixel (" << x << ", " << y << ") of column " << x / 3 << ": shown 0x" << std::hex
                        << got << ", table 0x" << want << std::dec;
        }
      }
    }
  }

  TemporaryStore store_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<TFormPalettor> form_;
};

// One window shared by the read-only checks of a test suite: opening and closing a window
// goes through the settings store each time, which is not free.
class SharedWindow {
 public:
  static TFormPalettor& Get() {
    if (!instance_) instance_ = new SharedWindow;
    return *instance_->form_;
  }
  static void Release() {
    delete instance_;
    instance_ = nullptr;
  }

 private:
  SharedWindow() : form_(std::make_unique<TFormPalettor>(store_.Registry(), &dialogs_)) {
    form_->show();
    EXPECT_TRUE(WaitUntilExposed(form_.get()));
  }
  TemporaryStore store_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<TFormPalettor> form_;
  static inline SharedWindow* instance_ = nullptr;
};

inline std::unique_ptr<LutPixels> Table(const TableInputs& inputs) {
  auto pixels = std::make_unique<LutPixels>();
  GenerateTable(inputs, *pixels);
  return pixels;
}

}  // namespace palettor::test
