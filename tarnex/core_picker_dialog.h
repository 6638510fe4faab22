#pragma once
// The picker of a catalogue core for a design window: the shape family, the ferrite's maker
// and the ferrite, the cores of the catalogue as rows (smallest first) in the window's units
// with the AL and gap the design needs on that ferrite, optionally only those that reach the
// window's estimate. 确定 hands the chosen core and ferrite to the window's CorePick, which
// fills the fields; the dialog itself works nothing out.

#include <QDialog>
#include <vector>

#include "forms/core_pick.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tarnex::qt {

class CorePickerDialog : public QDialog {
  Q_OBJECT

 public:
  CorePickerDialog(CorePick& pick, const CoreNeed& need, QWidget* parent);

  QComboBox* families() const { return family_; }
  QComboBox* makers() const { return maker_; }
  QComboBox* materials() const { return material_; }
  QCheckBox* onlyMeetingNeed() const { return meeting_; }
  QTableWidget* table() const { return table_; }
  QPushButton* okButton() const { return ok_; }
  // The rows the table shows, in its order.
  const std::vector<CorePickRow>& rows() const { return rows_; }

  // The ferrite the lists show now, or nullptr.
  const magnetics::Material* material() const;

 private:
  void fillMaterials();
  // Lists the rows for the lists and the check box as they stand, the previous core (or the
  // smallest one that reaches the estimate) selected.
  void fillRows();
  void choose();

  CorePick& pick_;
  CoreNeed need_;
  std::vector<const magnetics::Material*> materialList_;
  std::vector<CorePickRow> rows_;
  QComboBox* family_;
  QComboBox* maker_;
  QComboBox* material_;
  QCheckBox* meeting_;
  QLabel* count_;
  QTableWidget* table_;
  QPushButton* ok_;
};

}  // namespace tarnex::qt
