// The main window on screen: one widget for every named control of the
// window, placed by the geometry of ui/qt/Layout.  The window keeps no
// station value of its own: it forwards every user action to the window
// logic through the handler table and then mirrors the control board.
#pragma once

#include <QMainWindow>
#include <map>
#include <string>
#include <string_view>

#include "ui/ControlBoard.h"
#include "ui/Handlers.h"

class QScrollArea;
class QLabel;

namespace korrin {

class AssessmentWindow;
class MoonWindow;
class TForm1;
class KeyboardAccess;
struct ControlDecl;

class MainWindow : public QMainWindow {  // the view of one TForm1; does not own it
  Q_OBJECT
 public:
  explicit MainWindow(TForm1& form, QWidget* parent = nullptr);
  ~MainWindow() override;

  void SyncFromBoard();    // mirror the whole board and the title into the widgets
  QWidget* ClientPanel();  // Panel1, the 790 x 541 client area that is printed / grabbed

  // The widget of a named control (its object name is the control's name),
  // nullptr for a name the window does not have.
  QWidget* ControlWidget(std::string_view name) const;

  // Whether showing or activating the window activates the form, whose
  // first activation runs its start-up.  On by default; the pictures of the
  // headless report show the form as it stands.
  void SetActivatesForm(bool on) { activatesForm_ = on; }

  TForm1& Form() { return form_; }

  // Runs the handler of that name as a click on its control would; false
  // when the window logic has no handler of that name.
  bool RunHandler(std::string_view name);

  // Shows the assessment window beside this one (made on first use).
  void ShowAssessment();
  AssessmentWindow* Assessment() const { return assessment_; }
  // Shows the Moon window beside this one (made on first use).
  void ShowMoon();
  MoonWindow* Moon() const { return moon_; }

 signals:
  // The widgets show the board anew (after every handler and activation).
  void boardSynced();

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;
  // The desktop's close asks the form first, as the Close button does.
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Entry {
    ControlKind kind = ControlKind::Panel;
    QWidget* widget = nullptr;
    QLabel* title = nullptr;  // the caption of a group panel that shows one
    bool container = false;
    Control shown;  // what the widget shows now
    bool synced = false;
  };

  void Build();
  QWidget* Create(const ControlDecl& def, QWidget* parent, bool container);
  void AddDecorations(const std::string& parent, QWidget* widget);
  void Connect(const ControlDecl& def, QWidget* widget);
  void Apply(const std::string& name, Entry& e, const Control& c);
  void ApplyColours(Entry& e, const Control& c);
  void Run(const HandlerEntry* handler);
  void Activate();
  void PressEscape();

  TForm1& form_;
  QScrollArea* scroll_ = nullptr;
  QWidget* client_ = nullptr;
  KeyboardAccess* keyboard_ = nullptr;  // owned by the client panel
  std::map<std::string, Entry, std::less<>> entries_;
  bool syncing_ = false;
  bool running_ = false;
  bool activatesForm_ = true;
  AssessmentWindow* assessment_ = nullptr;  // a child window, made on first use
  MoonWindow* moon_ = nullptr;              // a child window, made on first use
};

}  // namespace korrin
