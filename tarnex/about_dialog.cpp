#include "about_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "drawings.h"
#include "ui_metrics.h"

namespace tarnex::qt {

AboutDialog::AboutDialog(QWidget* over)
    : QDialog(over, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint) {
  const DialogUnits du = unitsForDialogFont(9);
  setFont(dialogFont(9));
  setWindowTitle(QStringLiteral("关于 Tarnex V3.2"));
  setFixedSize(du.size(287, 105));

  auto* frame = new QGroupBox(QStringLiteral("Tarnex V3.2 Programmable"), this);
  frame->setGeometry(du.rect(7, 7, 270, 70));

  auto* icon = new QLabel(this);
  icon->setPixmap(programIcon().pixmap(32, 32));
  icon->setGeometry(QRect(du.point(19, 21), QSize(32, 32)));

  auto* line = new QLabel(QStringLiteral("Data:2011年2月9日    Build:110209"), this);
  line->move(du.point(51, 35));
  line->adjustSize();

  // The catalogue of cores, ferrites and wires is open data under its own licence.
  auto* source = new QLabel(QStringLiteral("磁芯数据：OpenMagnetics MAS，Apache License 2.0，\n"
                                           "见 resources/magnetics/SOURCE.md"),
                            this);
  source->move(du.point(51, 49));
  source->adjustSize();

  auto* ok = new QPushButton(QStringLiteral("确定"), this);
  ok->setGeometry(du.rect(118, 81, 50, 17));
  ok->setDefault(true);
  ok->setFocus();
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QWidget* owner = parentWidget()) {
    move(owner->window()->frameGeometry().center() - rect().center());
  }
}

}  // namespace tarnex::qt
