#pragma once
// A design window's catalogue core on screen: the "选择磁芯…" button after the unit of its Ae
// field, the choice beside the core's fields, and in place of the design check a tab widget
// with the design check and the loss and fit sheet of the design on that core. They show the
// form's CorePick as it stands and hand the user's actions to it; the window syncs them
// after every action.

#include <QTabWidget>
#include <QWidget>
#include <functional>

#include "forms/core_pick.h"
#include "forms/form_layout.h"

class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QScrollArea;

namespace tarnex::qt {

class FindingsList;

// The loss and fit sheet: its rows (label, value, unit) in columns, the temperature and fill
// factor it is worked out at, and its findings.
class LossSheetPane : public QWidget {
  Q_OBJECT

 public:
  // `changed` runs after the settings were handed to the pick.
  LossSheetPane(CorePick& pick, std::function<void()> changed, QWidget* parent);
  void showSheet();

  QDoubleSpinBox* temperature() const { return temperature_; }
  QDoubleSpinBox* fillFactor() const { return fill_; }
  // The rows shown, "label value unit" each.
  QStringList rowTexts() const;
  FindingsList* findings() const { return findings_; }

 private:
  void applySettings();

  CorePick& pick_;
  std::function<void()> changed_;
  QDoubleSpinBox* temperature_;
  QDoubleSpinBox* fill_;
  QScrollArea* rowsArea_;
  QWidget* rows_ = nullptr;
  QLabel* empty_;
  FindingsList* findings_;
  const magnetics::LossSheet* shown_ = nullptr;
  std::vector<magnetics::SheetRow> shownRows_;
};

class CoreViews : public QObject {
  Q_OBJECT

 public:
  // The widgets of `form`'s pick as children of `body`; `afterAction` runs after the user chose
  // a core or changed a setting of the sheet.
  CoreViews(Form& form, CorePick& pick, bool loop, QWidget* body,
            std::function<void()> afterAction);

  // Asks the layout plan for room beside the core's fields.
  void addTo(LayoutMetrics& m) const;
  void place(const FormLayout& plan);
  void sync();

  QPushButton* button() const { return button_; }
  QLabel* choice() const { return choice_; }
  QTabWidget* tabs() const { return tabs_; }
  LossSheetPane* sheet() const { return sheet_; }
  // Opens the picker; true when a core was chosen.
  bool openPicker();

 private:
  Form& form_;
  CorePick& pick_;
  bool loop_;
  std::function<void()> afterAction_;
  QPushButton* button_;
  QLabel* choice_;
  QTabWidget* tabs_;
  FindingsList* check_;
  LossSheetPane* sheet_;
};

}  // namespace tarnex::qt
