#include "core_picker_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

constexpr const char* kAll = "全部";
// Fits a screen of 1366×768 with its frame; the table scrolls.
constexpr QSize kSize{860, 560};

// What the window's fields ask of a core, in the units of the table.
QString needText(const CoreNeed& need) {
  QString text;
  switch (need.kind) {
    case CoreNeed::Kind::None:
      text = QStringLiteral("窗口没有（或尚未算出）磁芯估算，下表列出全部磁芯。");
      break;
    case CoreNeed::Kind::AreaProduct:
      text = QStringLiteral("窗口的估算：面积积 AP = Ae·Aw ≥ %1 mm⁴。")
                 .arg(readableNumber(need.value * 1e12));
      break;
    case CoreNeed::Kind::Volume:
      text = QStringLiteral("窗口的估算：体积 Ve = Ae·le ≥ %1 mm³。")
                 .arg(readableNumber(need.value * 1e9));
      break;
  }
  if (need.inductance > 0 && need.turns > 0) {
    text +=
        QStringLiteral("AL 为 %1 匝得 %2 µH 所需的值；“磨气隙”计入边缘磁通，照它研磨才得此 AL。")
            .arg(readableNumber(need.turns), readableNumber(need.inductance * 1e6));
    if (need.windowGap > 0) {
      text +=
          QStringLiteral("窗口的气隙长度 %1 mm 按窗口当前的 Ae、Le 算出，未计边缘磁通，故较短。")
              .arg(QString::number(need.windowGap * 1e3, 'f', 3));
    }
  } else {
    text += QStringLiteral("AL 为不开气隙的值。");
  }
  return text;
}

// The family as the makers' catalogues head it: the shape's letters, with a word for the
// families whose letters say little.
QString familyName(const std::string& key) {
  if (key == "planarE") return QStringLiteral("E 平面");
  if (key == "p") return QStringLiteral("P 罐形");
  if (key == "t") return QStringLiteral("T 磁环");
  return toQString(key).toUpper();
}

}  // namespace

CorePickerDialog::CorePickerDialog(CorePick& pick, const CoreNeed& need, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      pick_(pick),
      need_(need) {
  setWindowTitle(QStringLiteral("选择磁芯"));
  setFont(dialogFont(9));
  setModal(true);
  resize(kSize);

  family_ = new QComboBox(this);
  family_->addItem(toQString(kAll));
  for (const std::string& f : magnetics::families()) {
    family_->addItem(familyName(f), toQString(f));
  }
  maker_ = new QComboBox(this);
  maker_->addItem(toQString(kAll));
  QStringList makers;
  for (const magnetics::Material& m : magnetics::materials()) {
    if (!makers.contains(toQString(m.maker))) makers << toQString(m.maker);
  }
  maker_->addItems(makers);
  material_ = new QComboBox(this);
  material_->setMinimumContentsLength(12);
  meeting_ = new QCheckBox(QStringLiteral("只列出满足估算的磁芯"), this);
  meeting_->setEnabled(need_.kind != CoreNeed::Kind::None);
  meeting_->setChecked(meeting_->isEnabled());

  auto* lists = new QHBoxLayout;
  for (auto [caption, list] :
       {std::pair{"系列", family_}, std::pair{"厂家", maker_}, std::pair{"材料", material_}}) {
    auto* label = new QLabel(toQString(caption), this);
    label->setBuddy(list);
    lists->addWidget(label);
    lists->addWidget(list);
    lists->addSpacing(12);
  }
  lists->addWidget(meeting_);
  lists->addStretch();

  auto* needLine = new QLabel(needText(need_), this);
  needLine->setWordWrap(true);

  table_ = new QTableWidget(this);
  table_->setColumnCount(8);
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("名称"), QStringLiteral("Ae mm²"), QStringLiteral("le mm"),
       QStringLiteral("Ve mm³"), QStringLiteral("Aw mm²"), QStringLiteral("AP mm⁴"),
       QStringLiteral("AL nH"), QStringLiteral("磨气隙 mm\n（含边缘磁通）")});
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  count_ = new QLabel(this);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  ok_->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists);
  layout->addWidget(needLine);
  layout->addWidget(table_, 1);
  auto* foot = new QHBoxLayout;
  foot->addWidget(count_, 1);
  foot->addWidget(buttons);
  layout->addLayout(foot);

  // The ferrite of the window's choice, if any, among the first maker's otherwise.
  if (const magnetics::Material* chosen = pick_.material()) {
    maker_->setCurrentIndex(std::max(0, maker_->findText(toQString(chosen->maker))));
  }
  fillMaterials();
  if (const magnetics::Material* chosen = pick_.material()) {
    material_->setCurrentIndex(std::max(0, material_->findText(toQString(chosen->name))));
  }
  fillRows();

  connect(family_, &QComboBox::activated, this, [this] { fillRows(); });
  connect(maker_, &QComboBox::activated, this, [this] {
    fillMaterials();
    fillRows();
  });
  connect(material_, &QComboBox::activated, this, [this] { fillRows(); });
  connect(meeting_, &QCheckBox::toggled, this, [this] { fillRows(); });
  connect(table_, &QTableWidget::itemSelectionChanged, this,
          [this] { ok_->setEnabled(!table_->selectedItems().isEmpty()); });
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { choose(); });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] { choose(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

const magnetics::Material* CorePickerDialog::material() const {
  const int i = material_->currentIndex();
  return i >= 0 && i < static_cast<int>(materialList_.size()) ? materialList_[i] : nullptr;
}

void CorePickerDialog::fillMaterials() {
  const std::string maker = maker_->currentIndex() > 0 ? toUtf8(maker_->currentText()) : "";
  materialList_ = magnetics::materialsBy(maker);
  material_->clear();
  for (const magnetics::Material* m : materialList_) {
    material_->addItem(toQString(m->name) + QStringLiteral("  (") + toQString(m->maker) +
                       QStringLiteral(")"));
  }
}

void CorePickerDialog::fillRows() {
  const magnetics::Material* ferrite = material();
  rows_.clear();
  if (ferrite != nullptr) {
    CorePickFilter filter;
    filter.family = toUtf8(family_->currentData().toString());
    filter.onlyMeetingNeed = meeting_->isChecked();
    rows_ = pick_.rows(filter, *ferrite, need_);
  }
  const bool gapped = need_.inductance > 0 && need_.turns > 0;
  const QColor short_ = palette().color(QPalette::Disabled, QPalette::Text);
  table_->setRowCount(0);
  table_->setRowCount(static_cast<int>(rows_.size()));
  int previous = -1, firstMeeting = -1;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const CorePickRow& r = rows_[i];
    const QString cells[] = {
        toQString(r.name),
        readableNumber(r.Ae),
        readableNumber(r.le),
        readableNumber(r.Ve),
        readableNumber(r.Aw),
        readableNumber(r.areaProduct),
        readableNumber(r.AL),
        gapped && r.alReached ? QString::number(r.gap, 'f', 3) : QStringLiteral("—")};
    const int row = static_cast<int>(i);
    for (int column = 0; column < 8; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                         : Qt::AlignRight | Qt::AlignVCenter);
      // A core short of the estimate, listed when the filter is off, stands greyed.
      if (!r.meetsNeed) item->setForeground(short_);
      table_->setItem(row, column, item);
    }
    if (r.core != nullptr && r.core == pick_.core()) previous = row;
    if (firstMeeting < 0 && r.meetsNeed && need_.kind != CoreNeed::Kind::None) firstMeeting = row;
  }
  const int selected = previous >= 0 ? previous : firstMeeting;
  if (selected >= 0) {
    table_->setCurrentCell(selected, 0);
    table_->scrollToItem(table_->item(selected, 0), QAbstractItemView::PositionAtCenter);
  } else {
    table_->clearSelection();
  }
  ok_->setEnabled(selected >= 0);
  count_->setText(QStringLiteral("共 %1 个磁芯").arg(rows_.size()));
}

void CorePickerDialog::choose() {
  const int row = table_->currentRow();
  const magnetics::Material* ferrite = material();
  if (table_->selectedItems().isEmpty() || row < 0 || row >= static_cast<int>(rows_.size()) ||
      ferrite == nullptr) {
    return;
  }
  pick_.choose(*rows_[static_cast<std::size_t>(row)].core, *ferrite);
  accept();
}

}  // namespace tarnex::qt
